#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <utility>

#include "frame_pacer.h"
#include "runtime_error.h"
#include "timer.h"

class QMessageBox;
class QWidget;

namespace moxel::ui {

// What the old desktop runtime did for every window of one program: how its
// timers keep time, when changes reach the screen, how a run-time error reaches
// the player, and the end of the program. main() makes one from the command
// line and hands it to the windows; a window made without one gets its own.
class Runtime : public QObject {
    Q_OBJECT

public:
    struct Options {
        // Each timer ticks every interval rounded up to a multiple of this. The
        // classic 10 ms is the pace the score table was made for.
        int timerResolutionMs = kClassicResolutionMs;
        // Off gives each timer a QTimer of its own and shows every change at
        // once, one repaint per tick, as a plain Qt program does (for comparison).
        bool frameClock = true;
    };
    static constexpr int kClassicResolutionMs = 10;
    static constexpr int kPreciseResolutionMs = 1;

    explicit Runtime(Options options);
    Runtime() : Runtime(Options{}) {}
    ~Runtime() override;

    const Options& options() const { return options_; }
    FramePacer& framePacer() { return pacer_; }

    // Ends the program at once: no handler runs after this, and the event loop
    // returns 0 (also if it has not started yet).
    void end();
    bool hasEnded() const { return ended_; }
    // Where the event loop never returns (in a browser), the platform ends
    // the program its own way, after the handler that ended it.
    void endProgramBy(std::function<void()> ending) { ending_ = std::move(ending); }

    // Shows the player the error that stopped a handler, in the window named
    // "RuntimeError"; the game goes on.
    void reportError(QWidget* window, const RuntimeError& error);

    // Input comes after every tick that fell due before it.
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Runs one event handler: a run-time error abandons the rest of it, is
    // reported, and never reaches Qt's event loop. After the end nothing runs.
    template <typename Body>
    void run(QWidget* window, Body&& body) {
        if (ended_)
            return;
        try {
            std::forward<Body>(body)();
        } catch (const RuntimeError& error) {
            reportError(window, error);
        }
    }

signals:
    // The player closed the error window (its button or its frame).
    void errorDismissed();

private:
    Options options_;
    FramePacer pacer_;
    bool ended_ = false;
    std::function<void()> ending_;
    // One error window at a time: a repeating error updates it.
    QPointer<QMessageBox> errorBox_;
};

}  // namespace moxel::ui

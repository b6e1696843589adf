#pragma once

#include <QObject>
#include <QTimer>
#include <memory>

namespace moxel::ui {

class FramePacer;
class Runtime;

// An interval timer control: ticks every `Interval` milliseconds, rounded up to
// a multiple of its runtime's timer resolution, while `Enabled`. The ticks fall
// on the runtime's one clock and keep their exact pace; see FramePacer.
class Timer : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(int Interval READ Interval WRITE setInterval)

public:
    Timer(Runtime& runtime, QObject* parent, const char* name, int interval, bool enabled);
    ~Timer() override;

    bool Enabled() const { return enabled_; }
    // Enabling a running timer leaves its countdown alone; a tick due when the
    // timer is disabled is dropped.
    void setEnabled(bool enabled);
    // As set, whatever the resolution makes of it.
    int Interval() const { return interval_; }
    // A new interval takes effect at once; 0 or less means no ticks.
    void setInterval(int milliseconds);

signals:
    void tick();

private:
    friend class FramePacer;

    void arm();
    // One tick's handlers; not inlined, so a profile can count them.
    [[gnu::noinline]] void runTick();

    FramePacer* pacer_;  // null once the pacer is gone
    const int resolutionMs_;
    // Where the runtime has no frame clock, a QTimer of the timer's own.
    std::unique_ptr<QTimer> ownTimer_;
    int interval_;
    bool enabled_;
};

}  // namespace moxel::ui

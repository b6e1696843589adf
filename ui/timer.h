#pragma once

#include <QObject>
#include <memory>

namespace moxel::ui {

class TickSource;

// An interval timer control: ticks every `Interval` milliseconds while `Enabled`.
// A late tick is one tick; missed ones are not made up.
class Timer : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(int Interval READ Interval WRITE setInterval)

public:
    // Native keeps 1 ms intervals on Linux (timerfd); QtTimer is QTimer's own
    // precise timer, which rounds every wait up and so falls short at 1 ms.
    enum class Backend { Native, QtTimer };

    Timer(QObject* parent, const char* name, int interval, bool enabled);
    ~Timer() override;

    bool Enabled() const { return enabled_; }
    // Enabling a running timer leaves its countdown alone.
    void setEnabled(bool enabled);
    int Interval() const { return interval_; }
    // A new interval takes effect at once; 0 or less means no ticks.
    void setInterval(int milliseconds);

    // The backend for timers created from now on.
    static void setBackend(Backend backend);
    // True while some timer's tick is being handled.
    static bool isDispatching() { return dispatchDepth_ > 0; }

signals:
    void tick();

private:
    void arm();
    void fire();

    std::unique_ptr<TickSource> source_;
    int interval_;
    bool enabled_;
    static inline int dispatchDepth_ = 0;
};

}  // namespace moxel::ui

#pragma once

#include <QObject>
#include <memory>

#include "tick_source.h"

namespace moxel::ui {

class Runtime;

// An interval timer control: ticks every `Interval` milliseconds, rounded up to
// a multiple of its runtime's timer resolution, while `Enabled`. A late tick is
// one tick; missed ones are not made up.
class Timer : public QObject {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE setEnabled)
    Q_PROPERTY(int Interval READ Interval WRITE setInterval)

public:
    using Backend = TickSource::Backend;

    Timer(Runtime& runtime, QObject* parent, const char* name, int interval, bool enabled);
    ~Timer() override;

    bool Enabled() const { return enabled_; }
    // Enabling a running timer leaves its countdown alone.
    void setEnabled(bool enabled);
    // As set, whatever the resolution makes of it.
    int Interval() const { return interval_; }
    // A new interval takes effect at once; 0 or less means no ticks.
    void setInterval(int milliseconds);

signals:
    void tick();

private:
    void arm();
    void fire();

    Runtime& runtime_;
    std::unique_ptr<TickSource> source_;
    int interval_;
    bool enabled_;
};

}  // namespace moxel::ui

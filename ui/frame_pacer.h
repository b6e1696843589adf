#pragma once

#include <QObject>
#include <QTimer>
#include <vector>

namespace moxel::ui {

// Something whose widget shows a value that ticks may change.
class Presentable {
public:
    // Makes the widget show the current values.
    virtual void present() = 0;

protected:
    ~Presentable();

private:
    friend class FramePacer;
    bool pending_ = false;
};

// Ticks change positions and texts up to a thousand times a second, but a screen
// shows only 60 to 144 frames. So what a tick changes is held back and shown at
// the next display frame, all at once; any other change is shown at once. A
// control's widget is thus always where it was last drawn, so a click hits what
// the player sees, while the control's properties give the current values.
class FramePacer : public QObject {
public:
    static FramePacer& instance();

    void show(Presentable& item);
    void forget(Presentable& item);

    // Off shows every change at once, one repaint per tick (for comparison).
    static void setEnabled(bool enabled) { enabled_ = enabled; }

private:
    explicit FramePacer(QObject* parent);
    void showPending();
    static int framePeriodMs();

    QTimer frame_;
    std::vector<Presentable*> pending_;
    static inline bool enabled_ = true;
};

}  // namespace moxel::ui

#pragma once

#include <QApplication>
#include <QMainWindow>
#include <QTest>
#include <QWindow>
#include <chrono>
#include <optional>

#include "Form10.h"
#include "Form11.h"

namespace moxel::ui::testing {

// Window-coordinate point of a client-area position given in twips.
inline QPoint windowPoint(const QMainWindow& form, QPointF twips) {
    const QPoint pixels = (twips / kTwipsPerPixel).toPoint();
    return form.centralWidget()->mapTo(&form, pixels);
}

// A point inside a control, `fraction` of the way across and down.
template <class Control>
QPoint pointIn(const Control& control, qreal fx = 0.5, qreal fy = 0.5) {
    const QRect box = control.geometry();
    return control.parentWidget()->mapTo(
        control.window(), box.topLeft() + QPoint(int(box.width() * fx), int(box.height() * fy)));
}

inline void click(QWidget& window, QPoint point) {
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, point);
}

inline void move(QWidget& window, QPoint point) {
    QTest::mouseMove(window.windowHandle(), point);
}

// Every score window that exists, shown or not, not yet on its way out.
inline QList<Form11*> scoreWindows() {
    QList<Form11*> found;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* form = qobject_cast<Form11*>(widget))
            found.append(form);
    }
    return found;
}

// Freezes the real timers so a test can tick the handlers itself.
inline void freezeTimers(Form10& form) {
    form.Timer1->setEnabled(false);
    form.Timer3->setEnabled(false);
}

// Runs the load step and waits until the window is on the screen.
inline Form10& loaded(Form10& form) {
    form.Form_Load();
    if (!QTest::qWaitForWindowExposed(&form))
        qFatal("main window not exposed");
    return form;
}

// The first game started and its timers frozen.
inline Form10& started(Form10& form) {
    loaded(form).Command1_Click();
    freezeTimers(form);
    return form;
}

// Drops the offscreen platform's notes that it cannot raise windows; everything
// else reaches the test log as before.
inline void quietOffscreenNotes() {
    static QtMessageHandler previous = nullptr;
    previous = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& message) {
            if (message.startsWith(QLatin1String("This plugin does not support")))
                return;
            if (previous)
                previous(type, context, message);
        });
}

// A runtime's one clock in the test's hands: time moves only when the test
// moves it, and a frame runs only when the test runs it, so what a test sees
// never depends on how busy the machine is.
class HandClock {
public:
    using Clock = FramePacer::Clock;
    using nanoseconds = std::chrono::nanoseconds;

    explicit HandClock(FramePacer& pacer) : pacer_(pacer) {
        pacer.setTimeSource({[this] { return now_; },
                             [this](Clock::time_point when) {
                                 wake_ = when;
                                 ++wakeUps_;
                             }});
    }
    explicit HandClock(Form10& form) : HandClock(form.runtime().framePacer()) {}

    Clock::time_point now() const { return now_; }
    // The frame the pacer waits for, if any.
    std::optional<Clock::time_point> wake() const { return wake_; }
    // How often the pacer has asked to be woken.
    int wakeUps() const { return wakeUps_; }

    void advance(nanoseconds by) { now_ += by; }
    // Moves on to the frame the pacer waits for, `late` after it, and runs it.
    void nextFrame(nanoseconds late = {}) {
        QVERIFY2(wake_, "the pacer waits for no frame");
        now_ = std::max(now_, *wake_ + late);
        wake_.reset();
        pacer_.frame();
    }
    // Runs each frame the pacer waits for until `span` has passed, and then
    // the ticks due by its end, as input at that moment would.
    void runFor(nanoseconds span) {
        const Clock::time_point until = now_ + span;
        while (wake_ && *wake_ <= until)
            nextFrame();
        now_ = until;
        pacer_.catchUp();
    }

private:
    FramePacer& pacer_;
    Clock::time_point now_ = Clock::now();
    std::optional<Clock::time_point> wake_;
    int wakeUps_ = 0;
};

inline void clockTicks(Form10& form, int count) {
    for (int i = 0; i < count; ++i)
        form.Timer3_Timer();
}

}  // namespace moxel::ui::testing

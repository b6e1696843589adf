// Plays one way of leaving the game inside a real event loop and exits with the
// loop's result, so ctest sees exactly the exit code a player's program gives.
// Usage: exit_paths <scenario>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <map>

#include "ui_test_support.h"

using namespace moxel::ui;
using namespace moxel::ui::testing;

namespace {

void clickExitGame(Form10& form) {
    Form11& score = *form.scoreWindow();
    QTest::mouseClick(score.windowHandle(), Qt::LeftButton, {}, pointIn(*score.Command3));
}

const std::map<std::string, std::function<void(Form10&)>> scenarios{
    {"scripted-game",
     [](Form10& form) {
         form.Command1_Click();
         QTest::qWait(200);
         form.Command2_Click();
         form.mnuLevel3->trigger();
         QTest::qWait(100);
         click(form, pointIn(*form.Image1[0]));
         QTest::qWait(20);
         form.scoreWindow()->Command1_Click();
         form.Image1_Click(1);
         QTest::qWait(20);
         clickExitGame(form);
     }},
    {"menu-exit",
     [](Form10& form) {
         form.Command1_Click();
         QTest::qWait(50);
         form.Command2_Click();
         form.mnuExit->trigger();
     }},
    {"exit-game-while-running",
     [](Form10& form) {
         form.Command1_Click();
         // A catch before the clock's first tick cannot be scored; a loaded
         // machine may take longer than a tick's period to deliver it.
         QTest::qWaitFor([&] { return form.t1() > 0; });
         form.Command2_Click();
         form.Image1_Click(0);
         form.Command3_Click();  // a new game runs beside the open score window
         QTest::qWait(30);
         clickExitGame(form);
     }},
    {"menu-exit-with-error-window",
     [](Form10& form) {
         form.Command1_Click();
         form.Command2_Click();
         clockTicks(form, 327 * 101 + 68);
         form.Image1_Click(1);  // overflow: the error window opens
         QTest::qWait(20);
         form.mnuExit->trigger();
     }},
    {"exit-game-with-error-window",
     [](Form10& form) {
         form.Command1_Click();
         form.Command2_Click();
         form.mnuLevel3->trigger();
         form.Image1_Click(0);  // before the first clock tick: division by zero
         QTest::qWait(20);
         form.Image1_Click(0);
         form.Command2->click();  // hidden: nothing happens
         form.scoreWindow()->show();
         clickExitGame(form);
     }},
    {"close-main-window", [](Form10& form) { form.close(); }},
    {"close-main-window-with-score-window",
     [](Form10& form) {
         form.Command1_Click();
         QTest::qWait(30);
         form.Image1_Click(0);
         form.close();
     }},
    {"close-score-window-then-main-window",
     [](Form10& form) {
         form.Command1_Click();
         QTest::qWait(30);
         form.Image1_Click(0);
         form.scoreWindow()->close();
         QTest::qWait(10);
         form.close();
     }},
};

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const auto scenario = scenarios.find(argc > 1 ? argv[1] : "");
    if (scenario == scenarios.end()) {
        std::fprintf(stderr, "usage: exit_paths <scenario>\n");
        return 64;
    }
    int result = 0;
    {
        Form10 form;
        form.Form_Load();
        QTimer::singleShot(0, &form, [&form, &scenario] { scenario->second(form); });
        QTimer::singleShot(10000, [] {
            std::fprintf(stderr, "the program did not end\n");
            QCoreApplication::exit(2);
        });
        result = QApplication::exec();

        // Nothing runs once the program has ended.
        const int ticks = form.t1();
        form.Timer3_Timer();
        if (form.t1() != ticks) {
            std::fprintf(stderr, "a handler ran after the end\n");
            return 3;
        }
    }
    return result;
}

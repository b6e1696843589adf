// What the command line the player typed gives the runtime: the classic 10 ms
// timer steps, or 1 ms ones with --precise-timers, wherever Qt's own options
// stand among them.
#include <QTest>

#include "command_line.h"

using namespace moxel::start;
using moxel::ui::Runtime;

class CommandLineOptionsTest : public QObject {
    Q_OBJECT

private slots:
    void theTimerStepFollowsTheOptionTyped_data() {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<int>("stepMs");
        QTest::newRow("no option") << "" << 10;
        QTest::newRow("precise") << "--precise-timers" << 1;
        QTest::newRow("precise, then a platform") << "--precise-timers -platform offscreen" << 1;
        QTest::newRow("a platform, then precise") << "-platform offscreen --precise-timers" << 1;
        QTest::newRow("a platform only") << "--platform offscreen" << 10;
        QTest::newRow("precise among Qt's options")
            << "-reverse -style fusion --precise-timers -geometry 800x600+0+0 -qwindowtitle T" << 1;
        QTest::newRow("Qt's options only") << "-style=fusion -reverse -nograb" << 10;
    }
    void theTimerStepFollowsTheOptionTyped() {
        QFETCH(QString, arguments);
        QFETCH(int, stepMs);
        const QStringList typed =
            QStringList{"catch-the-moxel"} + arguments.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        const auto result = readCommandLine(typed, DisplayAtStart::MayBeMissing);
        QVERIFY2(std::holds_alternative<Runtime::Options>(result), "the game would not start");
        QCOMPARE(std::get<Runtime::Options>(result).timerResolutionMs, stepMs);
    }
};

QTEST_GUILESS_MAIN(CommandLineOptionsTest)
#include "command_line_options_test.moc"

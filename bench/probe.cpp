// Measures one scenario of the real game in one configuration and prints one JSON
// line. moxel-bench starts a fresh probe for every run.
//
//   moxel-probe <scenario> ours|baseline <seconds> classic|precise
//
// Scenarios: level1, level2, level3, start_screen, stopped, first_paint,
// press_to_score, instructions, label_repaints. "ours" is the game's one frame clock,
// "baseline" is a QTimer per timer with one repaint per tick. The pace is the timers' resolution:
// classic rounds every interval up to 10 ms, precise to 1 ms; both configurations run at the same
// pace. For "instructions" and "label_repaints" (meant to run under callgrind) the third argument
// is how many frames and ticks to play at least, or how many label repaints to make.
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QEventLoop>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "Form10.h"
#include "Form11.h"
#include "display.h"
#include "frame_pacer.h"
#include "monotonic.h"
#include "timer.h"

namespace {

using namespace moxel::ui;

constexpr int kSettleMs = 500;  // first paints and pixmap scaling are over by then
constexpr int kCatches = 20;
constexpr int kPlayBeforeCatchMs = 60;  // a catch before the first clock tick divides by zero
constexpr int kScoreWindowTimeoutMs = 2000;

// Runs the event loop until `loop.quit()` or `ms` milliseconds. QTest::qWait would
// sleep between passes and so delay ticks and paints.
void runEventLoop(QEventLoop& loop, int ms) {
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(ms);
    loop.exec();
}

void runEventLoopFor(int ms) {
    QEventLoop loop;
    runEventLoop(loop, ms);
}

// Sees every event `target` receives (with qApp: every event) before the receiver.
class EventSpy : public QObject {
public:
    using Handler = std::function<void(QObject* receiver, QEvent* event)>;
    EventSpy(QObject* target, Handler handler) : handler_(std::move(handler)) {
        target->installEventFilter(this);
    }
    bool eventFilter(QObject* receiver, QEvent* event) override {
        handler_(receiver, event);
        return false;
    }

private:
    Handler handler_;
};

double ownCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](timeval t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Voluntary context switches: how often the process slept and was woken.
long ownWakeUps() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_nvcsw;
}

double peakRssMib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024;  // KiB on Linux
}

// The X server's pid when running under the benchmark's own Xvfb, else 0.
int xServerPid() {
    return qEnvironmentVariableIntValue("MOXEL_BENCH_XSERVER_PID");
}

double processCpuSeconds(int pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(file, line);
    // After the parenthesised name, utime and stime are the 12th and 13th fields.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string skipped;
    for (int i = 0; i < 11; ++i)
        fields >> skipped;
    double utime = 0, stime = 0;
    fields >> utime >> stime;
    return (utime + stime) / double(sysconf(_SC_CLK_TCK));
}

// Runs the game for `seconds`: CPU of this process and of the X server, and how
// often the main window repainted.
QJsonObject measureRunning(Form10& form, double seconds) {
    int updateRequests = 0;
    EventSpy spy(&form, [&](QObject*, QEvent* event) {
        if (event->type() == QEvent::UpdateRequest)
            ++updateRequests;
    });
    const std::int64_t start = monotonicNs();
    const double cpuAtStart = ownCpuSeconds();
    const long wakeUpsAtStart = ownWakeUps();
    const double xCpuAtStart = xServerPid() ? processCpuSeconds(xServerPid()) : 0;

    runEventLoopFor(int(seconds * 1000));

    const double wall = double(monotonicNs() - start) / 1e9;
    QJsonObject figures{{"cpu_percent", 100 * (ownCpuSeconds() - cpuAtStart) / wall},
                        {"repaints_per_s", updateRequests / wall},
                        {"wakeups_per_s", double(ownWakeUps() - wakeUpsAtStart) / wall}};
    if (xServerPid()) {
        figures["xserver_cpu_percent"] =
            100 * (processCpuSeconds(xServerPid()) - xCpuAtStart) / wall;
    }
    return figures;
}

// The moments a timer ticks while the log lives.
class TickLog {
public:
    // `resolutionMs` is the pace's: the timer promises a tick every interval
    // rounded up to it, and is judged against that.
    TickLog(Timer* timer, int resolutionMs)
        : askedMs_(timer->Interval()),
          periodMs_((askedMs_ + resolutionMs - 1) / resolutionMs * resolutionMs) {
        QObject::connect(timer, &Timer::tick, &connection_,
                         [this] { ticks_.push_back(monotonicNs()); });
    }

    void addFigures(QJsonObject& figures, const QString& name) const {
        std::vector<double> gapsMs;
        for (std::size_t i = 1; i < ticks_.size(); ++i) {
            gapsMs.push_back(double(ticks_[i] - ticks_[i - 1]) / 1e6);
        }
        std::sort(gapsMs.begin(), gapsMs.end());
        const auto quantile = [&](double q) {
            return gapsMs.empty() ? 0.0 : gapsMs[std::size_t(q * double(gapsMs.size() - 1))];
        };
        // Ours runs ticks in bursts, one a frame; those of the first burst fell due
        // before the log began. So the rate counts from the first tick to the last,
        // without the rest of the first burst (none in a steady stream of ticks).
        std::size_t first = 1;
        while (first < ticks_.size() && ticks_[first] - ticks_[0] < kSameBurstNs)
            ++first;
        const double spanMs = ticks_.empty() ? 0 : double(ticks_.back() - ticks_.front()) / 1e6;
        const double perSecond = spanMs > 0 ? double(ticks_.size() - first) * 1000 / spanMs : 0;
        figures[name + "_asked_ms"] = askedMs_;
        figures[name + "_period_ms"] = periodMs_;
        figures[name + "_ticks_per_s"] = perSecond;
        figures[name + "_ratio"] = perSecond * periodMs_ / 1000;
        figures[name + "_gap_p50_ms"] = quantile(0.5);
        figures[name + "_gap_p99_ms"] = quantile(0.99);
        figures[name + "_gap_max_ms"] = quantile(1);
    }

private:
    static constexpr std::int64_t kSameBurstNs = 500'000;
    int askedMs_;
    int periodMs_;
    std::vector<std::int64_t> ticks_;
    QObject connection_;  // declared last: disconnects before the log goes
};

void showMainWindow(Form10& form) {
    form.Form_Load();
    if (!QTest::qWaitForWindowExposed(&form))
        qFatal("the main window was never shown");
}

QJsonObject play(Form10& form, int level, double seconds) {
    using Start = void (Form10::*)();
    constexpr std::array<Start, 3> starts{&Form10::mnuLevel1_Click, &Form10::mnulevel2_Click,
                                          &Form10::mnuLevel3_Click};
    showMainWindow(form);
    form.Command1_Click();
    (form.*starts.at(std::size_t(level - 1)))();
    runEventLoopFor(kSettleMs);

    const int resolutionMs = form.runtime().options().timerResolutionMs;
    const TickLog timer1(form.Timer1, resolutionMs);
    const TickLog timer3(form.Timer3, resolutionMs);
    QJsonObject figures = measureRunning(form, seconds);
    timer1.addFigures(figures, "timer1");
    timer3.addFigures(figures, "timer3");
    figures["peak_rss_mib"] = peakRssMib();
    return figures;
}

struct PlayCounts {
    int frames = 0;
    int ticks = 0;
    int labelPaints = 0;
};

// Runs a level-3 game until at least `count` frames, `count` timer ticks and a
// few label repaints have passed.
void playFor(Form10& form, int count, PlayCounts& counts) {
    QEventLoop loop;
    constexpr int kLabelPaints = 10;
    const auto check = [&] {
        if (counts.frames >= count && counts.ticks >= count && counts.labelPaints >= kLabelPaints)
            loop.quit();
    };
    EventSpy frames(&form, [&](QObject*, QEvent* event) {
        if (event->type() == QEvent::UpdateRequest) {
            ++counts.frames;
            check();
        }
    });
    std::vector<std::unique_ptr<EventSpy>> labels;
    for (Label* label : form.centralWidget()->findChildren<Label*>()) {
        labels.push_back(std::make_unique<EventSpy>(label, [&](QObject*, QEvent* event) {
            if (event->type() == QEvent::Paint)
                ++counts.labelPaints;
        }));
    }
    QObject connections;
    for (Timer* timer : {form.Timer1, form.Timer3})
        QObject::connect(timer, &Timer::tick, &connections, [&] { ++counts.ticks; });
    // A wide limit: a slow counter merges late ticks, but frames keep coming.
    runEventLoop(loop, 300'000);
}

// Under callgrind only this function's instructions are counted
// (--toggle-collect), so it counts what a game costs and nothing of its start.
[[gnu::noinline]] void moxelCountedPlay(Form10& form, int count, PlayCounts& counts) {
    playFor(form, count, counts);
}

QJsonObject countInstructions(Form10& form, int count) {
    showMainWindow(form);
    form.Command1_Click();
    form.mnuLevel3_Click();
    // Long enough for the clock box to have shown each of its hundred texts: a
    // long game draws them from memory.
    PlayCounts warmUp;
    playFor(form, count, warmUp);
    PlayCounts counts;
    moxelCountedPlay(form, count, counts);
    return {
        {"frames", counts.frames}, {"ticks", counts.ticks}, {"label_paints", counts.labelPaints}};
}

// Moves a target to and fro across the long label, one step per repaint, and
// counts the label's repaints. Under callgrind only this function is counted, so
// the label's cost per repaint is the same from run to run: the game's own
// targets cross labels when their timing says so.
[[gnu::noinline]] void moxelLabelRepaints(Form10& form, int count, int& paints) {
    EventSpy spy(form.Label2, [&](QObject*, QEvent* event) {
        if (event->type() == QEvent::Paint)
            ++paints;
    });
    Image& target = *form.Image1[0];
    const QRect label = form.Label2->geometry();
    constexpr int kSteps = 20;
    for (int i = 0; i < count; ++i) {
        const int step = i % (2 * kSteps) < kSteps ? i % kSteps : kSteps - i % kSteps;
        target.setLeft(float(label.left() + step * label.width() / kSteps) * kTwipsPerPixel);
        target.setTop(float(label.top() + 5) * kTwipsPerPixel);
        QCoreApplication::processEvents();
    }
}

QJsonObject countLabelRepaints(Form10& form, int count) {
    showMainWindow(form);
    form.Command1_Click();
    form.Timer1->setEnabled(false);
    form.Timer3->setEnabled(false);
    runEventLoopFor(kSettleMs);
    int paints = 0;
    moxelLabelRepaints(form, count, paints);
    return {{"label_paints", paints}};
}

QJsonObject idle(Form10& form, bool afterAGame, double seconds) {
    showMainWindow(form);
    if (afterAGame) {
        form.Command1_Click();
        form.Command2_Click();
    }
    runEventLoopFor(kSettleMs);
    return measureRunning(form, seconds);
}

// From the parent's note before starting this process to the main window's first
// paint; the process then quits, so the parent also gets the whole start's time.
QJsonObject firstPaint(Form10& form) {
    const std::int64_t startedAt = qEnvironmentVariable("MOXEL_BENCH_T0_NS").toLongLong();
    std::int64_t paintedAt = 0;
    EventSpy spy(qApp, [&](QObject* receiver, QEvent* event) {
        if (event->type() != QEvent::Paint || paintedAt)
            return;
        if (receiver == &form || receiver == form.centralWidget()) {
            paintedAt = monotonicNs();
            QCoreApplication::exit();  // leaves the event loop once this paint is done
        }
    });
    form.Form_Load();
    QApplication::exec();
    return {{"first_paint_ms", double(paintedAt - startedAt) / 1e6}};
}

// The window point of a target's centre if nothing covers it there.
std::optional<QPoint> uncoveredTarget(Form10& form) {
    for (Image* target : form.Image1) {
        const QPoint centre = target->geometry().center();
        if (form.centralWidget()->childAt(centre) == target) {
            return form.centralWidget()->mapTo(&form, centre);
        }
    }
    return std::nullopt;
}

bool inScoreWindow(QObject* receiver) {
    auto* widget = qobject_cast<QWidget*>(receiver);
    return widget && qobject_cast<Form11*>(widget->window());
}

QJsonObject pressToScoreWindow(Form10& form) {
    showMainWindow(form);
    form.Command1_Click();
    QEventLoop waitForScore;
    std::int64_t paintedAt = 0;
    EventSpy spy(qApp, [&](QObject* receiver, QEvent* event) {
        if (event->type() == QEvent::Paint && !paintedAt && inScoreWindow(receiver)) {
            paintedAt = monotonicNs();
            waitForScore.quit();
        }
    });
    std::vector<double> delaysMs;
    for (int i = 0; i < kCatches; ++i) {
        form.mnuLevel1_Click();
        runEventLoopFor(kPlayBeforeCatchMs);
        std::optional<QPoint> point;
        while (!(point = uncoveredTarget(form)))
            runEventLoopFor(10);

        paintedAt = 0;
        const std::int64_t pressedAt = monotonicNs();
        QTest::mousePress(form.windowHandle(), Qt::LeftButton, {}, *point);
        QTest::mouseRelease(form.windowHandle(), Qt::LeftButton, {}, *point);
        if (!paintedAt)
            runEventLoop(waitForScore, kScoreWindowTimeoutMs);
        if (!paintedAt || !form.scoreWindow())
            qFatal("the press on a target showed no score window");
        delaysMs.push_back(double(paintedAt - pressedAt) / 1e6);
        form.scoreWindow()->Command1_Click();
    }
    std::nth_element(delaysMs.begin(), delaysMs.begin() + kCatches / 2, delaysMs.end());
    return {{"press_to_score_ms", delaysMs[kCatches / 2]}};
}

QJsonObject measure(const QString& scenario, Form10& form, double seconds) {
    if (scenario.startsWith(QLatin1String("level"))) {
        return play(form, scenario.back().digitValue(), seconds);
    }
    if (scenario == QLatin1String("start_screen"))
        return idle(form, false, seconds);
    if (scenario == QLatin1String("stopped"))
        return idle(form, true, seconds);
    if (scenario == QLatin1String("first_paint"))
        return firstPaint(form);
    if (scenario == QLatin1String("press_to_score"))
        return pressToScoreWindow(form);
    if (scenario == QLatin1String("instructions"))
        return countInstructions(form, int(seconds));
    if (scenario == QLatin1String("label_repaints"))
        return countLabelRepaints(form, int(seconds));
    qFatal("unknown scenario %s", qPrintable(scenario));
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 5) {
        std::fputs("usage: moxel-probe <scenario> ours|baseline <seconds> classic|precise\n",
                   stderr);
        return 2;
    }
    const bool ours = std::strcmp(argv[2], "ours") == 0;
    const bool precise = std::strcmp(argv[4], "precise") == 0;
    if (!precise && std::strcmp(argv[4], "classic") != 0) {
        std::fprintf(stderr, "moxel-probe: unknown pace %s\n", argv[4]);
        return 2;
    }
    Runtime::Options options;
    options.timerResolutionMs =
        precise ? Runtime::kPreciseResolutionMs : Runtime::kClassicResolutionMs;
    options.frameClock = ours;

    moxel::start::prepareDisplay();
    QApplication app(argc, argv);
    Runtime runtime(options);
    Form10 form(runtime);
    const QJsonObject figures = measure(QString::fromLocal8Bit(argv[1]), form, std::atof(argv[3]));
    std::puts(QJsonDocument(figures).toJson(QJsonDocument::Compact).constData());
    return 0;
}

// The game's benchmark: runs every scenario in fresh moxel-probe processes, ours
// against the baseline, at both timer paces, offscreen and under an Xvfb of its
// own, then the engine's micro-benchmarks. Prints a table and, as its last line,
// one JSON object with the figures of each pace under "classic" and "precise".
//
// MOXEL_BENCH_SECONDS (default 3) and MOXEL_BENCH_RUNS (default 3) make a quick try cheap.
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThread>
#include <algorithm>
#include <cmath>
#include <csignal>
#include <map>
#include <optional>
#include <stdexcept>
#include <vector>

#include "monotonic.h"

namespace {

struct Settings {
    double seconds = 3;
    int runs = 3;
};

Settings settingsFromEnvironment() {
    Settings settings;
    bool ok = false;
    const double seconds = qEnvironmentVariable("MOXEL_BENCH_SECONDS").toDouble(&ok);
    if (ok && seconds > 0)
        settings.seconds = seconds;
    if (const int runs = qEnvironmentVariableIntValue("MOXEL_BENCH_RUNS"); runs > 0)
        settings.runs = runs;
    return settings;
}

// The timers' paces, as moxel-probe names them: every interval rounded up to 10 ms
// (the game's default), or to 1 ms (--precise-timers).
const std::vector<std::pair<QString, QString>> kPaces = {
    {"classic", "classic pace: each timer's interval rounded up to 10 ms"},
    {"precise", "precise pace: each timer's interval rounded up to 1 ms"},
};

const std::vector<std::pair<QString, QString>> kScenarios = {
    {"level1", "a game at level 1"},
    {"level2", "a game at level 2"},
    {"level3", "a game at level 3"},
    {"start_screen", "after Form_Load, nothing started"},
    {"stopped", "after Command1_Click, then Command2_Click"},
    {"first_paint", "a start that quits right after the main window's first paint"},
    {"press_to_score", "mouse press on a target to the score window's first paint, median of 20"},
};

// Children get SIGTERM if the benchmark dies, so no Xvfb or probe outlives it.
void dieWithParent() {
    prctl(PR_SET_PDEATHSIG, SIGTERM);
}

// An Xvfb on a display it picks itself; stopped politely so it removes its lock files.
class XServer {
public:
    XServer() {
        process_.setChildProcessModifier(dieWithParent);
        process_.setStandardErrorFile(QProcess::nullDevice());
        process_.start(QStringLiteral("Xvfb"),
                       {"-displayfd", "1", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"});
        if (!process_.waitForReadyRead(10000))
            throw std::runtime_error("Xvfb did not start");
        display_ = QStringLiteral(":") + QString::fromLatin1(process_.readLine().trimmed());
    }
    ~XServer() {
        process_.terminate();
        if (!process_.waitForFinished(5000))
            process_.kill();
        process_.waitForFinished();
    }
    XServer(const XServer&) = delete;
    XServer& operator=(const XServer&) = delete;

    QProcessEnvironment environment(QProcessEnvironment env) const {
        env.insert("QT_QPA_PLATFORM", "xcb");
        env.insert("DISPLAY", display_);
        env.insert("MOXEL_BENCH_XSERVER_PID", QString::number(process_.processId()));
        return env;
    }

private:
    QProcess process_;
    QString display_;
};

// Runs a program to its end and returns its standard output.
QByteArray runToEnd(const QString& program, const QStringList& arguments, QProcessEnvironment env,
                    int timeoutMs, double* wallMs = nullptr, const QString& workingDirectory = {}) {
    QProcess process;
    process.setWorkingDirectory(workingDirectory);
    process.setChildProcessModifier(dieWithParent);
    const std::int64_t startedAt = monotonicNs();
    env.insert("MOXEL_BENCH_T0_NS", QString::number(startedAt));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(timeoutMs);
    if (wallMs)
        *wallMs = double(monotonicNs() - startedAt) / 1e6;
    if (!finished || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        // Qt's platform plugins chatter on stderr, so it is shown only when it matters.
        throw std::runtime_error(qPrintable(program + ' ' + arguments.join(' ') + " failed:\n" +
                                            process.readAllStandardError()));
    }
    return process.readAllStandardOutput();
}

QString programPath(const char* name) {
    return QCoreApplication::applicationDirPath() + '/' + QLatin1String(name);
}

// CPU seconds every process on the machine has used since boot.
double machineBusySeconds() {
    QFile stat(QStringLiteral("/proc/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return 0;
    // cpu user nice system idle iowait irq softirq steal: all but idle and iowait.
    const QList<QByteArray> fields = stat.readLine().simplified().split(' ');
    double ticks = 0;
    for (int field : {1, 2, 3, 6, 7, 8})
        ticks += fields.value(field).toDouble();
    return ticks / double(sysconf(_SC_CLK_TCK));
}

// CPU seconds every other process has used since boot: the machine's minus ours
// and our children's (counted once they have ended).
double othersBusySeconds() {
    double ours = 0;
    for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        for (timeval t : {usage.ru_utime, usage.ru_stime})
            ours += double(t.tv_sec) + double(t.tv_usec) / 1e6;
    }
    return machineBusySeconds() - ours;
}

using Samples = std::map<QString, std::vector<double>>;  // figure -> one value per run

void addRun(Samples& samples, const QJsonObject& run) {
    for (auto it = run.begin(); it != run.end(); ++it)
        samples[it.key()].push_back(it->toDouble());
}

double rounded(double value) {
    return std::round(value * 1000) / 1000;
}

QJsonObject summarize(const Samples& samples) {
    QJsonObject summary;
    for (auto [figure, values] : samples) {
        std::sort(values.begin(), values.end());
        const std::size_t n = values.size();
        const double median = (values[(n - 1) / 2] + values[n / 2]) / 2;
        summary[figure] = QJsonObject{{"median", rounded(median)},
                                      {"min", rounded(values.front())},
                                      {"max", rounded(values.back())}};
    }
    return summary;
}

// One run of a probe: its figures, and for a start also the whole process's wall time.
QJsonObject runProbe(const QString& scenario, const QString& config, const QString& pace,
                     const QProcessEnvironment& env, const Settings& settings) {
    double wallMs = 0;
    const QByteArray output = runToEnd(programPath("moxel-probe"),
                                       {scenario, config, QString::number(settings.seconds), pace},
                                       env, int(settings.seconds * 1000) + 60000, &wallMs);
    QJsonObject figures = QJsonDocument::fromJson(output.trimmed().split('\n').last()).object();
    if (figures.isEmpty())
        throw std::runtime_error("moxel-probe printed no figures");
    if (scenario == "first_paint")
        figures["start_wall_ms"] = wallMs;
    return figures;
}

QJsonObject measurePlatform(const QString& pace, const QString& platform,
                            const QProcessEnvironment& env, const Settings& settings) {
    QJsonObject figures;
    for (const auto& [scenario, about] : kScenarios) {
        QTextStream(stderr) << pace << ' ' << platform << ' ' << scenario << ": " << settings.runs
                            << " runs\n";
        Samples ours, baseline;
        // Alternating, so a change in the machine's load hits both alike.
        for (int run = 0; run < settings.runs; ++run) {
            addRun(ours, runProbe(scenario, "ours", pace, env, settings));
            addRun(baseline, runProbe(scenario, "baseline", pace, env, settings));
        }
        figures[scenario] =
            QJsonObject{{"ours", summarize(ours)}, {"baseline", summarize(baseline)}};
    }
    return figures;
}

QJsonObject measureEngine(const Settings& settings) {
    QTextStream(stderr) << "engine: Google Benchmark\n";
    const QByteArray output = runToEnd(
        programPath("moxel-engine-bench"),
        {"--benchmark_format=json", "--benchmark_repetitions=" + QString::number(settings.runs),
         "--benchmark_min_time=" + QString::number(settings.seconds)},
        // Three benchmarks, and each may run well past its minimum time.
        QProcessEnvironment::systemEnvironment(),
        int(settings.seconds * 1000) * settings.runs * 10 + 60000);
    Samples samples;
    for (const QJsonValue entry : QJsonDocument::fromJson(output)["benchmarks"].toArray()) {
        if (entry["run_type"] != "iteration")
            continue;
        samples[entry["run_name"].toString() + "_ns"].push_back(entry["real_time"].toDouble());
    }
    return summarize(samples);
}

// Exact instruction counts of a level-3 game, offscreen, under callgrind: only
// the probe's moxelCountedPlay is counted. Wall-clock CPU on a shared machine
// moves by half from run to run; these move by well under 1 %.
constexpr int kCountedFramesAndTicks = 200;
// Level 3 asks 1 ms of both timers that have handlers (motion and clock).
constexpr int kLevel3IntervalsMs[] = {1, 1};

int paceResolutionMs(const QString& pace) {
    return pace == "classic" ? 10 : 1;
}

// The inclusive instructions of every function whose name contains one of
// `functions`, and the program's total, from callgrind's annotated output.
std::map<QString, double> inclusiveCosts(const QString& outFile, const QStringList& functions) {
    // Run away from the sources: where it finds them, callgrind_annotate leaves
    // code inlined from headers out of a function's own line.
    const QByteArray text = runToEnd(
        QStringLiteral("callgrind_annotate"), {"--inclusive=yes", "--threshold=100", outFile},
        QProcessEnvironment::systemEnvironment(), 120000, nullptr, QFileInfo(outFile).path());
    std::map<QString, double> costs;
    static const QRegularExpression row(QStringLiteral(R"(^\s*([\d,]+)\s+(?:\([^)]*\)\s+)?(.*)$)"));
    for (const QByteArray& line : text.split('\n')) {
        const QRegularExpressionMatch match = row.match(QString::fromUtf8(line));
        if (!match.hasMatch())
            continue;
        const double cost = match.captured(1).remove(',').toDouble();
        const QString name = match.captured(2);
        if (name.startsWith(QLatin1String("PROGRAM TOTALS")))
            costs["total"] = cost;
        // A function's own line ends in its object file; lines of code inlined
        // into it, and recursive calls ('2), are parts of that line's cost.
        for (const QString& function : functions) {
            if (name.contains(':' + function + " ["))
                costs[function] += cost;
        }
    }
    return costs;
}

// One repaint of a label as a target crosses it: its paintEvent, in instructions.
double countLabelRepaint(const QString& config, const QProcessEnvironment& env,
                         const QString& folder) {
    constexpr int kRepaints = 200;
    const QString outFile = folder + "/callgrind.label." + config;
    const QByteArray output =
        runToEnd(QStringLiteral("valgrind"),
                 {"--tool=callgrind", "--callgrind-out-file=" + outFile, "--collect-atstart=no",
                  "--toggle-collect=*moxelLabelRepaints*", programPath("moxel-probe"),
                  "label_repaints", config, QString::number(kRepaints), "classic"},
                 env, 600000);
    const double paints =
        QJsonDocument::fromJson(output.trimmed().split('\n').last())["label_paints"].toDouble();
    if (paints <= 0)
        throw std::runtime_error("moxel-probe repainted no label");
    const QString labelPaint = "moxel::ui::Label::paintEvent(QPaintEvent*)";
    const QString qtLabelPaint = "QLabel::paintEvent(QPaintEvent*)";  // a label without its own
    std::map<QString, double> costs = inclusiveCosts(outFile, {labelPaint, qtLabelPaint});
    return std::round(std::max(costs[labelPaint], costs[qtLabelPaint]) / paints);
}

QJsonObject countInstructions(const QString& pace, const QString& config,
                              const QProcessEnvironment& env, const QString& folder) {
    QTextStream(stderr) << pace << " instructions (callgrind): " << config << '\n';
    const QString outFile = folder + "/callgrind." + pace + '.' + config;
    const QByteArray output =
        runToEnd(QStringLiteral("valgrind"),
                 {"--tool=callgrind", "--callgrind-out-file=" + outFile, "--collect-atstart=no",
                  "--toggle-collect=*moxelCountedPlay*", programPath("moxel-probe"), "instructions",
                  config, QString::number(kCountedFramesAndTicks), pace},
                 env, 600000);
    const QJsonObject counts =
        QJsonDocument::fromJson(output.trimmed().split('\n').last()).object();
    const double frames = counts["frames"].toDouble(), ticks = counts["ticks"].toDouble();
    if (frames <= 0 || ticks <= 0)
        throw std::runtime_error("moxel-probe counted no frames or no ticks");

    // A frame of ours runs the ticks due, presents what they changed and paints
    // it; the baseline paints outside any frame. A frame's own cost is its
    // presenting and all painting: the frame without its ticks and its
    // painting, plus painting wherever it happened.
    const QString paint = "QWidgetRepaintManager::paintAndFlush()";
    const QString frame = "moxel::ui::FramePacer::frame()";
    const QString ticksInFrame = "moxel::ui::FramePacer::runDueTicks()";
    const QString paintInFrame = "moxel::ui::FramePacer::paintNow()";
    const QString tick = "moxel::ui::Timer::runTick()";
    std::map<QString, double> costs =
        inclusiveCosts(outFile, {paint, frame, ticksInFrame, paintInFrame, tick});
    // A function renamed since would count as free and make the figure wrong.
    const QStringList counted =
        config == "ours" ? QStringList{paint, frame, ticksInFrame, tick} : QStringList{paint, tick};
    for (const QString& function : counted) {
        if (costs[function] <= 0)
            throw std::runtime_error("callgrind counted nothing in " + function.toStdString());
    }
    const double frameCost =
        costs[frame] - costs[ticksInFrame] - costs[paintInFrame] + costs[paint];
    const double perFrame = frameCost / frames;
    const double perTick = costs[tick] / ticks;
    // Everything else the game did, the event loop's passes included, per frame.
    const double perWakeUp = (costs["total"] - costs[tick]) / frames;
    double ticksPerSecond = 0;
    for (int interval : kLevel3IntervalsMs) {
        const int resolution = paceResolutionMs(pace);
        ticksPerSecond += 1000.0 / ((interval + resolution - 1) / resolution * resolution);
    }
    QJsonObject figures{{"per_frame", std::round(perFrame)},
                        {"per_tick", std::round(perTick)},
                        {"per_second", std::round(60 * perWakeUp + ticksPerSecond * perTick)},
                        {"frames", frames},
                        {"ticks", ticks}};
    if (pace == "classic")
        figures["label_repaint"] = countLabelRepaint(config, env, folder);
    return figures;
}

// Ours at each pace under its name, the baseline's under "baseline".
QJsonObject measureInstructions(const QProcessEnvironment& offscreen) {
    QTemporaryDir folder;
    QJsonObject instructions, baseline;
    for (const auto& [pace, paceAbout] : kPaces) {
        instructions[pace] = countInstructions(pace, "ours", offscreen, folder.path());
        baseline[pace] = countInstructions(pace, "baseline", offscreen, folder.path());
    }
    instructions["baseline"] = baseline;
    return instructions;
}

// One tick's handlers at level 3, when ticks stopped waking the process.
constexpr double kClassicPerTick = 1230;
constexpr double kPrecisePerTick = 934;

struct Goal {
    bool atMost;
    double limit;

    // `figure` is a median [min .. max] object, or an exact count.
    bool metBy(const QJsonValue& figure) const {
        const double median = figure.isObject() ? figure["median"].toDouble() : figure.toDouble();
        return atMost ? median <= limit : median >= limit;
    }
};

// Where a figure belongs: its pace, platform and scenario, or the engine alone.
struct Group {
    QString pace;
    QString platform;
    QString scenario;

    QString name() const {
        return scenario.isEmpty() ? platform : pace + '.' + platform + '.' + scenario;
    }
};

std::optional<Goal> goalFor(const Group& group, const QString& figure,
                            const QJsonObject& baseline) {
    const QString& scenario = group.scenario;
    const bool idle = scenario == "start_screen" || scenario == "stopped";
    const bool classic = group.pace == "classic";
    const bool offscreen = group.platform == "offscreen";
    // Ours runs a frame's ticks together, so the gaps between ticks say nothing
    // of the pace: the ratio does.
    if (figure.endsWith("_ratio"))
        return Goal{false, 0.995};
    // Absolute CPU moves with the machine: it is judged against the baseline
    // measured alongside it.
    if (figure == "cpu_percent" && scenario == "level3") {
        if (!baseline[figure].isObject())
            return std::nullopt;
        return Goal{true, (classic ? 0.8 : 0.35) * baseline[figure]["median"].toDouble()};
    }
    // One wake-up a frame of a 60 Hz screen while playing, next to none while idle.
    if (figure == "wakeups_per_s")
        return Goal{true, idle ? 1.0 : 66.0};
    // Guards against regressions: 5 % above the figures measured when the one
    // clock came in.
    if (group.platform == "instructions") {
        const std::map<QString, double> classicFigures{{"per_frame", 139407},
                                                       {"per_tick", kClassicPerTick},
                                                       {"label_repaint", 46787},
                                                       {"per_second", 9.49e6}};
        const std::map<QString, double> preciseFigures{{"per_frame", 156406},
                                                       {"per_tick", kPrecisePerTick}};
        const auto& figures = classic ? classicFigures : preciseFigures;
        if (const auto found = figures.find(figure); found != figures.end())
            return Goal{true, 1.05 * found->second};
        return std::nullopt;
    }
    if (figure == "cpu_percent" && idle)
        return Goal{true, 0.1};
    if (figure == "xserver_cpu_percent" && scenario == "level3")
        return Goal{true, classic ? 1.0 : 3.0};
    // A frame for every frame of a 60 Hz screen, whatever the pace.
    if (figure == "repaints_per_s" && scenario == "level3")
        return Goal{false, 59};
    if (figure == "first_paint_ms")
        return Goal{true, offscreen ? 100.0 : 150.0};
    if (figure == "press_to_score_ms")
        return Goal{true, 20};
    if (figure == "peak_rss_mib")
        return Goal{true, 50};
    if (figure.endsWith("_ns"))
        return Goal{true, 50};
    return std::nullopt;
}

QString number(double value) {
    const int decimals = value >= 1000 ? 0 : value >= 100 ? 1 : value >= 10 ? 2 : 3;
    return QString::number(value, 'f', decimals);
}

QString cell(const QJsonValue& figure) {
    if (figure.isDouble())
        return number(figure.toDouble());
    if (!figure.isObject())
        return QStringLiteral("-");
    return QStringLiteral("%1 [%2 .. %3]")
        .arg(number(figure["median"].toDouble()), number(figure["min"].toDouble()),
             number(figure["max"].toDouble()));
}

// Prints the figures of one group, ours beside the baseline, each with its goal,
// and adds the goals' verdicts to `verdicts`.
void printFigures(QTextStream& out, const Group& group, const QJsonObject& ours,
                  const QJsonObject& baseline, QJsonArray& verdicts) {
    for (const QString& figure : ours.keys()) {
        out << "    " << figure.leftJustified(22) << ' ' << cell(ours[figure]).leftJustified(28)
            << ' ' << cell(baseline[figure]).leftJustified(28);
        if (const std::optional<Goal> goal = goalFor(group, figure, baseline)) {
            const QString limit = (goal->atMost ? "<= " : ">= ") + number(goal->limit);
            const auto verdict = [&](const QJsonValue& measured) -> QString {
                if (!measured.isObject() && !measured.isDouble())
                    return "-";
                return goal->metBy(measured) ? "met" : "MISSED";
            };
            out << ' ' << limit.leftJustified(10) << ' ' << verdict(ours[figure]).leftJustified(7)
                << ' ' << verdict(baseline[figure]);
            verdicts.append(QJsonObject{{"figure", group.name() + '.' + figure},
                                        {"goal", limit},
                                        {"ours", verdict(ours[figure])},
                                        {"baseline", verdict(baseline[figure])}});
        }
        out << '\n';
    }
}

QJsonArray printTable(const QJsonObject& all) {
    QTextStream out(stdout);
    out << "Catch the Moxel benchmark: each figure is the median [min .. max] of "
        << all["runs"].toInt() << " runs (" << all["seconds"].toDouble()
        << " s each where the game runs)\n"
        << "ours = one frame clock: ticks run just before each frame; baseline = a QTimer "
           "(precise) per timer + a repaint per tick, at the same pace\n"
        << "wakeups_per_s = voluntary context switches of the process (getrusage ru_nvcsw)\n"
        << "timerN_ratio = ticks per second over the pace's promise, 1000 / timerN_period_ms "
           "(the interval rounded up to the pace)\n"
        << "repaints_per_s = " << all["repaints"].toString() << '\n'
        << "CPU in percent of one core; the X server's from /proc/<pid>/stat, so in steps of 1/"
        << sysconf(_SC_CLK_TCK) << " s\n"
        << "other processes used " << number(all["other_processes_cpu_percent"].toDouble())
        << " % of a core meanwhile (of " << QThread::idealThreadCount()
        << "); a busy machine makes every timing figure worse\n";
    const QString columns = QStringLiteral("    %1 %2 %3 %4 %5 %6\n")
                                .arg("figure", -22)
                                .arg("ours", -28)
                                .arg("baseline", -28)
                                .arg("goal", -10)
                                .arg("ours", -7)
                                .arg("baseline");
    QJsonArray verdicts;
    for (const auto& [pace, paceAbout] : kPaces) {
        for (const QString platform : {"offscreen", "xvfb"}) {
            if (!all[pace].toObject().contains(platform))
                continue;
            out << "\n== " << pace << ", " << platform << " (" << paceAbout << ") ==\n" << columns;
            for (const auto& [scenario, about] : kScenarios) {
                const QJsonValue figures = all[pace][platform][scenario];
                out << "  " << scenario << ": " << about << '\n';
                printFigures(out, {pace, platform, scenario}, figures["ours"].toObject(),
                             figures["baseline"].toObject(), verdicts);
            }
        }
    }
    for (const auto& [pace, paceAbout] : kPaces) {
        out << "\n== " << pace
            << ", instructions (callgrind, offscreen, level 3; per_frame = presenting and "
               "painting, per_tick = a tick's handlers, per_second = 60 frames with all else "
               "the game does + the pace's ticks) ==\n"
            << columns;
        const QJsonValue instructions = all["instructions"];
        printFigures(out, {pace, "instructions", "level3"}, instructions[pace].toObject(),
                     instructions["baseline"][pace].toObject(), verdicts);
    }
    out << "\n== engine (Google Benchmark, ns per call; no baseline, no pace) ==\n" << columns;
    printFigures(out, {{}, "engine", {}}, all["engine"].toObject(), {}, verdicts);
    const auto met = std::count_if(verdicts.begin(), verdicts.end(),
                                   [](const QJsonValue& v) { return v["ours"] == "met"; });
    out << "\nours meets " << met << " of " << verdicts.size() << " goals\n";
    return verdicts;
}

QJsonObject measureEverything(const Settings& settings) {
    QJsonObject all{{"runs", settings.runs},
                    {"seconds", settings.seconds},
                    {"repaints", "QEvent::UpdateRequest events received by the Form10 window"}};
    // Qt wants a private runtime directory; the probes get a throwaway one if there is none.
    QTemporaryDir runtimeDir;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (!env.contains("XDG_RUNTIME_DIR"))
        env.insert("XDG_RUNTIME_DIR", runtimeDir.path());

    QProcessEnvironment offscreen = env;
    offscreen.insert("QT_QPA_PLATFORM", "offscreen");
    std::optional<XServer> xServer;
    if (!QStandardPaths::findExecutable("Xvfb").isEmpty())
        xServer.emplace();
    for (const auto& [pace, paceAbout] : kPaces) {
        QJsonObject platforms{
            {"offscreen", measurePlatform(pace, "offscreen", offscreen, settings)}};
        if (xServer)
            platforms["xvfb"] = measurePlatform(pace, "xvfb", xServer->environment(env), settings);
        all[pace] = platforms;
    }
    all["instructions"] = measureInstructions(offscreen);
    all["engine"] = measureEngine(settings);
    return all;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const std::int64_t startedAt = monotonicNs();
    const double othersBusyAtStart = othersBusySeconds();
    QJsonObject all;
    try {
        all = measureEverything(settingsFromEnvironment());
    } catch (const std::exception& error) {
        QTextStream(stderr) << "moxel-bench: " << error.what() << '\n';
        return 1;
    }
    const double wallSeconds = double(monotonicNs() - startedAt) / 1e9;
    // Clamped: /proc/stat counts in whole clock ticks, so a quiet machine can come out just below
    // 0.
    const double othersBusy = std::max(0.0, othersBusySeconds() - othersBusyAtStart);
    all["other_processes_cpu_percent"] = rounded(100 * othersBusy / wallSeconds);
    all["goals"] = printTable(all);
    QTextStream(stdout) << QJsonDocument(all).toJson(QJsonDocument::Compact) << '\n';
    return 0;
}

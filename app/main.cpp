#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <optional>

#include "Form10.h"

namespace {

using moxel::ui::Runtime;

void print(std::FILE* stream, const QString& text) {
    std::fputs(qPrintable(text), stream);
}

// Reads the command line before any window or display exists, so --help,
// --version and a mistake need no display. Returns the exit code for those.
std::optional<int> readCommandLine(int argc, char* argv[], Runtime::Options& options) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A reflex game: click one of the two bouncing Moxels as fast as you can."));
    // Our own help option: Qt's would also offer --help-all for its own options.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Displays this help."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption precise(
        QStringLiteral("precise-timers"),
        QStringLiteral("Honour every timer interval to the millisecond. By default the timers "
                       "keep the classic 10 ms steps the scores were made for."));
    parser.addOption(precise);

    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    // With no application object yet, Qt cannot name the program in the usage.
    const QString usage = parser.helpText().replace(QStringLiteral("<executable_name>"),
                                                    QCoreApplication::applicationName());
    QString error;
    if (!parser.parse(arguments)) {
        error = parser.errorText();
    } else if (!parser.positionalArguments().isEmpty()) {
        error =
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
    }
    if (!error.isEmpty()) {
        print(stderr, error + QStringLiteral("\n\n") + usage);
        return 2;
    }
    if (parser.isSet(help)) {
        print(stdout, usage);
        return 0;
    }
    if (parser.isSet(version)) {
        print(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                          QCoreApplication::applicationVersion() + QLatin1Char('\n'));
        return 0;
    }
    if (parser.isSet(precise))
        options.timerResolutionMs = Runtime::kPreciseResolutionMs;
    return std::nullopt;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("catch-the-moxel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MOXEL_VERSION));
    Runtime::Options options;
    if (const std::optional<int> exitCode = readCommandLine(argc, argv, options))
        return *exitCode;

    moxel::ui::prepareDisplay();
    QApplication app(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("io.github.catch_the_moxel.CatchTheMoxel"));
    Runtime runtime(options);
    moxel::ui::Form10 form(runtime);
    form.Form_Load();
    return QApplication::exec();
}

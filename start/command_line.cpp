#include "command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cstdio>

#include "tell_user.h"

namespace moxel::start {

namespace {

// The options QGuiApplication, QApplication and the X11 platform plugin read
// from the command line in Qt 6, with one or two dashes. The application
// object takes them out of argv; here they only have to pass.
struct QtOption {
    const char* name;
    const char* valueName;  // nullptr: the option takes no value
    bool equalsForm;        // Qt also reads "-name=value"
    const char* description;
};

constexpr QtOption kQtOptions[] = {
    {"platform", "name[:options]", false,
     "The platform plugin, such as xcb, wayland or offscreen."},
    {"platformpluginpath", "path", false, "Where to look for platform plugins."},
    {"platformtheme", "theme", false, "The platform theme."},
    {"plugin", "plugin", false, "An extra plugin to load; may be given more than once."},
    {"qmljsdebugger", "value", true, "Settings of the QML debugger, as port:1234[,block]."},
    {"qwindowgeometry", "geometry", false, "Size and place of the first window, as 800x600+0+0."},
    {"qwindowicon", "icon", false, "The icon of the windows."},
    {"qwindowtitle", "title", false, "The title of the first window."},
    {"reverse", nullptr, false, "Lays the windows out from right to left."},
    {"session", "session", false, "Restores an earlier session."},
    {"style", "style", true, "The widget style, such as Fusion."},
    {"stylesheet", "file", true, "A style sheet file for the widgets."},
    {"widgetcount", nullptr, false, "Reports at the end how many widgets were left over."},
    // X11's own: on another platform Qt leaves them alone, and so they do nothing.
    {"display", "display", false, "X11: the display to use instead of $DISPLAY."},
    {"geometry", "geometry", false, "X11: the same as --qwindowgeometry."},
    {"title", "title", false, "X11: the same as --qwindowtitle."},
    {"icon", "icon", false, "X11: the same as --qwindowicon."},
    {"name", "name", false, "X11: the instance name of the windows."},
    {"visual", "id", false, "X11: the id of the visual to use."},
    {"nograb", nullptr, false, "X11: never grab the mouse or the keyboard."},
    {"dograb", nullptr, false, "X11: grab them even under a debugger."},
    // Older Qt's and other platforms' options, which Qt 6 on this desktop ignores.
    {"sync", nullptr, false, "Older X11 Qt; ignored."},
    {"ncols", "count", false, "Older X11 Qt; ignored."},
    {"cmap", nullptr, false, "Older X11 Qt; ignored."},
    {"dialogs", "xp|none", true, "Windows only; ignored."},
    {"fontengine", "engine", true, "Windows only; ignored."},
};

const QtOption* findQtOption(const QString& name) {
    for (const QtOption& option : kQtOptions) {
        if (name == QLatin1String(option.name))
            return &option;
    }
    return nullptr;
}

void print(std::FILE* stream, const QString& text) {
    tellUser(stream, text);
}

// Ours are shown in the help; Qt's only in the full help.
void addOptions(QCommandLineParser& parser, bool showQtOptions) {
    parser.setApplicationDescription(
        QStringLiteral("A reflex game: click one of the two bouncing Moxels as fast as you can."));
    // "-platform" is one word, as Qt reads it, not the letters p, l, a, ...
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Displays this help.")});
    parser.addOption({QStringLiteral("help-all"),
                      QStringLiteral("Displays this help and the standard Qt options, which the "
                                     "game accepts too.")});
    parser.addVersionOption();
    parser.addOption(
        {QStringLiteral("precise-timers"),
         QStringLiteral("Honour every timer interval to the millisecond. By default the timers "
                        "keep the classic 10 ms steps the scores were made for.")});
    for (const QtOption& qt : kQtOptions) {
        QCommandLineOption option(QString::fromLatin1(qt.name),
                                  QString::fromLatin1(qt.description));
        if (qt.valueName)
            option.setValueName(QString::fromLatin1(qt.valueName));
        if (!showQtOptions)
            option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

QString usage(const QCommandLineParser& parser) {
    // With no application object yet, Qt cannot name the program in the usage.
    return parser.helpText().replace(QStringLiteral("<executable_name>"),
                                     QCoreApplication::applicationName());
}

// Most of Qt's values are read only as the next argument: Qt would pass over
// "-platform=offscreen", and the game would not run where the player asked.
QString valueAfterEqualsSign(const QStringList& arguments) {
    for (const QString& argument : arguments.mid(1)) {
        if (argument == QLatin1String("--"))
            break;
        if (!argument.startsWith(u'-') || !argument.contains(u'='))
            continue;
        const QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        const QtOption* qt = findQtOption(name.section(u'=', 0, 0));
        if (qt && qt->valueName && !qt->equalsForm) {
            return QStringLiteral(
                       "Qt reads the value of '-%1' only as the next argument: '-%1 %2'.")
                .arg(QString::fromLatin1(qt->name), name.section(u'=', 1));
        }
    }
    return {};
}

// Qt chooses the platform. Only where nothing names one, and no display is
// named either, would its default, X11, end the program with an abort.
bool displayOrPlatformNamed(const QCommandLineParser& parser) {
    for (const char* variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        if (!qEnvironmentVariableIsEmpty(variable))
            return true;
    }
    return parser.isSet(QStringLiteral("platform")) || parser.isSet(QStringLiteral("display"));
}

}  // namespace

std::variant<ui::Runtime::Options, int> readCommandLine(const QStringList& arguments,
                                                        DisplayAtStart display) {
    QCommandLineParser parser;
    addOptions(parser, false);
    QString error = valueAfterEqualsSign(arguments);
    if (error.isEmpty() && !parser.parse(arguments))
        error = parser.errorText();
    if (error.isEmpty() && !parser.positionalArguments().isEmpty())
        error =
            QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first());
    if (!error.isEmpty()) {
        print(stderr, error + QStringLiteral("\n\n") + usage(parser));
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        print(stdout, usage(parser));
        return 0;
    }
    if (parser.isSet(QStringLiteral("help-all"))) {
        QCommandLineParser all;
        addOptions(all, true);
        print(stdout, usage(all));
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        print(stdout, QCoreApplication::applicationName() + QLatin1Char(' ') +
                          QCoreApplication::applicationVersion() + QLatin1Char('\n'));
        return 0;
    }
    if (display == DisplayAtStart::MayBeMissing && !displayOrPlatformNamed(parser)) {
        print(stderr, QCoreApplication::applicationName() +
                          QStringLiteral(": no graphical display found: set DISPLAY or "
                                         "WAYLAND_DISPLAY, or choose a platform with -platform "
                                         "(such as -platform offscreen).\n"));
        return 1;
    }
    ui::Runtime::Options options;
    if (parser.isSet(QStringLiteral("precise-timers")))
        options.timerResolutionMs = ui::Runtime::kPreciseResolutionMs;
    return options;
}

}  // namespace moxel::start

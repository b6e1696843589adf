#include <QApplication>
#include <variant>

#include "Form10.h"
#include "command_line.h"
#include "display.h"
#include "platform.h"
#include "platform_start.h"

int main(int argc, char* argv[]) {
    using moxel::ui::Runtime;
    QCoreApplication::setApplicationName(QStringLiteral("catch-the-moxel"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MOXEL_VERSION));
    moxel::app::prepareToStart();
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const std::variant<Runtime::Options, int> commandLine =
        moxel::start::readCommandLine(arguments, moxel::app::kDisplayAtStart);
    if (const int* exitCode = std::get_if<int>(&commandLine))
        return *exitCode;

    moxel::start::prepareDisplay();
    // Qt's own options are still in argv; the application object reads them.
    moxel::start::guardPlatformStart();
    QApplication app(argc, argv);
    moxel::start::platformStarted();
    QApplication::setDesktopFileName(QStringLiteral("io.github.catch_the_moxel.CatchTheMoxel"));
    Runtime runtime(std::get<Runtime::Options>(commandLine));
    moxel::app::adaptToPlatform(runtime);
    moxel::ui::Form10 form(runtime);
    form.Form_Load();
    moxel::app::placeMainWindow(form);
    return QApplication::exec();
}

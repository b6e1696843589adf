// The game in a browser page: what the page does for it that a desktop does.
#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/html5.h>

#include <QApplication>
#include <QFontDatabase>
#include <QIcon>
#include <QWindow>

#include "../platform.h"
#include "Form10.h"

namespace moxel::app {

namespace {

bool programEnded = false;

EM_BOOL onAnimationFrame(double, void* pacer) {
    if (!programEnded)
        static_cast<ui::FramePacer*>(pacer)->frame();
    return EM_FALSE;
}

// The page shows that the game has ended and offers to play again. (The body
// is JavaScript, which the formatter would take for C++.)
// clang-format off
EM_JS(void, tellPageTheGameEnded, (), {
    if (typeof moxelGameEnded === "function")
        moxelGameEnded();
});
// clang-format on

void stopTheProgram(void*) {
    emscripten_force_exit(0);
}

// Qt 6.4's web platform leaves the keyboard with a window once it has closed
// (a menu's popup, the score window), and access keys then reach nothing. As
// on a desktop, the window beneath takes it: a menu's own window, else the
// window still open.
class KeyboardToTheNextWindow final : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && watched->isWidgetType()) {
            const auto* closing = static_cast<QWidget*>(watched);
            if (closing->isWindow()) {
                if (QWidget* next = nextWindow(*closing); next && next->windowHandle())
                    next->windowHandle()->requestActivate();
            }
        }
        return false;
    }

private:
    static QWidget* nextWindow(const QWidget& closing) {
        if (closing.windowType() == Qt::Popup)
            return closing.parentWidget() ? closing.parentWidget()->window() : nullptr;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window != &closing && window->isVisible() && window->windowType() != Qt::Popup)
                return window;
        }
        return nullptr;
    }
};

// The game's public face, as tests on the desktop read it (object names and
// Qt properties), for the page's scripts: moxelProperty("Form10", "t1").
std::string readProperty(const std::string& objectName, const std::string& property) {
    const QString name = QString::fromStdString(objectName);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        QObject* object = window->objectName() == name ? window : window->findChild<QObject*>(name);
        if (object)
            return object->property(property.c_str()).toString().toStdString();
    }
    return {};
}

EMSCRIPTEN_BINDINGS(moxel) {
    emscripten::function("moxelProperty", &readProperty);
}

}  // namespace

// A page always has its canvas, and nothing is said before it shows.
const ui::DisplayAtStart kDisplayAtStart = ui::DisplayAtStart::AlwaysThere;
void prepareToStart() {}

void adaptToPlatform(ui::Runtime& runtime) {
    // The browser gives Qt no fonts: these are the faces the game shows on
    // Linux, Qt's own DejaVu Sans (as Linux's default) among them.
    for (const char* face : {"ComicNeue-Regular.otf", "ComicNeue-Bold.otf",
                             "LiberationSans-Regular.ttf", "LiberationSans-Bold.ttf"}) {
        QFontDatabase::addApplicationFont(QStringLiteral("/fonts/") + QLatin1String(face));
    }
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    QIcon icon;
    for (const char* size : {"16", "32"})
        icon.addFile(QStringLiteral(":/icon/app-icon-%1.png").arg(QLatin1String(size)));
    QApplication::setWindowIcon(icon);
    qApp->installEventFilter(new KeyboardToTheNextWindow(qApp));

    // A page draws at the browser's animation frames, once each at the most.
    ui::FramePacer& pacer = runtime.framePacer();
    pacer.followDisplayFrames(
        [&pacer] { emscripten_request_animation_frame(onAnimationFrame, &pacer); });

    // The event loop of a page never returns: the page is told of the end,
    // frames stop, and once the handler that ended the game is done, the
    // program stops.
    runtime.endProgramBy([] {
        programEnded = true;
        tellPageTheGameEnded();
        emscripten_async_call(stopTheProgram, nullptr, 0);
    });
}

// The page is the desktop, with the main window, title bar and all, at its
// top left.
void placeMainWindow(ui::Form10& form) {
    form.move(0, 0);
}

}  // namespace moxel::app

// The game in a browser page: what the page does for it that a desktop does.
#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/html5.h>

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QIcon>
#include <QWindow>

#include "../platform.h"
#include "Form10.h"
#include "control.h"

namespace moxel::app {

namespace {

bool programEnded = false;

EM_BOOL onAnimationFrame(double, void* pacer) {
    if (!programEnded)
        static_cast<ui::FramePacer*>(pacer)->frame();
    return EM_FALSE;
}

// The page tells the player once the program has stopped.
void stopTheProgram(void*) {
    emscripten_force_exit(0);
}

// A face that came under another name stands in for that one, also where
// the game's names map to it: Qt follows one substitution, not a chain. Its
// table keeps the faces' names in lower case.
void standIn(const QString& face, const QString& family) {
    QFont::insertSubstitution(face, family);
    for (const QString& asked : QFont::substitutions()) {
        QStringList faces = QFont::substitutes(asked);
        if (const qsizetype at = faces.indexOf(face.toLower()); at >= 0) {
            faces[at] = family;
            QFont::removeSubstitutions(asked);
            QFont::insertSubstitutions(asked, faces);
        }
    }
}

// The browser has no fonts for Qt. The game's come with the program, each in
// a folder named after the face the game asks for.
void addTheGamesFonts() {
    ui::installFontSubstitutes();
    const QDir faces(QStringLiteral(":/fonts/game"));
    for (const QString& face : faces.entryList(QDir::Dirs)) {
        const QDir files(faces.filePath(face));
        for (const QString& file : files.entryList(QDir::Files)) {
            const int id = QFontDatabase::addApplicationFont(files.filePath(file));
            for (const QString& family : QFontDatabase::applicationFontFamilies(id)) {
                if (family != face)
                    standIn(face, family);
            }
        }
    }
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

// Every window drawn anew after a resize of the page (a rotation, a zoom),
// which may have changed the pixel ratio Qt draws at, maybe more than once:
// Qt 6.4's web platform gives a window new pixels as it paints it next, and
// where that paint did not reach they hold whatever the memory held. Each
// control is updated, as a window's update leaves its opaque controls be.
// Drawn in place, the windows keep their stacking, the active one and the
// focus.
void redraw() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible())
            continue;
        window->update();
        for (QWidget* control : window->findChildren<QWidget*>())
            control->update();
    }
}

EMSCRIPTEN_BINDINGS(moxel) {
    emscripten::function("moxelRedraw", &redraw);
}

}  // namespace

// A page always has its canvas, and nothing is said before it shows.
const start::DisplayAtStart kDisplayAtStart = start::DisplayAtStart::AlwaysThere;
void prepareToStart() {}

void adaptToPlatform(ui::Runtime& runtime) {
    addTheGamesFonts();
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

    // The event loop of a page never returns: frames stop, and once the
    // handler that ended the game is done, the program stops.
    runtime.endProgramBy([] {
        programEnded = true;
        emscripten_async_call(stopTheProgram, nullptr, 0);
    });
}

// The page is the desktop, with the main window, title bar and all, at its
// top left.
void placeMainWindow(ui::Form10& form) {
    form.move(0, 0);
}

}  // namespace moxel::app

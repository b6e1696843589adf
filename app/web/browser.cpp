// The game in a browser page: what the page does for it that a desktop does.
#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/html5.h>

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
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

// The page tells the player once the program has stopped.
void stopTheProgram(void*) {
    emscripten_force_exit(0);
}

// The browser has no fonts for Qt. The game's come with the program, each in
// a folder named after the face the game asks for; a face that came under
// another name stands in for that one.
void addTheGamesFonts() {
    const QDir faces(QStringLiteral(":/fonts/game"));
    for (const QString& face : faces.entryList(QDir::Dirs)) {
        const QDir files(faces.filePath(face));
        for (const QString& file : files.entryList(QDir::Files)) {
            const int id = QFontDatabase::addApplicationFont(files.filePath(file));
            for (const QString& family : QFontDatabase::applicationFontFamilies(id)) {
                if (family != face)
                    QFont::insertSubstitution(face, family);
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

// Every window drawn anew at the density the page now has (after a rotation
// or a zoom). Qt 6.4's web platform leaves a window garbled when its density
// changes, however it is repainted; shown again, it is whole. The windows
// come back where they were, in the same order, the game unchanged.
void redraw() {
    QList<QWidget*> shown;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->isVisible() && window->windowType() != Qt::Popup)
            shown << window;
    }
    QList<QRect> places;
    for (QWidget* window : shown) {
        places << window->geometry();
        window->hide();
    }
    for (qsizetype i = 0; i < shown.size(); ++i) {
        shown[i]->showNormal();
        shown[i]->setGeometry(places[i]);
    }
}

// The game's public face, as tests on the desktop read it (object names and
// Qt properties), for the page's scripts: moxelProperty("Form10", "t1"). A
// name the windows share is told by its window's: "Form11.Command1".
QObject* findObject(const std::string& objectName) {
    const QStringList names = QString::fromStdString(objectName).split(u'.');
    const QString& name = names.last();
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (names.size() > 1 && window->objectName() != names.first())
            continue;
        if (QObject* object =
                window->objectName() == name ? window : window->findChild<QObject*>(name)) {
            return object;
        }
    }
    return nullptr;
}

std::string readProperty(const std::string& objectName, const std::string& property) {
    const QObject* object = findObject(objectName);
    return object ? object->property(property.c_str()).toString().toStdString() : std::string();
}

// Where an object of that face is shown, in the screen's pixels: "left top
// width height", or "" where it is not. A menu is its title on the menu bar;
// a menu's command, its row in the open menu.
QRect placeOf(const QObject* object) {
    if (const auto* menu = qobject_cast<const QMenu*>(object); menu && !menu->isVisible()) {
        if (auto* bar = qobject_cast<QMenuBar*>(menu->parentWidget()))
            return bar->actionGeometry(menu->menuAction()).translated(bar->mapToGlobal(QPoint()));
    }
    if (const auto* action = qobject_cast<const QAction*>(object)) {
        for (QObject* associated : action->associatedObjects()) {
            if (auto* menu = qobject_cast<QMenu*>(associated); menu && menu->isVisible())
                return menu->actionGeometry(const_cast<QAction*>(action))
                    .translated(menu->mapToGlobal(QPoint()));
        }
    }
    if (const auto* widget = qobject_cast<const QWidget*>(object); widget && widget->isVisible())
        return {widget->mapToGlobal(QPoint()), widget->size()};
    return {};
}

std::string readPlace(const std::string& objectName) {
    const QRect place = placeOf(findObject(objectName));
    if (!place.isValid())
        return {};
    return QStringLiteral("%1 %2 %3 %4")
        .arg(place.x())
        .arg(place.y())
        .arg(place.width())
        .arg(place.height())
        .toStdString();
}

EMSCRIPTEN_BINDINGS(moxel) {
    emscripten::function("moxelProperty", &readProperty);
    emscripten::function("moxelPlace", &readPlace);
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

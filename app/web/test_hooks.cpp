// The game's public face, as tests on the desktop read it (object names and
// Qt properties), for the page's scripts: moxelProperty("Form10", "t1") and
// moxelRect("Form11.Command1"). A name the windows share is told by its
// window's: "Form11.Command1".
#include <emscripten/bind.h>

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>
#include <string>

namespace moxel::app {

namespace {

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

// Where an object is shown, in the screen's pixels. A menu is its title on
// the menu bar; a menu's command, its row in the open menu.
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

// "left top width height", or "" where the object is not shown.
std::string readRect(const std::string& objectName) {
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

EMSCRIPTEN_BINDINGS(moxel_test_hooks) {
    emscripten::function("moxelProperty", &readProperty);
    emscripten::function("moxelRect", &readRect);
}

}  // namespace

}  // namespace moxel::app

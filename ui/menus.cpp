#include "menus.h"

namespace moxel::ui {

MenuTitle::MenuTitle(QMenuBar* bar, const char* name, const QString& caption)
    : QMenu(caption, bar) {
    setObjectName(QString::fromLatin1(name));
    bar->addMenu(this);
}

MenuItem::MenuItem(MenuTitle* title, const char* name, const QString& caption)
    : QAction(caption, title) {
    setObjectName(QString::fromLatin1(name));
    title->addAction(this);
    connect(this, &QAction::triggered, this, [this, title] {
        if (title->Enabled())
            emit Click();
    });
}

}  // namespace moxel::ui

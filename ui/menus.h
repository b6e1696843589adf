#pragma once

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace moxel::ui {

// A title on the menu bar. While unavailable (Enabled false) it cannot be opened
// and none of its commands can be chosen.
class MenuTitle : public QMenu {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption)
    Q_PROPERTY(bool Enabled READ Enabled WRITE setAvailable)

public:
    MenuTitle(QMenuBar* bar, const char* name, const QString& caption);

    QString Caption() const { return title(); }
    bool Enabled() const { return menuAction()->isEnabled(); }
    void setAvailable(bool available) { menuAction()->setEnabled(available); }
};

// A command in a title's list. Click is emitted only while the title is available.
class MenuItem : public QAction {
    Q_OBJECT
    Q_PROPERTY(QString Caption READ Caption)
    Q_PROPERTY(bool Enabled READ isEnabled)

public:
    MenuItem(MenuTitle* title, const char* name, const QString& caption);

    QString Caption() const { return text(); }

signals:
    void Click();
};

}  // namespace moxel::ui

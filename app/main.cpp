#include <QApplication>

#include "Form10.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Catch the Moxel"));
    QApplication::setDesktopFileName(QStringLiteral("io.github.catch_the_moxel.CatchTheMoxel"));
    moxel::ui::Form10 form;
    form.Form_Load();
    return QApplication::exec();
}

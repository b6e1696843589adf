#include "program.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>

namespace moxel::ui::program {

namespace {
bool ended = false;
}

void end() {
    ended = true;
    QCoreApplication::exit(0);
    // exit() only stops a running loop; this stops one that starts later.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

bool hasEnded() {
    return ended;
}

void reportError(QWidget* window, const RuntimeError& error) {
    // One message window at a time: a repeating error updates it instead of
    // piling up windows, and it never blocks the game.
    static QPointer<QMessageBox> box;
    if (!box) {
        box = new QMessageBox(QMessageBox::Critical, QStringLiteral("Run-time error"), QString(),
                              QMessageBox::Ok, window ? window->window() : nullptr);
        box->setObjectName(QStringLiteral("RuntimeError"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);
        box->setInformativeText(
            QStringLiteral("The current action was stopped; the game goes on."));
    }
    box->setText(QString::fromUtf8(error.name().data(), qsizetype(error.name().size())));
    box->show();
    box->raise();
}

}  // namespace moxel::ui::program

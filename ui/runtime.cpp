#include "runtime.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace moxel::ui {

Runtime::Runtime(Options options) : options_(options), pacer_(options.frameClock) {
    if (options.frameClock && QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

Runtime::~Runtime() {
    delete errorBox_;
}

bool Runtime::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
            pacer_.catchUp();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

void Runtime::end() {
    ended_ = true;
    if (ending_) {
        ending_();
        return;
    }
    QCoreApplication::exit(0);
    // exit() only stops a running loop; this stops one that starts later.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
}

void Runtime::reportError(QWidget* window, const RuntimeError& error) {
    if (!errorBox_) {
        errorBox_ =
            new QMessageBox(QMessageBox::Critical, QStringLiteral("Run-time error"), QString(),
                            QMessageBox::Ok, window ? window->window() : nullptr);
        errorBox_->setObjectName(QStringLiteral("RuntimeError"));
        errorBox_->setAttribute(Qt::WA_DeleteOnClose);
        errorBox_->setWindowModality(Qt::NonModal);
        errorBox_->setInformativeText(
            QStringLiteral("The current action was stopped; the game goes on."));
        connect(errorBox_, &QDialog::finished, this, &Runtime::errorDismissed);
    }
    errorBox_->setText(QString::fromUtf8(error.name().data(), qsizetype(error.name().size())));
    errorBox_->show();
    errorBox_->raise();
}

}  // namespace moxel::ui

// Renders the start screen, the play screen and the score window to PNG files,
// for the README. Usage: moxel-screenshots <folder>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <cstdio>

#include "Form10.h"
#include "Form11.h"

namespace {

bool save(QWidget& window, const QDir& folder, const char* name) {
    const QString path = folder.filePath(QString::fromLatin1(name));
    if (!window.grab().save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
    if (!folder.exists() && !QDir().mkpath(folder.path()))
        return 1;

    moxel::ui::Form10 form;
    form.Form_Load();
    // Stand the timers still: the pictures show chosen moments of a game.
    form.Timer1->setEnabled(false);
    form.Timer3->setEnabled(false);
    bool ok = save(form, folder, "start-screen.png");

    form.Command1_Click();
    form.Timer1->setEnabled(false);
    form.Timer3->setEnabled(false);
    for (int tick = 0; tick < 25; ++tick)
        form.Timer1_Timer();
    for (int tick = 0; tick < 257; ++tick)
        form.Timer3_Timer();
    ok = save(form, folder, "play-screen.png") && ok;

    form.Image1_Click(0);
    if (moxel::ui::Form11* score = form.scoreWindow()) {
        ok = save(*score, folder, "score-window.png") && ok;
    } else {
        ok = false;
    }
    return ok ? 0 : 1;
}

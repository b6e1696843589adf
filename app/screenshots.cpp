// Renders the start screen, the play screen and the score window to PNG files,
// for the README: moxel-screenshots <folder>. With --steps, the steps the web
// page's check compares with this build's: the start screen, a game stopped at
// level 3, and its score window.
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

// Stands the timers still: the pictures show chosen moments of a game.
void standStill(moxel::ui::Form10& form) {
    form.Timer1->setEnabled(false);
    form.Timer3->setEnabled(false);
}

bool readme(moxel::ui::Form10& form, const QDir& folder) {
    bool ok = save(form, folder, "start-screen.png");
    form.Command1_Click();
    standStill(form);
    for (int tick = 0; tick < 25; ++tick)
        form.Timer1_Timer();
    for (int tick = 0; tick < 257; ++tick)
        form.Timer3_Timer();
    ok = save(form, folder, "play-screen.png") && ok;
    form.Image1_Click(0);
    moxel::ui::Form11* score = form.scoreWindow();
    return score && save(*score, folder, "score-window.png") && ok;
}

bool steps(moxel::ui::Form10& form, const QDir& folder) {
    bool ok = save(form, folder, "start-screen.png");
    form.Command1_Click();
    form.Command2_Click();
    form.mnuLevel3_Click();
    standStill(form);
    for (int tick = 0; tick < 300; ++tick)
        form.Timer1_Timer();
    form.Command2_Click();
    // The check masks the Moxels where its game left them; here they would
    // hide what lies beneath.
    for (const char* moxel : {"Image1(0)", "Image1(1)"})
        form.findChild<QObject*>(QLatin1String(moxel))->setProperty("Visible", false);
    ok = save(form, folder, "stopped-at-level-3.png") && ok;
    for (const char* moxel : {"Image1(0)", "Image1(1)"})
        form.findChild<QObject*>(QLatin1String(moxel))->setProperty("Visible", true);
    form.Image1_Click(0);
    moxel::ui::Form11* score = form.scoreWindow();
    return score && save(*score, folder, "score-window.png") && ok;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const bool forTheCheck = argc > 2 && QLatin1String(argv[1]) == QLatin1String("--steps");
    const QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[argc - 1]) : QStringLiteral("."));
    if (!folder.exists() && !QDir().mkpath(folder.path()))
        return 1;

    moxel::ui::Form10 form;
    form.Form_Load();
    standStill(form);
    return (forTheCheck ? steps(form, folder) : readme(form, folder)) ? 0 : 1;
}

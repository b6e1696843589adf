// Runs with QT_SCALE_FACTOR=2: the windows scale as a whole, twips stay twips.
#include "ui_test_support.h"

using namespace moxel::ui;
using namespace moxel::ui::testing;

class HighDpiTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { quietOffscreenNotes(); }

    void windowsScaleAsAWholeAndKeepTheirTwips() {
        Form10 form;
        loaded(form);
        QCOMPARE(form.devicePixelRatio(), 2.0);
        QCOMPARE(form.centralWidget()->size(), QSize(733, 532));
        QCOMPARE(form.Command1->geometry(), QRect(472, 312, 201, 57));

        const QPixmap screen = form.grab();
        QCOMPARE(screen.devicePixelRatio(), 2.0);
        QCOMPARE(screen.size(), form.size() * 2);

        form.Command1_Click();
        freezeTimers(form);
        form.Timer1_Timer();
        QCOMPARE(form.Image1[0]->Left(), 290.0f);
        QCOMPARE(form.Image1[0]->Top(), 2210.0f);
        QCOMPARE(form.Image1[0]->pos(), QPoint(19, 147));

        // The shrunk target is drawn from the picture at the screen's own pixels,
        // so it shows more detail than a doubled 19 x 13 image would.
        const QImage target = form.Image1[1]->grab().toImage();
        QCOMPARE(target.size(), QSize(38, 26));
        QSet<QRgb> colours;
        for (int y = 0; y < target.height(); ++y) {
            for (int x = 0; x < target.width(); ++x)
                colours.insert(target.pixel(x, y));
        }
        QVERIFY2(colours.size() > 20, qPrintable(QString::number(colours.size())));

        clockTicks(form, 10);
        form.Image1_Click(0);
        QCOMPARE(form.scoreWindow()->geometry(), QRect(340, 350, 466, 185));
        QCOMPARE(form.scoreWindow()->Label8->property("Left").toFloat(), 2400.0f);
    }
};

QTEST_MAIN(HighDpiTest)
#include "hidpi_test.moc"

// Runs with QT_SCALE_FACTOR set (2, and 1.5 as at 150 % scaling): the windows
// scale as a whole, twips stay twips.
#include <QPainter>

#include "ui_test_support.h"

using namespace moxel::ui;
using namespace moxel::ui::testing;

namespace {

// Mean difference per colour channel (0 to 255) between a grab and a picture of
// the same pixel size, over the pixels the picture covers.
double difference(const QImage& grab, const QImage& picture) {
    const QImage a = grab.convertToFormat(QImage::Format_ARGB32);
    const QImage b = picture.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    int count = 0;
    for (int y = 0; y < b.height(); ++y) {
        for (int x = 0; x < b.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (qAlpha(q) < 255)
                continue;
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
            ++count;
        }
    }
    return count ? sum / (3 * count) : 255;
}

// The picture laid over black: text on a transparent control compares by its
// antialiased edges too.
QImage onBlack(const QImage& picture, QSize size) {
    QImage result(size, QImage::Format_ARGB32);
    result.fill(Qt::black);
    QPainter(&result).drawImage(QRect(QPoint(), size), picture);
    return result;
}

QImage resource(const QString& name, QSize size) {
    return QImage(QStringLiteral(":/pictures/") + name)
        .scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

}  // namespace

class HighDpiTest : public QObject {
    Q_OBJECT

    // The scale the test was started with, as the player set it.
    const qreal ratio = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble();

private slots:
    void initTestCase() {
        quietOffscreenNotes();
        QVERIFY2(ratio >= 1.5, "run with QT_SCALE_FACTOR at 1.5 or more");
    }

    void windowsScaleAsAWholeAndKeepTheirTwips() {
        Form10 form;
        loaded(form);
        QCOMPARE(form.devicePixelRatio(), ratio);
        QCOMPARE(form.centralWidget()->size(), QSize(733, 532));
        QCOMPARE(form.Command1->geometry(), QRect(472, 312, 201, 57));

        const QPixmap screen = form.grab();
        QCOMPARE(screen.devicePixelRatio(), ratio);
        QCOMPARE(screen.size(), form.size() * ratio);

        form.Command1_Click();
        freezeTimers(form);
        form.Timer1_Timer();
        QCOMPARE(form.Image1[0]->Left(), 290.0f);
        QCOMPARE(form.Image1[0]->Top(), 2210.0f);
        QCOMPARE(form.Image1[0]->pos(), QPoint(19, 147));

        // The shrunk target is drawn from the picture at the screen's own pixels,
        // so it shows more detail than an enlarged 19 x 13 image would.
        const QImage target = form.Image1[1]->grab().toImage();
        QCOMPARE(target.size(), QSize(19, 13) * ratio);
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

    // The double-size pictures are drawn at the controls' logical size, in the
    // screen's own pixels: the grab is closer to them than to the small pictures
    // enlarged, and at ratio 2 it matches them.
    void picturesShowTheirDoubleSizeDetail() {
        Form10 form;
        loaded(form);
        const QImage portrait = form.Image5->grab().toImage();
        form.Command1_Click();
        freezeTimers(form);
        const std::pair<QImage, QString> grabs[] = {
            {portrait, "portrait.jpg"},
            {form.Image4->grab().toImage(), "banner.gif"},
            {form.Image1[1]->grab().toImage(), "target.gif"}};
        for (const auto& [grab, file] : grabs) {
            const QString twice = QString(file).insert(file.lastIndexOf(u'.'), "@2x");
            const double large = difference(grab, resource(twice, grab.size()));
            const double small = difference(grab, resource(file, grab.size()));
            QVERIFY2(
                ratio == 2 ? large < 1 && small > 2 : large < 5 && large < small / 2,
                qPrintable(QStringLiteral("%1: %2 against %3").arg(file).arg(large).arg(small)));
        }
    }

    // Text is drawn at the screen's own pixels, also where it comes from memory:
    // the title reads as Qt's own label draws it, not as its 1x pixels enlarged,
    // and the clock box, drawn from memory, as a new box draws it.
    void textIsDrawnAtTheScreensPixels() {
        Form10 form;
        loaded(form);
        QLabel reference(form.Label1->text(), form.centralWidget());
        reference.setGeometry(form.Label1->geometry());
        reference.setFont(form.Label1->font());
        reference.setPalette(form.Label1->palette());
        reference.setAlignment(form.Label1->alignment());
        reference.setWordWrap(true);
        const QImage grabbed = form.Label1->grab().toImage();
        const QSize pixels = grabbed.size();
        const QImage title = onBlack(grabbed, pixels);
        QPixmap onePixelPerPoint(reference.size());
        onePixelPerPoint.fill(Qt::transparent);
        reference.render(&onePixelPerPoint, {}, {}, {});
        const QImage enlarged = onBlack(onePixelPerPoint.toImage(), pixels);
        const double sharp = difference(title, onBlack(reference.grab().toImage(), pixels));
        const double blurred = difference(title, enlarged);
        QVERIFY2(sharp == 0 && blurred > 0.5,
                 qPrintable(QStringLiteral("%1 against %2").arg(sharp).arg(blurred)));

        form.Command1_Click();
        freezeTimers(form);
        form.Text1->setTextValue(QStringLiteral("42"));
        form.Text1->grab();  // drawn once, then from memory
        TextBox fresh(form.centralWidget(), "Fresh", {1080, 600, 615, 405}, true, "42",
                      form.Text1->font());
        QCOMPARE(form.Text1->grab().toImage(), fresh.grab().toImage());
    }
};

QTEST_MAIN(HighDpiTest)
#include "hidpi_test.moc"

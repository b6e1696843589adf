// A binary of its own: the main window here is the first of its process, as the
// only one a player ever sees is. Each font the windows name resolves to the
// face installed for it, in the first window as in every later one.
#include <QFontInfo>

#include "ui_test_support.h"

using namespace moxel::ui;
using namespace moxel::ui::testing;

class FirstWindowFontsTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Form10> form;

private slots:
    void initTestCase() {
        quietOffscreenNotes();
        form = std::make_unique<Form10>();
        loaded(*form);
        form->loadScoreWindow();
    }
    void cleanupTestCase() { form.reset(); }

    void designFontsResolveToTheirSubstitutes_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("face");
        // MS Sans Serif, the clock's and the window's font.
        QTest::newRow("Text1") << "Form10" << "Text1" << "Liberation Sans";
        QTest::newRow("Text2") << "Form10" << "Text2" << "Liberation Sans";
        QTest::newRow("Label5") << "Form10" << "Label5" << "Liberation Sans";
        QTest::newRow("Command1") << "Form10" << "Command1" << "Liberation Sans";
        // Comic Sans MS.
        QTest::newRow("Label1") << "Form10" << "Label1" << "Comic Neue";
        QTest::newRow("score Label1") << "Form11" << "Label1" << "Comic Neue";
        // Arial.
        QTest::newRow("score Label3") << "Form11" << "Label3" << "Liberation Sans";
    }
    void designFontsResolveToTheirSubstitutes() {
        QFETCH(QString, window);
        QFETCH(QString, control);
        QFETCH(QString, face);
        QWidget* top = window == "Form10" ? static_cast<QWidget*>(form.get()) : form->scoreWindow();
        QWidget* widget = top->findChild<QWidget*>(control);
        QVERIFY(widget);
        QCOMPARE(QFontInfo(widget->font()).family(), face);
    }
};

QTEST_MAIN(FirstWindowFontsTest)
#include "first_window_fonts_test.moc"

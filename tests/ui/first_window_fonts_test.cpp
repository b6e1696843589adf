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
        const char* const rows[][3] = {
            // MS Sans Serif, the clock's and the window's font.
            {"Form10", "Text1", "Liberation Sans"},
            {"Form10", "Text2", "Liberation Sans"},
            {"Form10", "Label5", "Liberation Sans"},
            {"Form10", "Command1", "Liberation Sans"},
            // Comic Sans MS.
            {"Form10", "Label1", "Comic Neue"},
            {"Form11", "Label1", "Comic Neue"},
            // Arial.
            {"Form11", "Label3", "Liberation Sans"},
        };
        for (const auto& [window, control, face] : rows)
            QTest::addRow("%s %s", window, control) << window << control << face;
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

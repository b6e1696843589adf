#pragma once

#include <QGlyphRun>
#include <QLabel>

#include "control.h"

namespace moxel::ui {

// A label: text in ForeColor, on a transparent background (BackStyle 0) or
// filled with BackColor (BackStyle 1); wraps at blanks and clips.
class Label : public Control<QLabel> {
    Q_OBJECT
    MOXEL_CONTROL_PROPERTIES
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption)
    Q_PROPERTY(quint32 ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(quint32 BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(int BackStyle READ BackStyle WRITE setBackStyle)

public:
    enum Alignment { LeftJustify = 0, RightJustify = 1, Center = 2 };
    enum BackStyleValue { Transparent = 0, Opaque = 1 };

    struct Look {
        quint32 foreColor;
        Alignment alignment;
        FontSpec font;
        BackStyleValue backStyle = Transparent;
        quint32 backColor = 0x8000000F;
    };

    Label(QWidget* parent, const char* name, const TwipsRect& rect, bool visible,
          const QString& caption, const Look& look);

    QString Caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }
    quint32 ForeColor() const { return foreColor_; }
    void setForeColor(quint32 color);
    quint32 BackColor() const { return backColor_; }
    void setBackColor(quint32 color);
    int BackStyle() const { return backStyle_; }
    void setBackStyle(int style);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void applyColors();

    // What the text's layout depends on; it is laid out again only when that changes.
    struct TextLook {
        QString text;
        QFont font;
        int width = -1;
        Qt::Alignment alignment;
        bool operator==(const TextLook&) const = default;
    };
    TextLook currentLook() const;
    void layOutText(const TextLook& look);

    // The laid-out text as glyphs, each with the rectangle its ink may cover.
    struct Glyphs {
        QGlyphRun run;
        QList<QRectF> inkRects;
    };
    // The glyphs whose ink may fall within `area`.
    static QGlyphRun glyphsWithin(const Glyphs& glyphs, const QRectF& area);

    quint32 foreColor_;
    quint32 backColor_;
    int backStyle_;
    TextLook laidOutLook_;
    QList<Glyphs> laidOutGlyphs_;
};

}  // namespace moxel::ui

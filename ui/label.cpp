#include "label.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

namespace moxel::ui {

Label::Label(QWidget* parent, const char* name, const TwipsRect& rect, bool visible,
             const QString& caption, const Look& look)
    : Control(parent, name, rect, visible),
      foreColor_(look.foreColor),
      backColor_(look.backColor),
      backStyle_(look.backStyle) {
    setTextFormat(Qt::PlainText);
    setWordWrap(true);
    static constexpr Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignRight, Qt::AlignHCenter};
    setAlignment(horizontal[look.alignment] | Qt::AlignTop);
    if (look.font.family)
        setFont(makeFont(look.font));
    setText(caption);
    applyColors();
}

void Label::setForeColor(quint32 color) {
    foreColor_ = color;
    applyColors();
}

void Label::setBackColor(quint32 color) {
    backColor_ = color;
    applyColors();
}

void Label::setBackStyle(int style) {
    backStyle_ = style;
    applyColors();
}

void Label::applyColors() {
    setColor(*this, QPalette::WindowText, foreColor_);
    setColor(*this, QPalette::Window, backColor_);
    setAutoFillBackground(backStyle_ == Opaque);
}

Label::TextLook Label::currentLook() const {
    return {text(), font(), contentsRect().width(), alignment()};
}

void Label::layOutText(const TextLook& look) {
    laidOutLook_ = look;
    QTextOption option(look.alignment & Qt::AlignHorizontal_Mask);
    option.setWrapMode(QTextOption::WordWrap);
    option.setTextDirection(Qt::LeftToRight);
    QTextLayout layout(look.text, look.font);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal height = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(look.width);
        line.setPosition({0, height});
        height += line.height();
    }
    layout.endLayout();
    laidOutGlyphs_.clear();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        Glyphs glyphs{run, {}};
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size(); ++i) {
            // A pixel more each way for the antialiased edge.
            glyphs.inkRects.push_back(run.rawFont()
                                          .boundingRect(indexes[i])
                                          .translated(positions[i])
                                          .adjusted(-1, -1, 1, 1));
        }
        laidOutGlyphs_.push_back(glyphs);
    }
}

QGlyphRun Label::glyphsWithin(const Glyphs& glyphs, const QRectF& area) {
    QList<quint32> indexes;
    QList<QPointF> positions;
    const QList<quint32> allIndexes = glyphs.run.glyphIndexes();
    const QList<QPointF> allPositions = glyphs.run.positions();
    for (qsizetype i = 0; i < allIndexes.size(); ++i) {
        if (glyphs.inkRects[i].intersects(area)) {
            indexes.push_back(allIndexes[i]);
            positions.push_back(allPositions[i]);
        }
    }
    QGlyphRun within = glyphs.run;
    within.setGlyphIndexes(indexes);
    within.setPositions(positions);
    return within;
}

void Label::paintEvent(QPaintEvent* event) {
    // A target crossing the label repaints a small part of it at every frame:
    // the text is laid out once, and only the glyphs in that part are drawn.
    if (const TextLook look = currentLook(); !(look == laidOutLook_))
        layOutText(look);
    const QPointF origin = contentsRect().topLeft();
    const QRectF repaint = QRectF(event->rect()).translated(-origin);
    QPainter painter(this);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Normal : QPalette::Disabled, foregroundRole()));
    for (const Glyphs& glyphs : laidOutGlyphs_)
        painter.drawGlyphRun(origin, glyphsWithin(glyphs, repaint));
}

}  // namespace moxel::ui

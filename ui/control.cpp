#include "control.h"

#include <cmath>

#include "client_area.h"
#include "vb_color.h"

namespace moxel::ui {

namespace {

int nearestPixel(float twips) {
    return int(std::lround(twips / kTwipsPerPixel));
}

}  // namespace

// Maps the design's font names to faces this desktop has. It must come before
// the first font is made: a control that resolved its font without it keeps
// the fallback face. Qt's table of substitutes says whether it has been done.
void installFontSubstitutes() {
    if (!QFont::substitutes(QStringLiteral("MS Sans Serif")).isEmpty())
        return;
    QFont::insertSubstitutions(QStringLiteral("Comic Sans MS"),
                               {QStringLiteral("Comic Neue"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
}

QRect toPixels(const TwipsRect& rect) {
    return {nearestPixel(rect.left), nearestPixel(rect.top), nearestPixel(rect.width),
            nearestPixel(rect.height)};
}

QFont makeFont(const FontSpec& design) {
    installFontSubstitutes();
    QFont font(QString::fromLatin1(design.family));
    font.setPointSizeF(design.points);
    font.setBold(design.bold);
    return font;
}

void setColor(QWidget& widget, QPalette::ColorRole role, quint32 value) {
    QPalette palette = widget.palette();
    palette.setColor(role, vbColor(value));
    widget.setPalette(palette);
}

FramePacer& framePacerOf(QWidget* clientArea) {
    return qobject_cast<ClientArea*>(clientArea)->framePacer();
}

void stackControls(std::initializer_list<QWidget*> windowed,
                   std::initializer_list<QWidget*> graphical) {
    // Raising in reverse creation order leaves the first-created control on top.
    for (auto it = std::rbegin(graphical); it != std::rend(graphical); ++it)
        (*it)->raise();
    for (auto it = std::rbegin(windowed); it != std::rend(windowed); ++it)
        (*it)->raise();
}

}  // namespace moxel::ui

#include "vb_color.h"

#include <array>

namespace moxel::ui {

namespace {

// The classic standard desktop scheme, so the game looks the same on every
// desktop: the layouts were designed against it (yellow text on a black window).
constexpr std::array<QRgb, 25> kSchemeColors{
    0xFFC0C0C0,  // scroll bars
    0xFF3A6EA5,  // desktop
    0xFF0A246A,  // active title bar
    0xFF808080,  // inactive title bar
    0xFFD4D0C8,  // menu bar
    0xFFFFFFFF,  // window background
    0xFF000000,  // window frame
    0xFF000000,  // menu text
    0xFF000000,  // window text
    0xFFFFFFFF,  // title bar text
    0xFFD4D0C8,  // active border
    0xFFD4D0C8,  // inactive border
    0xFF808080,  // application workspace
    0xFF0A246A,  // selection background
    0xFFFFFFFF,  // selection text
    0xFFD4D0C8,  // button face
    0xFF808080,  // button shadow
    0xFF808080,  // disabled text
    0xFF000000,  // button text
    0xFFD4D0C8,  // inactive title bar text
    0xFFFFFFFF,  // button highlight
    0xFF404040,  // button dark shadow
    0xFFD4D0C8,  // button light shadow
    0xFF000000,  // tooltip text
    0xFFFFFFE1,  // tooltip background
};

}  // namespace

QColor vbColor(quint32 value) {
    if (value & 0x80000000u) {
        const quint32 index = value & 0xFFu;
        return index < kSchemeColors.size() ? QColor::fromRgb(kSchemeColors[index])
                                            : QColor(Qt::black);
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

}  // namespace moxel::ui

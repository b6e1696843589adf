#pragma once

#include <QColor>
#include <QtGlobal>

namespace moxel::ui {

// A colour as the layouts write it: &H00BBGGRR (red in the low byte), or
// &H800000nn for the desktop scheme's colour number nn.
QColor vbColor(quint32 value);

namespace vb {
inline constexpr quint32 kWindowText = 0x80000008;
inline constexpr quint32 kTitleBarText = 0x80000009;
inline constexpr quint32 kHighlight = 0x8000000D;
inline constexpr quint32 kHighlightText = 0x8000000E;
inline constexpr quint32 kButtonFace = 0x8000000F;
}  // namespace vb

}  // namespace moxel::ui

// The window's pictures, drawn in code at the sizes the window relies on.
#pragma once

#include <QPixmap>

namespace k7310 {

QPixmap LampOffPicture();       // 25 x 25
QPixmap LampOnPicture();        // 41 x 41; only its top-left 25 x 25 shows in the lamp
QPixmap FaderBackPicture();     // 163 x 250, the fader scale
QPixmap FaderKnobPicture();     // 12 x 13
QPixmap FaderKnobHotPicture();  // 12 x 13, the knob while it is dragged
// The three 41 x 41 icons of the Mid row: normal channel, Low-Mid bridged, High-Mid bridged.
QPixmap BtlNormalPicture();
QPixmap BtlLowMidPicture();
QPixmap BtlHighMidPicture();
// The speaker icon at the start of a strip row, 41 x 41; the Mid row's normal BTL icon is the same picture.
QPixmap ChannelIconPicture();
// The thin line behind an output row.
QPixmap RowLinePicture(int width, int height);
// The background of the delay panel.
QPixmap DelayBackPicture(int width, int height);
// The bridged wiring shown by the "BTL Mode" window, 713 x 157.
QPixmap BtlWiringPicture();

}  // namespace k7310

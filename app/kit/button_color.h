// Button face colours. The buttons of this window are coloured through a style sheet; the colour set last is kept
// on the button so that the program (and its tests) can read it back.
#pragma once

#include <QColor>

class QPushButton;

namespace k7310 {

// The design colour of every button, and the colour of the button whose panel is open (also the hot-track colour).
inline const QColor kButtonNormal{224, 224, 224};
inline const QColor kButtonOpen{255, 255, 128};
// Mute on, chosen BTL mode, recoup on.
inline const QColor kButtonRed{255, 0, 0};
// Broadcast mode on, a BTL mode on.
inline const QColor kButtonGreen{0, 128, 0};

void SetButtonColor(QPushButton* button, const QColor& color);
// The colour set last; kButtonNormal for a button that was never coloured.
QColor ButtonColor(const QPushButton* button);

}  // namespace k7310

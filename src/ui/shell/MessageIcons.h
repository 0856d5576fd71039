#pragma once
// The symbols of the program's message boxes (information, warning, critical,
// question), drawn from the program's own SVG pictures at the size and pixel
// ratio they are shown at: the style's own are small bitmaps, blurred when a
// screen scaled to 2 enlarges them.
#include <QIcon>
#include <QStyle>

namespace n4 {

// Whether the standard icon is one of a message box's symbols.
bool isMessageIcon(QStyle::StandardPixmap which);
// The symbol, scalable; a null icon for any other standard icon.
QIcon messageIcon(QStyle::StandardPixmap which);

} // namespace n4

#pragma once
// The program's own icon, in every size it is drawn in; the window icon of the
// main window and of every window it opens.
#include <QIcon>

namespace n4 {

// The desktop file's name without ".desktop": ties the running program to its
// menu entry and icon.
inline const QString kDesktopFileName = QStringLiteral("jp.numbers4marvo.Numbers4Marvo");

QIcon programIcon();

} // namespace n4

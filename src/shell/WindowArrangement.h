#pragma once
// The four arrangements of the window menu over a QMdiArea.
class QMdiArea;

namespace n4 {

enum class Arrangement { Cascade = 0, TileHorizontal = 1, TileVertical = 2, ArrangeIcons = 3 };

void arrangeWindows(QMdiArea* area, Arrangement how);

} // namespace n4

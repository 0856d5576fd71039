#pragma once
// The four arrangements of the window menu over a QMdiArea.
class QMdiArea;

namespace n4 {

enum class Arrangement { Cascade, TileHorizontal, TileVertical, ArrangeIcons };

void arrangeWindows(QMdiArea* area, Arrangement how);

} // namespace n4

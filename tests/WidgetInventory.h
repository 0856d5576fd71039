#pragma once
// A window's widgets as text: every widget and action with each property that
// differs from a fresh object of its toolkit class (names, texts, tips,
// sizes and their limits, enabled and shown states, shortcuts ...). Two
// windows that look alike but differ in such a property give different texts.
#include <QString>

class QWidget;

namespace n4test {

QString widgetInventory(const QWidget& window);

// Compares the window's inventory with tests/golden/widgets/<name>.txt
// (N4_UPDATE_GOLDEN=1 writes it); a difference fails with the first lines
// that differ.
void expectInventory(const QString& name, const QWidget* window);

} // namespace n4test

#pragma once
// The program's style: the toolkit's own (Fusion, or what the desktop or the
// user asks for), with one change that shows nowhere: its standard icons (the menu bar's
// overflow arrow, the window menu of child windows, message box symbols) are
// made when first drawn, not when the widget that may show them is built. At
// start-up the menu bar asked for its overflow arrow, which is shown only when
// the menus do not fit, and reading that first picture made the toolkit load
// every image plug-in it has (about 1.7 ms of a 45 ms start). The message
// boxes' symbols are the program's own scalable pictures (MessageIcons).
#include <QProxyStyle>

namespace n4 {

class DeferredIconStyle : public QProxyStyle {
    Q_OBJECT
  public:
    explicit DeferredIconStyle(QStyle* base); // takes base over
    QIcon standardIcon(StandardPixmap which, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

} // namespace n4

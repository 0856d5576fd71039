#pragma once
// The version information window: a separate top-level window, not a child of
// the main window.
#include <QWidget>

namespace n4 {

inline const QString kEditionWord = QStringLiteral("スタンダード版");

class AboutWindow : public QWidget {
    Q_OBJECT
  public:
    explicit AboutWindow(QWidget* parent = nullptr);

  signals:
    void activated();

  protected:
    void changeEvent(QEvent* event) override;
};

} // namespace n4

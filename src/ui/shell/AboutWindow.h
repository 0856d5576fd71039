#pragma once
// The version information window: a separate top-level window, not a child of
// the main window.
#include <QWidget>

class QLabel;

namespace n4 {

inline const QString kEditionWord = QStringLiteral("スタンダード版");

class AboutWindow : public QWidget {
    Q_OBJECT
  public:
    explicit AboutWindow(QWidget* parent = nullptr);
    // Where the draw database and the settings file are, for the user to find them.
    void showDataFiles(const QString& database, const QString& settings);

  signals:
    void activated();

  private:
    QLabel* dataFiles_;

  protected:
    void changeEvent(QEvent* event) override;
};

} // namespace n4

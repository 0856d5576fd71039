#pragma once
// The program's own help: Japanese topics, one per window, shown when no
// compiled help file is at hand.
#include <QWidget>

class QTextBrowser;

namespace n4 {

class HelpWindow : public QWidget {
    Q_OBJECT
  public:
    explicit HelpWindow(QWidget* parent = nullptr);
    void showTopic(const QString& anchor);
    QTextBrowser* browser() const { return browser_; }

  private:
    QTextBrowser* browser_;
};

} // namespace n4

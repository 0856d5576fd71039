#pragma once
// The window 番号検索: a number typed in, checked as it is typed, and every
// draw where it came in order or in any order, with the prizes of that draw,
// how long ago it last came each way and what chance would have given.
#include <QWidget>

#include "core/numbers/NumberLookup.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace n4 {

class GridView;

class NumberLookupWindow : public QWidget {
    Q_OBJECT
  public:
    explicit NumberLookupWindow(const DrawTable& table, QWidget* parent = nullptr);

    // Looks again over the draws as they now are.
    void setDraws(const DrawTable& table);

    QLineEdit* numberEdit() const { return number_; }
    QLabel* summaryLabel() const { return summary_; }
    GridView* hitsView() const { return hits_; }

  signals:
    void closeRequested();

  private:
    void lookUp();

    DrawTable draws_;
    QLineEdit* number_;
    QLabel* summary_;
    GridView* hits_;
    QPushButton* close_;
};

} // namespace n4

#pragma once
// The top edge of an analysis window: the description, the legend beside it
// and the buttons at the right end, all on one row where the description
// fits there whole, in the smallest size its font steps down to at least.
// Where it does not, the description takes a line of its own and the legend
// and the buttons go on the line below it.
#include <QLayout>
#include <QPointer>
#include <vector>

#include "ui/grid/OneLineLabel.h"

namespace n4 {

class TopRowLayout : public QLayout {
  public:
    TopRowLayout(OneLineLabel* label, QWidget* legend);
    ~TopRowLayout() override;

    // Buttons line up at the right end, in order of addition.
    void addButton(QWidget* button);
    // Whether everything shares one row in this width.
    bool fitsOneRow(int width) const;

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    void setGeometry(const QRect& rect) override;
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }

  private:
    enum class Role { Label, Legend, Button };
    struct Slot {
        QLayoutItem* item;
        Role role;
    };
    QLayoutItem* first(Role role) const;
    int gap() const;
    int legendWidth() const;
    int buttonsWidth() const;
    int labelRoom(int width) const;
    int rowHeight(bool withLabel) const;

    QPointer<OneLineLabel> label_;
    std::vector<Slot> items_;
};

} // namespace n4

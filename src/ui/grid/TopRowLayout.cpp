#include "ui/grid/TopRowLayout.h"

#include <algorithm>

namespace n4 {

TopRowLayout::TopRowLayout(OneLineLabel* label, QWidget* legend) : label_(label) {
    setContentsMargins(0, 0, 0, 0);
    addChildWidget(label);
    items_.push_back({new QWidgetItem(label), Role::Label});
    addChildWidget(legend);
    items_.push_back({new QWidgetItem(legend), Role::Legend});
}

TopRowLayout::~TopRowLayout() {
    while (QLayoutItem* item = takeAt(0))
        delete item;
}

void TopRowLayout::addButton(QWidget* button) {
    addChildWidget(button);
    addItem(new QWidgetItem(button));
}

void TopRowLayout::addItem(QLayoutItem* item) {
    items_.push_back({item, Role::Button});
    invalidate();
}

int TopRowLayout::count() const {
    return static_cast<int>(items_.size());
}

QLayoutItem* TopRowLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? items_[static_cast<size_t>(index)].item : nullptr;
}

QLayoutItem* TopRowLayout::takeAt(int index) {
    if (index < 0 || index >= count()) return nullptr;
    QLayoutItem* item = items_[static_cast<size_t>(index)].item;
    items_.erase(items_.begin() + index);
    invalidate();
    return item;
}

QLayoutItem* TopRowLayout::first(Role role) const {
    for (const Slot& s : items_)
        if (s.role == role && !s.item->isEmpty()) return s.item;
    return nullptr;
}

int TopRowLayout::gap() const {
    return std::max(0, spacing());
}

int TopRowLayout::legendWidth() const {
    const QLayoutItem* legend = first(Role::Legend);
    return legend ? legend->sizeHint().width() : 0;
}

int TopRowLayout::buttonsWidth() const {
    int width = 0;
    for (const Slot& s : items_)
        if (s.role == Role::Button && !s.item->isEmpty())
            width += (width > 0 ? gap() : 0) + s.item->sizeHint().width();
    return width;
}

// What is left for the description beside the legend and the buttons; the
// legend keeps a double gap from the description, which it explains.
int TopRowLayout::labelRoom(int width) const {
    const int buttons = buttonsWidth(), legend = legendWidth();
    return width - (buttons > 0 ? buttons + gap() : 0) - (legend > 0 ? legend + 2 * gap() : 0);
}

bool TopRowLayout::fitsOneRow(int width) const {
    return !label_ || !first(Role::Label) || labelRoom(width) >= label_->smallestWidth();
}

int TopRowLayout::rowHeight(bool withLabel) const {
    int height = 0;
    for (const Slot& s : items_)
        if ((withLabel || s.role != Role::Label) && !s.item->isEmpty())
            height = std::max(height, s.item->sizeHint().height());
    return height;
}

int TopRowLayout::heightForWidth(int width) const {
    if (fitsOneRow(width)) return rowHeight(true);
    const QLayoutItem* label = first(Role::Label);
    const int rest = rowHeight(false);
    return label->sizeHint().height() + (rest > 0 ? gap() + rest : 0);
}

QSize TopRowLayout::sizeHint() const {
    const int buttons = buttonsWidth(), legend = legendWidth();
    const int label = label_ && first(Role::Label) ? label_->naturalWidth() : 0;
    return QSize(label + (legend > 0 ? legend + 2 * gap() : 0) +
                     (buttons > 0 ? buttons + gap() : 0),
                 rowHeight(true));
}

// At the least, the legend and the buttons on the line below the description.
QSize TopRowLayout::minimumSize() const {
    const int buttons = buttonsWidth(), legend = legendWidth();
    return QSize(legend + (legend > 0 && buttons > 0 ? gap() : 0) + buttons, rowHeight(true));
}

void TopRowLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    QLayoutItem* label = first(Role::Label);
    QLayoutItem* legend = first(Role::Legend);
    const bool oneRow = fitsOneRow(rect.width());
    int top = rect.top(), left = rect.left();
    if (label && oneRow) {
        const int width = std::min(label_->naturalWidth(), labelRoom(rect.width()));
        label->setGeometry(QRect(left, top, width, rowHeight(true)));
        left += width + 2 * gap();
    } else if (label) {
        const int height = label->sizeHint().height();
        label->setGeometry(QRect(left, top, rect.width(), height));
        top += height + gap();
    }
    const int height = rowHeight(oneRow);
    if (legend) legend->setGeometry(QRect(left, top, legendWidth(), height));
    int right = rect.right() + 1;
    for (auto s = items_.rbegin(); s != items_.rend(); ++s) {
        if (s->role != Role::Button || s->item->isEmpty()) continue;
        const int width = s->item->sizeHint().width();
        right -= width;
        s->item->setGeometry(QRect(right, top, width, height));
        right -= gap();
    }
}

} // namespace n4

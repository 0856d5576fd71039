#include "ui/grid/AnalysisFrame.h"

#include <QAction>
#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "core/grid/DrawRows.h"
#include "ui/common/DrawJump.h"
#include "ui/grid/GridView.h"
#include "ui/grid/GridViewMenu.h"
#include "ui/grid/TopRowLayout.h"

namespace n4 {

namespace {

QPushButton* makeButton(const QString& text, const QString& colour, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setStyleSheet(QStringLiteral("QPushButton{background:%1;border:1px solid #808080;"
                                    "padding:3px 8px;}QPushButton:disabled{color:#808080;}")
                         .arg(colour));
    return b;
}

QPixmap ballPixmap(LegendPicture ball) {
    QPixmap pm(19, 19);
    pm.fill(Qt::white);
    QPainter p(&pm);
    paintLegendPicture(p, ball, QRectF(0, 0, 19, 19));
    return pm;
}

} // namespace

QPushButton* makeCloseButton(QWidget* parent) {
    auto* b = makeButton(QStringLiteral("閉じる"), QStringLiteral("rgb(255,255,192)"), parent);
    b->setObjectName(QStringLiteral("Command1"));
    return b;
}

QPushButton* makePrintButton(QWidget* parent) {
    auto* b = makeButton(QStringLiteral("印刷"), QStringLiteral("rgb(255,192,255)"), parent);
    b->setObjectName(QStringLiteral("Command2"));
    b->setToolTip(QStringLiteral("印刷プレビューを開き、表を印刷します"));
    return b;
}

QLabel* makeLegendPicture(LegendPicture kind, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QStringLiteral("Picture1"));
    switch (kind) {
    case LegendPicture::Ball:
    case LegendPicture::BonusBall:
        l->setPixmap(ballPixmap(kind));
        break;
    case LegendPicture::Swatch:
        l->setFixedSize(17, 17);
        l->setStyleSheet(QStringLiteral("background:rgb(128,255,255);border:1px solid black;"));
        break;
    }
    return l;
}

AnalysisFrame::AnalysisFrame(const QString& label, bool printButton, QWidget* parent)
    : QWidget(parent) {
    label_ = new OneLineLabel(label, this);
    label_->setObjectName(QStringLiteral("Label1"));
    legendBox_ = new QWidget(this);
    auto* legend = new QHBoxLayout(legendBox_);
    legend->setContentsMargins(0, 0, 0, 0);
    legend->setSpacing(2);
    auto* top = new TopRowLayout(label_, legendBox_);
    top->setSpacing(4);
    if (printButton) {
        print_ = makePrintButton(this);
        top->addButton(print_);
    }
    close_ = makeCloseButton(this);
    top->addButton(close_);
    view_ = new GridView(this);
    view_->setObjectName(QStringLiteral("fpSpread1"));
    view_->setAccessibleName(label); // the description above it says what the grid is
    jump_ = new DrawJump(
        this, [this]() -> const DrawRows& { return view_->grid().drawRows(); },
        [this](int row) {
            view_->moveCursorToRow(row);
            view_->setFocus();
        });
    jump_->action()->setVisible(false); // until a grid that lists draws comes
    view_->menu()->addWindowAction(jump_->action());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addLayout(top);
    layout->addWidget(view_); // (a scroll area: it takes the room left)
    connect(close_, &QPushButton::clicked, this, &AnalysisFrame::closeRequested);
    if (print_)
        connect(print_, &QPushButton::clicked, view_->menu()->printAction(), &QAction::trigger);
}

void AnalysisFrame::addLegend(LegendPicture picture, const QString& text) {
    auto* layout = static_cast<QHBoxLayout*>(legendBox_->layout());
    if (layout->count() > 0) layout->addSpacing(8);
    layout->addWidget(makeLegendPicture(picture, legendBox_));
    auto* l = new QLabel(text, legendBox_);
    l->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(l);
    view_->menu()->addLegend(picture, text);
}

void AnalysisFrame::setGrid(Grid grid) {
    rebuildGrid([&grid] { return std::move(grid); });
}

void AnalysisFrame::rebuildGrid(const std::function<Grid()>& make) {
    view_->rebuildGrid(make);
    jump_->action()->setVisible(!view_->grid().drawRows().empty());
}

void AnalysisFrame::setPanes(int frozenRows, int frozenCols, OpensAt opensAt) {
    view_->setFrozen(frozenCols, frozenRows);
    opensAt_ = opensAt;
}

void AnalysisFrame::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shown_) return;
    shown_ = true;
    // The window opens at its design size: the columns take the width it
    // gives them, whatever the window is resized to later.
    view_->fitColumnsToWidth(view_->columnRoom());
    if (opensAt_ == OpensAt::Latest) view_->showLatestRows();
    if (opensAt_ == OpensAt::WhereColumnsDiffer) {
        // Three uniform rows stay above for context.
        constexpr int kContextRows = 3;
        const int frozenCols = view_->frozenCols();
        if (int row = firstUnevenRow(view_->grid(), view_->frozenRows() + 1, frozenCols + 1))
            view_->showRowAtTop(row - kContextRows);
    }
}

} // namespace n4

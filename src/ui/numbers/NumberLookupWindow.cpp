#include "ui/numbers/NumberLookupWindow.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/grid/AnalysisFrame.h"
#include "ui/grid/GridView.h"
#include "ui/grid/GridViewMenu.h"

namespace n4 {

NumberLookupWindow::NumberLookupWindow(const DrawTable& table, QWidget* parent)
    : QWidget(parent), draws_(table) {
    setObjectName(QStringLiteral("番号検索"));
    auto* prompt = new QLabel(QStringLiteral("番号（4けた）:"), this);
    number_ = new QLineEdit(this);
    number_->setObjectName(QStringLiteral("txtNumber"));
    number_->setPlaceholderText(QStringLiteral("例: 1149"));
    number_->setMaxLength(12); // room for spaces around; the check says what is wrong
    number_->setAccessibleName(QStringLiteral("調べる番号"));
    prompt->setBuddy(number_);
    number_->setFixedWidth(number_->fontMetrics().horizontalAdvance(QStringLiteral("０００００0")));
    close_ = makeCloseButton(this);
    connect(close_, &QPushButton::clicked, this, &NumberLookupWindow::closeRequested);
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("lblSummary"));
    summary_->setWordWrap(true);
    hits_ = new GridView(this);
    hits_->setObjectName(QStringLiteral("fpHits"));
    hits_->setFrozen(0, 1);
    hits_->menu()->setTitle(QStringLiteral("番号検索"));

    auto* top = new QHBoxLayout;
    top->addWidget(prompt);
    top->addWidget(number_);
    top->addStretch();
    top->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(summary_);
    layout->addWidget(hits_, 1);
    connect(number_, &QLineEdit::textChanged, this, &NumberLookupWindow::lookUp);
    lookUp();
}

void NumberLookupWindow::setDraws(const DrawTable& table) {
    draws_ = table;
    lookUp();
}

void NumberLookupWindow::lookUp() {
    std::string hint;
    const int number = parseNumber(number_->text().toStdString(), hint);
    if (number < 0) {
        summary_->setStyleSheet(number_->text().isEmpty() ? QString()
                                                          : QStringLiteral("color:rgb(192,0,0);"));
        summary_->setText(QString::fromStdString(hint));
        hits_->setGrid(Grid());
        return;
    }
    const NumberLookup found = lookUpNumber(draws_, number);
    summary_->setStyleSheet(QString());
    summary_->setText(QString::fromStdString(lookupSummary(found)));
    hits_->setGrid(lookupGrid(found));
    hits_->fitColumnsToWidth(hits_->columnRoom());
    hits_->menu()->setTitle(
        QStringLiteral("番号検索 %1").arg(QString::fromStdString(fourDigits(number))),
        summary_->text());
}

} // namespace n4

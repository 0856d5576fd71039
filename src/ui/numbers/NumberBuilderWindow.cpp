#include "ui/numbers/NumberBuilderWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QStandardPaths>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/numbers/NumberBuilderTables.h"
#include "ui/grid/AnalysisFrame.h"
#include "ui/grid/GridView.h"
#include "ui/numbers/IfBoughtPanel.h"

namespace n4 {

namespace {

QString digitsText(const DigitSlots& chosen) {
    QStringList digits;
    for (int i = 0; i < chosen.count; ++i)
        digits << QString::number(chosen.digits[static_cast<size_t>(i)]);
    return digits.join(QLatin1Char(' '));
}

} // namespace

bool parseDigitSet(const QString& text, std::bitset<10>& digits, QString& hint) {
    digits.reset();
    for (const QChar c : text.normalized(QString::NormalizationForm_KC)) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits.set(static_cast<size_t>(c.unicode() - '0'));
        } else if (!c.isSpace() && c != QLatin1Char(',') && c != QChar(0x3001)) {
            hint = QStringLiteral(
                       "「%1」は数字ではありません。0～9 の数字を入力してください（例: 3 7）。")
                       .arg(c);
            return false;
        }
    }
    return true;
}

NumberBuilderWindow::NumberBuilderWindow(const DrawTable& table,
                                         std::function<PredictedDigits()> prediction,
                                         QWidget* parent)
    : QWidget(parent), draws_(table), prediction_(std::move(prediction)) {
    setObjectName(QStringLiteral("買い目作成"));
    chooser_ = [this](const QString& caption, const QString& suggested, const QString& filters) {
        return askSaveFileName(this, caption, suggested, filters);
    };
    auto* layout = new QGridLayout(this);
    layout->addWidget(buildPositions(), 0, 0);
    layout->addWidget(buildConditions(), 1, 0);
    layout->addWidget(buildPurchase(), 2, 0);
    layout->addWidget(buildResult(), 0, 1, 3, 1);
    ifBought_ = new IfBoughtPanel(this);
    layout->addWidget(ifBought_, 3, 0, 1, 2);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);
    layout->setRowStretch(3, 1);
    ifBought_->setDraws(draws_);
    quiet_ = false;
    refresh();
}

QGroupBox* NumberBuilderWindow::buildPositions() {
    auto* box = new QGroupBox(QStringLiteral("数字の位置"), this);
    auto* grid = new QGridLayout(box);
    grid->setHorizontalSpacing(3);
    for (int p = 1; p <= 4; ++p) {
        grid->addWidget(new QLabel(QStringLiteral("第%1数字").arg(p), box), p - 1, 0);
        for (int d = 0; d <= 9; ++d) {
            auto* t = new QToolButton(box);
            t->setObjectName(QStringLiteral("位置%1数字%2").arg(p).arg(d));
            t->setText(QString::number(d));
            t->setCheckable(true);
            t->setChecked(true);
            t->setFixedSize(24, 24);
            connect(t, &QToolButton::toggled, this, &NumberBuilderWindow::refresh);
            grid->addWidget(t, p - 1, d + 1);
            toggles_[static_cast<size_t>(p - 1)][static_cast<size_t>(d)] = t;
        }
        auto* all = new QPushButton(QStringLiteral("全部"), box);
        auto* none = new QPushButton(QStringLiteral("解除"), box);
        connect(all, &QPushButton::clicked, this, [this, p] { setRow(p, true); });
        connect(none, &QPushButton::clicked, this, [this, p] { setRow(p, false); });
        for (QPushButton* b : {all, none})
            b->setMaximumWidth(b->fontMetrics().horizontalAdvance(b->text()) + 16);
        grid->addWidget(all, p - 1, 11);
        grid->addWidget(none, p - 1, 12);
    }
    anyOrder_ = new QCheckBox(QStringLiteral("順不同（ボックス）: 数字の並びを問わない"), box);
    anyOrder_->setToolTip(QStringLiteral(
        "数字をどの順に並べ替えても、各位置の選んだ数字に合う並びがあれば条件に合います。"));
    connect(anyOrder_, &QCheckBox::toggled, this, &NumberBuilderWindow::refresh);
    grid->addWidget(anyOrder_, 4, 0, 1, 13);
    fromPrediction_ = new QPushButton(QStringLiteral("予想の数字を位置へ"), box);
    fromPrediction_->setToolTip(QStringLiteral(
        "一発マーヴォ予想の周期法（7・9・11・12回）が各位置に出した数字だけを、その位置に"
        "残します。周期法の数字がない位置はそのままです。"));
    fromIppatsu_ = new QPushButton(QStringLiteral("１発の数字を必ず含む数字へ"), box);
    fromIppatsu_->setToolTip(QStringLiteral("一発マーヴォ予想の「１発」の数字を、「必ず含む数字」に"
                                            "入れます（前の内容は置き換えます）。"));
    connect(fromPrediction_, &QPushButton::clicked, this, &NumberBuilderWindow::takePrediction);
    connect(fromIppatsu_, &QPushButton::clicked, this, &NumberBuilderWindow::takeIppatsu);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(fromPrediction_);
    buttons->addWidget(fromIppatsu_);
    buttons->addStretch(1);
    grid->addLayout(buttons, 5, 0, 1, 13);
    return box;
}

QCheckBox* NumberBuilderWindow::conditionBox(const QString& text) {
    auto* c = new QCheckBox(text, this);
    c->setChecked(true);
    connect(c, &QCheckBox::toggled, this, &NumberBuilderWindow::refresh);
    return c;
}

QGroupBox* NumberBuilderWindow::buildConditions() {
    auto* box = new QGroupBox(QStringLiteral("条件"), this);
    auto* grid = new QGridLayout(box);
    auto row = [grid, box](int r, const QString& label, const QList<QWidget*>& parts) {
        grid->addWidget(new QLabel(label, box), r, 0);
        auto* line = new QHBoxLayout;
        for (QWidget* w : parts)
            line->addWidget(w);
        line->addStretch(1);
        grid->addLayout(line, r, 1);
    };
    sumMin_ = new QSpinBox(box);
    sumMax_ = new QSpinBox(box);
    for (QSpinBox* s : {sumMin_, sumMax_}) {
        s->setRange(0, 36);
        connect(s, qOverload<int>(&QSpinBox::valueChanged), this, &NumberBuilderWindow::refresh);
    }
    sumMax_->setValue(36);
    row(0, QStringLiteral("数字の合計:"),
        {sumMin_, new QLabel(QStringLiteral("～"), box), sumMax_});
    QList<QWidget*> evens, lows, types;
    for (int n = 0; n <= 4; ++n) {
        even_[static_cast<size_t>(n)] = conditionBox(QStringLiteral("%1個").arg(n));
        low_[static_cast<size_t>(n)] = conditionBox(QStringLiteral("%1個").arg(n));
        evens << even_[static_cast<size_t>(n)];
        lows << low_[static_cast<size_t>(n)];
    }
    row(1, QStringLiteral("偶数の数:"), evens);
    row(2, QStringLiteral("低数字(0～4)の数:"), lows);
    for (int t = 0; t < kNumberTypeCount; ++t) {
        types_[static_cast<size_t>(t)] = conditionBox(typeName(static_cast<NumberType>(t)));
        types << types_[static_cast<size_t>(t)];
    }
    row(3, QStringLiteral("タイプ:"), types);
    must_ = new QLineEdit(box);
    mustNot_ = new QLineEdit(box);
    for (QLineEdit* e : {must_, mustNot_}) {
        e->setPlaceholderText(QStringLiteral("例: 3 7"));
        e->setMaximumWidth(110);
        connect(e, &QLineEdit::textChanged, this, &NumberBuilderWindow::refresh);
    }
    row(4, QStringLiteral("必ず含む数字:"),
        {must_, new QLabel(QStringLiteral("含まない数字:"), box), mustNot_});
    notInOrder_ = new QSpinBox(box);
    notAnyOrder_ = new QSpinBox(box);
    for (QSpinBox* s : {notInOrder_, notAnyOrder_}) {
        s->setRange(0, 9999);
        s->setSpecialValueText(QStringLiteral("指定なし"));
        s->setSuffix(QStringLiteral(" 回"));
        connect(s, qOverload<int>(&QSpinBox::valueChanged), this, &NumberBuilderWindow::refresh);
    }
    row(5, QStringLiteral("直近に出ていない:"),
        {new QLabel(QStringLiteral("並びどおり"), box), notInOrder_,
         new QLabel(QStringLiteral("並び問わず"), box), notAnyOrder_});
    hint_ = new QLabel(box);
    hint_->setObjectName(QStringLiteral("条件の注意"));
    markAsHint(hint_);
    hint_->setWordWrap(true);
    hint_->hide();
    grid->addWidget(hint_, 6, 0, 1, 2);
    return box;
}

QGroupBox* NumberBuilderWindow::buildPurchase() {
    auto* box = new QGroupBox(QStringLiteral("買い方"), this);
    kind_ = new QComboBox(box);
    for (BuyKind k : {BuyKind::Straight, BuyKind::Box, BuyKind::Set})
        kind_->addItem(QString::fromUtf8(buyKindName(k)));
    kind_->setToolTip(QStringLiteral("クワッド（1111 など）はストレートでしか買えません。"));
    units_ = new QSpinBox(box);
    units_->setRange(1, 99);
    units_->setSuffix(QStringLiteral(" 口"));
    connect(kind_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &NumberBuilderWindow::refresh);
    connect(units_, qOverload<int>(&QSpinBox::valueChanged), this, &NumberBuilderWindow::refresh);
    auto* line = new QHBoxLayout(box);
    line->addWidget(new QLabel(QStringLiteral("買い方:"), box));
    line->addWidget(kind_);
    line->addWidget(new QLabel(QStringLiteral("1 通りあたり"), box));
    line->addWidget(units_);
    line->addWidget(new QLabel(QStringLiteral("（1 口 %1 円）").arg(kTicketPrice), box));
    line->addStretch(1);
    return box;
}

QGroupBox* NumberBuilderWindow::buildResult() {
    auto* box = new QGroupBox(QStringLiteral("結果"), this);
    count_ = new QLabel(box);
    count_->setObjectName(QStringLiteral("条件に合う番号"));
    cost_ = new QLabel(box);
    cost_->setObjectName(QStringLiteral("購入額"));
    for (QLabel* l : {count_, cost_})
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    order_ = new QComboBox(box);
    for (int o = 0; o < kNumberListOrders; ++o)
        order_->addItem(QString::fromUtf8(numberListOrderName(static_cast<NumberListOrder>(o))));
    connect(order_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &NumberBuilderWindow::showList);
    saveCsv_ = new QPushButton(QStringLiteral("CSV で保存…"), box);
    connect(saveCsv_, &QPushButton::clicked, this, &NumberBuilderWindow::askAndSaveCsv);
    toLedger_ = new QPushButton(QStringLiteral("購入記録へ(&T)"), box);
    toLedger_->setObjectName(QStringLiteral("cmdToLedger"));
    toLedger_->setToolTip(QStringLiteral("この番号を次の回に買った券として購入記録に加えます"));
    connect(toLedger_, &QPushButton::clicked, this,
            [this] { emit handOver(passing_, buyKind(), units_->value()); });
    QPushButton* close = makeCloseButton(box);
    connect(close, &QPushButton::clicked, this, &NumberBuilderWindow::closeRequested);
    auto* tools = new QHBoxLayout;
    tools->addWidget(new QLabel(QStringLiteral("並べ替え:"), box));
    tools->addWidget(order_);
    tools->addWidget(saveCsv_);
    tools->addWidget(toLedger_);
    tools->addStretch(1);
    tools->addWidget(close);
    saved_ = new QLabel(box);
    saved_->hide();
    list_ = new GridView(box);
    list_->setFrozen(0, 1);
    // As tall as the group leaves it: its own hint would be all 10,000 rows.
    list_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Ignored);
    list_->setMinimumHeight(120);
    list_->menu()->setTitle(QStringLiteral("買い目作成"), QStringLiteral("条件に合う番号"));
    auto* csv = new QAction(QStringLiteral("CSV で保存…"), list_);
    connect(csv, &QAction::triggered, this, &NumberBuilderWindow::askAndSaveCsv);
    list_->menu()->addWindowAction(csv);
    auto* layout = new QVBoxLayout(box);
    layout->addWidget(count_);
    layout->addWidget(cost_);
    layout->addLayout(tools);
    layout->addWidget(saved_);
    layout->addWidget(list_, 1);
    return box;
}

void NumberBuilderWindow::setRow(int position, bool on) {
    quiet_ = true;
    for (QAbstractButton* t : toggles_[static_cast<size_t>(position - 1)])
        t->setChecked(on);
    quiet_ = false;
    refresh();
}

void NumberBuilderWindow::takePrediction() {
    const PredictedDigits p = prediction_();
    quiet_ = true;
    for (size_t pos = 0; pos < 4; ++pos) {
        std::bitset<10> digits;
        for (const auto& method : p.cycle)
            if (method[pos] >= 0 && method[pos] <= 9) digits.set(static_cast<size_t>(method[pos]));
        if (digits.none()) continue; // the method has nothing there yet
        for (size_t d = 0; d < 10; ++d)
            toggles_[pos][d]->setChecked(digits.test(d));
    }
    quiet_ = false;
    refresh();
}

void NumberBuilderWindow::takeIppatsu() {
    const PredictedDigits p = prediction_();
    must_->setText(digitsText(p.ippatsu));
}

BuyKind NumberBuilderWindow::buyKind() const {
    return static_cast<BuyKind>(std::max(0, kind_->currentIndex()));
}

void NumberBuilderWindow::readFilter() {
    QStringList hints;
    for (size_t p = 0; p < 4; ++p) {
        for (size_t d = 0; d < 10; ++d)
            filter_.positions[p].set(d, toggles_[p][d]->isChecked());
        if (filter_.positions[p].none())
            hints << QStringLiteral("第%1数字に選んだ数字がありません。").arg(p + 1);
    }
    filter_.anyOrder = anyOrder_->isChecked();
    filter_.sumMin = sumMin_->value();
    filter_.sumMax = sumMax_->value();
    if (filter_.sumMin > filter_.sumMax)
        hints << QStringLiteral("数字の合計の下限 %1 が上限 %2 より大きくなっています。")
                     .arg(filter_.sumMin)
                     .arg(filter_.sumMax);
    for (size_t n = 0; n <= 4; ++n) {
        filter_.evenCounts.set(n, even_[n]->isChecked());
        filter_.lowCounts.set(n, low_[n]->isChecked());
    }
    for (size_t t = 0; t < types_.size(); ++t)
        filter_.types.set(t, types_[t]->isChecked());
    // A digit field that cannot be read keeps its last good value meanwhile.
    for (auto [edit, digits, name] :
         {std::tuple{must_, &filter_.must, QStringLiteral("必ず含む数字")},
          std::tuple{mustNot_, &filter_.mustNot, QStringLiteral("含まない数字")}}) {
        std::bitset<10> read;
        QString hint;
        if (parseDigitSet(edit->text(), read, hint))
            *digits = read;
        else
            hints << name + QStringLiteral(": ") + hint +
                         QStringLiteral("（この欄は前のままです）");
    }
    if ((filter_.must & filter_.mustNot).any())
        hints << QStringLiteral("同じ数字が「必ず含む」と「含まない」の両方にあります。");
    if (filter_.must.count() > 4)
        hints << QStringLiteral("必ず含む数字は 4 つまでです（4 桁の番号に入りきりません）。");
    filter_.notDrawnInOrder = notInOrder_->value();
    filter_.notDrawnAnyOrder = notAnyOrder_->value();
    hint_->setText(hints.join(QLatin1Char('\n')));
    hint_->setVisible(!hints.isEmpty());
}

void NumberBuilderWindow::refresh() {
    if (quiet_) return;
    readFilter();
    const BuyKind kind = buyKind();
    passing_ = passingNumbers(filter_, draws_, kind);
    const int count = static_cast<int>(passing_.size());
    // The two shares on a line of their own, so that neither breaks.
    count_->setText(QString::fromStdString(passingCountText(count, filterShares(filter_, draws_)))
                        .replace(QStringLiteral("）・"), QStringLiteral("）・\n")));
    cost_->setText(QString::fromStdString(purchaseCostText(count, kind, units_->value())));
    showList();
    ifBought_->setFilter(filter_, kind);
}

void NumberBuilderWindow::showList() {
    list_->setGrid(numberListGrid(
        sortedNumbers(passing_, static_cast<NumberListOrder>(order_->currentIndex()))));
}

void NumberBuilderWindow::setDraws(const DrawTable& table) {
    draws_ = table;
    refresh();
    ifBought_->setDraws(draws_);
}

void NumberBuilderWindow::setFileChooser(GridViewMenu::FileChooser chooser) {
    chooser_ = chooser;
    list_->menu()->setFileChooser(chooser);
    ifBought_->tableView()->menu()->setFileChooser(std::move(chooser));
}

bool NumberBuilderWindow::saveCsvTo(const QString& path, QString& error) const {
    const std::string csv = numberListCsv(
        sortedNumbers(passing_, static_cast<NumberListOrder>(order_->currentIndex())));
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(csv.data(), static_cast<qint64>(csv.size())) == qint64(csv.size()) &&
        file.commit())
        return true;
    error = QStringLiteral("%1 に保存できませんでした: %2").arg(path, file.errorString());
    return false;
}

void NumberBuilderWindow::askAndSaveCsv() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    const QString path =
        chooser_(QStringLiteral("CSV で保存"), QDir(folder).filePath(QStringLiteral("買い目.csv")),
                 QStringLiteral("CSV (*.csv)"));
    if (path.isEmpty()) return;
    QString error;
    const bool ok = saveCsvTo(path, error);
    markAsHint(saved_, !ok);
    saved_->setText(ok ? QStringLiteral("%1 通りを %2 に保存しました。")
                             .arg(passing_.size())
                             .arg(QDir::toNativeSeparators(path))
                       : error);
    saved_->show();
}

} // namespace n4

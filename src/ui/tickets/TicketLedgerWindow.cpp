#include "ui/tickets/TicketLedgerWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QSplitter>
#include <QStandardPaths>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/import/HistoryImport.h"
#include "core/store/AtomicFile.h"
#include "core/tickets/TicketCsv.h"
#include "ui/common/MessageSink.h"
#include "ui/grid/AnalysisFrame.h"
#include "ui/grid/GridViewMenu.h"
#include "ui/numbers/IfBoughtPanel.h"
#include "ui/tickets/TicketLedgerModel.h"
#include "ui/tickets/TicketTotalsPanel.h"

namespace n4 {

namespace {

const QString kCsvFilter = QStringLiteral("CSV ファイル (*.csv);;すべてのファイル (*)");

QLineEdit* field(QWidget* parent, const char* name, const QString& accessible,
                 const QString& placeholder, const QString& widest) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setAccessibleName(accessible);
    e->setPlaceholderText(placeholder);
    e->setFixedWidth(e->fontMetrics().horizontalAdvance(widest) + 12);
    return e;
}

// The way a ticket is bought, chosen from the three rather than typed.
class KindDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* box = new QComboBox(parent);
        box->addItems(
            {QStringLiteral("ストレート"), QStringLiteral("ボックス"), QStringLiteral("セット")});
        return box;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override {
        static_cast<QComboBox*>(editor)->setCurrentText(index.data(Qt::EditRole).toString());
    }
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override {
        model->setData(index, static_cast<QComboBox*>(editor)->currentText(), Qt::EditRole);
    }
};

} // namespace

TicketLedgerWindow::TicketLedgerWindow(std::unique_ptr<DrawStore> store, const DrawTable& table,
                                       MessageSink* messages, QWidget* parent)
    : QWidget(parent), messages_(messages) {
    setObjectName(QStringLiteral("購入記録"));
    model_ = new TicketLedgerModel(std::move(store), table, this);
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("tblTickets"));
    table_->setAccessibleName(QStringLiteral("購入した券の一覧"));
    table_->setModel(model_);
    table_->setItemDelegateForColumn(TicketLedgerModel::KindCol, new KindDelegate(table_));
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    // Every field as wide as its widest text; the results take the room left.
    QHeaderView* header = table_->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::ResizeToContents);
    header->setSectionResizeMode(TicketLedgerModel::ResultCol, QHeaderView::Stretch);
    header->setMinimumSectionSize(
        header->fontMetrics().horizontalAdvance(QStringLiteral("最終回")) + 16);
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    totals_ = new TicketTotalsPanel(this);
    totals_->setObjectName(QStringLiteral("pnlTotals"));
    buildEntryLine();
    buildActions();

    auto* split = new QSplitter(Qt::Vertical, this);
    split->addWidget(table_);
    split->addWidget(totals_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    split->setChildrenCollapsible(false);
    static_cast<QVBoxLayout*>(layout())->addWidget(split, 1);

    connect(model_, &TicketLedgerModel::problem, this, [this](const QString& m) { say(m, true); });
    connect(model_, &TicketLedgerModel::ledgerChanged, this, &TicketLedgerWindow::showState);
    showState();
    checkTyped();
}

void TicketLedgerWindow::buildEntryLine() {
    draw_ = field(this, "txtDraw", QStringLiteral("回"), QStringLiteral("回"),
                  QStringLiteral("000000"));
    lastDraw_ = field(this, "txtLastDraw", QStringLiteral("最終回（継続購入）"),
                      QStringLiteral("継続なし"), QStringLiteral("継続なし0"));
    number_ = field(this, "txtNumber", QStringLiteral("番号"), QStringLiteral("例: 0042"),
                    QStringLiteral("例: 00420"));
    draw_->setText(QString::number(nextDraw()));
    kind_ = new QComboBox(this);
    kind_->setObjectName(QStringLiteral("cboKind"));
    kind_->setAccessibleName(QStringLiteral("種類"));
    kind_->addItems(
        {QStringLiteral("ストレート"), QStringLiteral("ボックス"), QStringLiteral("セット")});
    units_ = new QSpinBox(this);
    units_->setObjectName(QStringLiteral("spnUnits"));
    units_->setAccessibleName(QStringLiteral("口数"));
    units_->setRange(1, kMaxTicketUnits);
    units_->setSuffix(QStringLiteral(" 口"));
    add_ = new QPushButton(QStringLiteral("追加(&A)"), this);
    add_->setObjectName(QStringLiteral("cmdAdd"));
    add_->setDefault(true);
    close_ = makeCloseButton(this);
    hint_ = new QLabel(this);
    hint_->setObjectName(QStringLiteral("lblHint"));
    hint_->setWordWrap(true);

    auto* line = new QHBoxLayout;
    auto labelled = [&](const QString& text, QWidget* w) {
        auto* l = new QLabel(text, this);
        l->setBuddy(w);
        line->addWidget(l);
        line->addWidget(w);
    };
    labelled(QStringLiteral("回:"), draw_);
    labelled(QStringLiteral("～最終回:"), lastDraw_);
    labelled(QStringLiteral("番号:"), number_);
    labelled(QStringLiteral("種類:"), kind_);
    line->addWidget(units_);
    line->addWidget(add_);
    line->addStretch();
    line->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(line);
    layout->addWidget(hint_);

    for (QLineEdit* e : {draw_, lastDraw_, number_}) {
        connect(e, &QLineEdit::textChanged, this, &TicketLedgerWindow::checkTyped);
        connect(e, &QLineEdit::returnPressed, this, &TicketLedgerWindow::addTyped);
    }
    connect(kind_, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &TicketLedgerWindow::checkTyped);
    connect(units_, qOverload<int>(&QSpinBox::valueChanged), this, &TicketLedgerWindow::checkTyped);
    connect(add_, &QPushButton::clicked, this, &TicketLedgerWindow::addTyped);
    connect(close_, &QPushButton::clicked, this, &TicketLedgerWindow::closeRequested);
}

QAction* TicketLedgerWindow::addCommand(const char* name, const QString& caption,
                                        const QKeySequence& key) {
    auto* a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(a);
    return a;
}

void TicketLedgerWindow::buildActions() {
    undo_ = addCommand("mnuUndo", QStringLiteral("元に戻す"), QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ = addCommand("mnuRedo", QStringLiteral("やり直し"), QKeySequence(Qt::CTRL | Qt::Key_Y));
    remove_ = addCommand("mnuDelete", QStringLiteral("削除"), QKeySequence::Delete);
    QAction* pasteRows = addCommand("mnuPaste", QStringLiteral("貼り付け"), QKeySequence::Paste);
    QAction* save = addCommand("mnuSaveCsv", QStringLiteral("CSV で保存…"), {});
    QAction* load = addCommand("mnuImportCsv", QStringLiteral("CSV から取り込み…"), {});
    connect(undo_, &QAction::triggered, this, [this] { model_->undo(); });
    connect(redo_, &QAction::triggered, this, [this] { model_->redo(); });
    connect(remove_, &QAction::triggered, this, &TicketLedgerWindow::removeSelected);
    connect(pasteRows, &QAction::triggered, this, &TicketLedgerWindow::paste);
    connect(save, &QAction::triggered, this, &TicketLedgerWindow::saveCsv);
    connect(load, &QAction::triggered, this, &TicketLedgerWindow::importCsv);
    auto* buttons = new QHBoxLayout;
    for (QAction* a : {undo_, redo_, remove_, pasteRows, save, load}) {
        auto* b = new QToolButton(this);
        b->setDefaultAction(a);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        buttons->addWidget(b);
    }
    buttons->addStretch();
    static_cast<QVBoxLayout*>(layout())->addLayout(buttons);
    connect(table_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TicketLedgerWindow::showState);
}

void TicketLedgerWindow::setFileChooser(std::function<QString(bool)> chooser) {
    chooseFile_ = std::move(chooser);
}

void TicketLedgerWindow::setDraws(const DrawTable& table) {
    const bool followNext = draw_->text() == QString::number(nextDraw());
    model_->setDraws(table);
    if (followNext) draw_->setText(QString::number(nextDraw()));
}

int TicketLedgerWindow::nextDraw() const {
    const DrawTable& t = model_->draws();
    return t.empty() ? 1 : std::min(t.back().drawNo + 1, kMaxDrawNo);
}

bool TicketLedgerWindow::typedTicket(Ticket& t, QString& hint) const {
    t = Ticket{};
    t.kind = static_cast<BuyKind>(kind_->currentIndex());
    t.units = units_->value();
    t.firstDraw = t.lastDraw = 1;
    t.number = 1234; // a number every kind can take: the draws are checked alone
    if (!TicketLedgerModel::edited(t, TicketLedgerModel::DrawCol, draw_->text(), hint) ||
        !TicketLedgerModel::edited(t, TicketLedgerModel::LastDrawCol, lastDraw_->text(), hint))
        return false;
    // A number not typed yet is no mistake: nothing to add, nothing to say.
    if (number_->text().trimmed().isEmpty()) return false;
    return TicketLedgerModel::edited(t, TicketLedgerModel::NumberCol, number_->text(), hint);
}

void TicketLedgerWindow::checkTyped() {
    Ticket t;
    QString hint;
    add_->setEnabled(typedTicket(t, hint));
    say(hint, true);
}

void TicketLedgerWindow::addTyped() {
    Ticket t;
    QString hint;
    if (!typedTicket(t, hint)) {
        say(hint, true);
        return;
    }
    if (!model_->addTickets({t}, QStringLiteral("%1の追加").arg(number_->text().trimmed()))) return;
    number_->clear();
    number_->setFocus();
    table_->scrollToBottom();
    say(QStringLiteral("追加しました。"), false);
}

void TicketLedgerWindow::removeSelected() {
    QList<int> rows;
    for (const QModelIndex& i : table_->selectionModel()->selectedRows())
        rows << i.row();
    if (rows.isEmpty() && table_->currentIndex().isValid()) rows << table_->currentIndex().row();
    if (!rows.isEmpty() && model_->removeRowsAt(rows))
        say(QStringLiteral("%1 件を削除しました（元に戻す: Ctrl+Z）。").arg(rows.size()), false);
}

void TicketLedgerWindow::paste() {
    const QString text = QApplication::clipboard()->text();
    if (text.trimmed().isEmpty()) return;
    if (model_->pasteRows(text)) say(QStringLiteral("貼り付けました。"), false);
}

bool TicketLedgerWindow::addNumbers(const std::vector<int>& numbers, BuyKind kind, int units) {
    std::vector<Ticket> tickets;
    int skipped = 0;
    for (int n : numbers) {
        Ticket t;
        t.firstDraw = t.lastDraw = nextDraw();
        t.number = n;
        t.kind = kind;
        t.units = units;
        if (!canBuy(n, kind)) {
            ++skipped; // a quad as ボックス or セット
            continue;
        }
        tickets.push_back(t);
    }
    if (tickets.empty()) return false;
    const QString label = QStringLiteral("買い目 %1 件の追加").arg(tickets.size());
    if (!model_->addTickets(std::move(tickets), label)) return false;
    table_->scrollToBottom();
    QString told = QStringLiteral("買い目作成から第%1回の %2 件を加えました（元に戻す: Ctrl+Z）。")
                       .arg(nextDraw())
                       .arg(numbers.size() - size_t(skipped));
    if (skipped > 0)
        told +=
            QStringLiteral(" ゾロ目 %1 件はストレートでしか買えないため除きました。").arg(skipped);
    say(told, false);
    return true;
}

void TicketLedgerWindow::saveCsv() {
    const QString suggested =
        suggestedSavePath(QStandardPaths::DocumentsLocation, QStringLiteral("購入記録.csv"));
    const QString path = chooseFile_ ? chooseFile_(true)
                                     : askSaveFileName(this, QStringLiteral("購入記録を保存"),
                                                       suggested, kCsvFilter);
    if (path.isEmpty()) return;
    if (!replaceFile(path.toStdString(), ticketsCsv(model_->tickets())))
        messages_->critical(this, kMessageTitle,
                            QStringLiteral("「%1」に保存できませんでした。").arg(path));
    else
        say(QStringLiteral("「%1」に保存しました。").arg(path), false);
}

void TicketLedgerWindow::importCsv() {
    const QString path =
        chooseFile_ ? chooseFile_(false)
                    : QFileDialog::getOpenFileName(this, QStringLiteral("購入記録の取り込み"), {},
                                                   kCsvFilter);
    if (path.isEmpty()) return;
    std::string bytes, message;
    TicketCsvResult read;
    if (readUserFile(path.toStdString(), bytes, message))
        read = readTicketsCsv(bytes);
    else
        read.message = message;
    if (!read.ok) {
        messages_->warning(this, kMessageTitle,
                           QStringLiteral("「%1」を取り込めません。\n").arg(path) +
                               QString::fromStdString(read.message));
        return;
    }
    if (model_->addTickets(read.tickets,
                           QStringLiteral("%1 件の取り込み").arg(read.tickets.size())))
        say(QStringLiteral("%1 件を取り込みました。").arg(read.tickets.size()), false);
}

void TicketLedgerWindow::showState() {
    undo_->setEnabled(model_->canUndo());
    redo_->setEnabled(model_->canRedo());
    undo_->setToolTip(QStringLiteral("元に戻す: ") + model_->undoLabel());
    redo_->setToolTip(QStringLiteral("やり直し: ") + model_->redoLabel());
    remove_->setEnabled(table_->selectionModel() && table_->selectionModel()->hasSelection());
    totals_->setChecked(model_->checked());
}

void TicketLedgerWindow::say(const QString& message, bool hint) {
    hint_->setText(message);
    markAsHint(hint_, hint);
}

} // namespace n4

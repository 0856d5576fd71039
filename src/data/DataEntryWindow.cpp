#include "data/DataEntryWindow.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include "data/DrawEntryModel.h"
#include "grid/AnalysisFrame.h"
#include "grid/Twips.h"
#include "shell/MessageSink.h"

namespace n4 {

namespace {

const QString kSavedNote =
    QStringLiteral("入力はすぐに保存されます。分析には次回の起動から反映されます。");

// The digit editor takes an empty cell or one digit; anything else is
// refused as it is typed or pasted.
class DigitDelegate : public QStyledItemDelegate {
  public:
    DigitDelegate(std::function<void()> onRejected, QObject* parent)
        : QStyledItemDelegate(parent), onRejected_(std::move(onRejected)) {}
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&,
                          const QModelIndex&) const override {
        auto* e = new QLineEdit(parent);
        e->setAlignment(Qt::AlignCenter);
        e->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]?")), e));
        QObject::connect(e, &QLineEdit::inputRejected, e, [cb = onRejected_] { cb(); });
        return e;
    }

  private:
    std::function<void()> onRejected_;
};

bool isWrongDigitText(const QString& text) {
    if (text.isEmpty()) return false;
    if (text.contains(QLatin1Char('.'))) return true;
    bool number = false;
    const double v = text.toDouble(&number);
    return !number || v < 0 || v > 9;
}

} // namespace

DataEntryWindow::DataEntryWindow(const DbConnectionString& conn, MessageSink* messages,
                                 QWidget* parent)
    : QWidget(parent), messages_(messages) {
    setObjectName(QStringLiteral("当選データ入力"));
    StoreResult r;
    auto store = DrawStore::open(conn, r);
    if (store) {
        auto* model = new DrawEntryModel(std::move(store), this);
        r = model->reload();
        if (r) model_ = model;
    }
    if (!model_) {
        messages_->critical(this, kMessageTitle, QString::fromStdString(r.message));
        return;
    }
    buildLayout();
    buildEditMenu();
    connect(close_, &QPushButton::clicked, this, &DataEntryWindow::onCloseClicked);
    connect(model_, &DrawEntryModel::problem, this, &DataEntryWindow::showHint);
    // New draws are typed at the end: start there.
    if (model_->rowCount() > 0) {
        table_->setCurrentIndex(model_->index(model_->rowCount() - 1, 1));
        table_->scrollToBottom();
    }
}

void DataEntryWindow::buildLayout() {
    auto* label = new QLabel(
        QStringLiteral("当選数字を開催回数毎に入力します（分析対象データとなります）"), this);
    label->setObjectName(QStringLiteral("Label1"));
    label->setWordWrap(true);
    close_ = makeCloseButton(this);
    auto* top = new QHBoxLayout;
    top->addWidget(label, 1);
    top->addWidget(close_, 0, Qt::AlignTop);
    buildTable();
    status_ = new QLabel(kSavedNote, this);
    status_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addWidget(status_);
}

void DataEntryWindow::buildTable() {
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("fpSpread1"));
    table_->setModel(model_);
    table_->setItemDelegate(
        new DigitDelegate([this] { showHint(DrawEntryModel::digitHint()); }, table_));
    table_->setSelectionMode(QAbstractItemView::ContiguousSelection);
    table_->setStyleSheet(QStringLiteral("QTableView{gridline-color:black;}"));
    const int zero = fontMetrics().horizontalAdvance(QLatin1Char('0'));
    table_->setColumnWidth(0, 5 * zero + 8);
    for (int c = 1; c <= 4; ++c)
        table_->setColumnWidth(c, 7 * zero + 8);
    QHeaderView* rows = table_->verticalHeader();
    rows->setDefaultSectionSize(static_cast<int>(10 * logicalDpiY() / 72.0 + 2));
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setContextMenuPolicy(Qt::CustomContextMenu);
    table_->installEventFilter(this);
    connect(rows, &QWidget::customContextMenuRequested, this, [this, rows](const QPoint& p) {
        if (rowHeaderMenuAllowed(rows->logicalIndexAt(p))) editMenu_->popup(rows->mapToGlobal(p));
    });
}

void DataEntryWindow::buildEditMenu() {
    editMenu_ = new QMenu(QStringLiteral("編集(&E)"), this);
    editMenu_->setObjectName(QStringLiteral("mnuEdit"));
    addLine_ = editMenu_->addAction(QStringLiteral("行追加"));
    addLine_->setObjectName(QStringLiteral("mnuAddLine"));
    addLine_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    delLine_ = editMenu_->addAction(QStringLiteral("行削除"));
    delLine_->setObjectName(QStringLiteral("mnuDelLine"));
    delLine_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    for (QAction* a : {addLine_, delLine_}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        addAction(a);
    }
    connect(addLine_, &QAction::triggered, this, &DataEntryWindow::addLine);
    connect(delLine_, &QAction::triggered, this, &DataEntryWindow::deleteLine);
}

QSize DataEntryWindow::sizeHint() const {
    return twipsSize(6240, 12825, this);
}

void DataEntryWindow::showHint(const QString& text) {
    status_->setText(QStringLiteral("<span style='color:#c00000'>%1</span><br>%2")
                         .arg(text.toHtmlEscaped(), kSavedNote));
}

int DataEntryWindow::selectedRow() const {
    const QModelIndex current = table_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

bool DataEntryWindow::singleRowSelected() const {
    const QModelIndexList sel = table_->selectionModel()->selectedIndexes();
    if (sel.isEmpty()) return selectedRow() >= 0;
    for (const QModelIndex& i : sel)
        if (i.row() != sel.first().row()) return false;
    return true;
}

bool DataEntryWindow::rowHeaderMenuAllowed(int row) const {
    return row >= 0 && row < model_->rowCount() && singleRowSelected();
}

void DataEntryWindow::addLine() {
    if (!messages_->confirm(
            this, kProgramTitle,
            QStringLiteral("選択された行のうしろに行を追加します。よろしいですか？")))
        return;
    const int column = std::max(1, table_->currentIndex().column());
    const int row = model_->addRowAfter(selectedRow());
    if (row >= 0) table_->setCurrentIndex(model_->index(row, column));
}

void DataEntryWindow::deleteLine() {
    const int row = selectedRow();
    if (row < 0) return;
    if (!messages_->confirm(this, kProgramTitle,
                            QStringLiteral("選択された行を削除します。よろしいですか？")))
        return;
    model_->removeRowAt(row);
}

QPair<int, int> DataEntryWindow::firstWrongCell() const {
    for (int row = 0; row < model_->rowCount(); ++row)
        for (int col = 1; col <= 4; ++col)
            if (isWrongDigitText(model_->cellText(row, col))) return {row, col};
    return {-1, -1};
}

void DataEntryWindow::onCloseClicked() {
    const auto wrong = firstWrongCell();
    if (wrong.first >= 0) {
        messages_->critical(this, kMessageTitle,
                            QStringLiteral("結果マスタの数字に誤りがあります。"));
        table_->setCurrentIndex(model_->index(wrong.first, wrong.second));
        return;
    }
    if (model_->hasPending() && !model_->retryPending()) {
        messages_->critical(
            this, kMessageTitle,
            QStringLiteral("保存できていない入力があります。もう一度「閉じる」を押してください。"));
        return;
    }
    emit closeAccepted();
}

void DataEntryWindow::closeEvent(QCloseEvent* event) {
    if (model_ && model_->hasPending() && !model_->retryPending()) {
        messages_->critical(
            this, kMessageTitle,
            QStringLiteral(
                "保存できていない入力があります。保存できるようになってから閉じてください。"));
        event->ignore();
        return;
    }
    QWidget::closeEvent(event);
}

bool DataEntryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            const QModelIndex at = table_->currentIndex();
            model_->pasteDigits(at.isValid() ? at.row() : model_->rowCount(),
                                at.isValid() ? at.column() : 1, QApplication::clipboard()->text());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace n4

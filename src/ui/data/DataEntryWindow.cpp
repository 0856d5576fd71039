#include "ui/data/DataEntryWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>
#include <set>

#include "ui/common/DrawJump.h"
#include "ui/common/MessageSink.h"
#include "ui/common/Twips.h"
#include "ui/data/DrawEntryModel.h"
#include "ui/data/ImportDialog.h"
#include "ui/grid/AnalysisFrame.h"

namespace n4 {

namespace {

const QString kSavedNote = QStringLiteral("入力はすぐに保存されます（Ctrl+Z で元に戻せます）。"
                                          "このウィンドウを閉じると分析に反映されます。");
// A delete question lists the draws one by one up to this many.
constexpr int kDrawsNamed = 5;

bool isWrongDigitText(const QString& text) {
    if (text.isEmpty()) return false;
    if (text.contains(QLatin1Char('.'))) return true;
    bool number = false;
    const double v = text.toDouble(&number);
    return !number || v < 0 || v > 9;
}

// Cells to fill (at most four short values a line), not draws to import:
// rows with draw numbers, a header or a results page look otherwise.
bool isDigitGrid(const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[\\t,]"));
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QStringList fields = line.split(separators);
        if (fields.size() > 4) return false;
        for (const QString& f : fields)
            if (f.trimmed().size() > 2) return false;
    }
    return true;
}

QString drawList(const QList<int>& draws) {
    if (draws.size() > kDrawsNamed)
        return QStringLiteral("第%1回～第%2回").arg(draws.front()).arg(draws.back());
    QStringList names;
    for (int no : draws)
        names << QStringLiteral("第%1回").arg(no);
    return names.join(QStringLiteral("、"));
}

} // namespace

// The digit editor takes an empty cell or one digit; anything else is
// refused as it is typed or pasted.
class DigitDelegate final : public QStyledItemDelegate {
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
        open_ = e;
        return e;
    }

    // Hands a digit still in the editor to the model and closes the editor, as
    // leaving the cell would: every way out of the window sees it.
    void commitOpenEditor() {
        if (!open_ || !open_->isVisible()) return;
        QWidget* editor = open_;
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
    }

  private:
    std::function<void()> onRejected_;
    mutable QPointer<QWidget> open_;
};

DataEntryWindow::DataEntryWindow(const DbConnectionString& conn, MessageSink* messages,
                                 DrawChangeLog* log, QWidget* parent)
    : QWidget(parent), messages_(messages),
      chooseFile_([this] { return ImportDialog::chooseFile(this); }) {
    setObjectName(QStringLiteral("当選データ入力"));
    StoreResult r;
    auto store = DrawStore::open(conn, r);
    if (store) {
        auto* model = new DrawEntryModel(std::move(store), log, this);
        r = model->reload();
        if (r) model_ = model;
    }
    if (!model_) {
        messages_->critical(this, kMessageTitle, QString::fromStdString(r.message));
        return;
    }
    setAcceptDrops(true);
    buildLayout();
    buildEditMenu();
    connect(close_, &QPushButton::clicked, this, &DataEntryWindow::onCloseClicked);
    connect(model_, &DrawEntryModel::problem, this, &DataEntryWindow::showHint);
    connect(model_, &DrawEntryModel::stepsChanged, this, &DataEntryWindow::showUndoState);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model_, signal, this, &DataEntryWindow::showNextDraw);
    connect(model_, &QAbstractItemModel::modelReset, this, &DataEntryWindow::showNextDraw);
    connect(table_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &DataEntryWindow::showNextDraw);
    // New draws are typed at the end: start there (the view scrolls to its cursor).
    if (model_->rowCount() > 0) goTo(model_->rowCount() - 1, 1);
    showNextDraw();
    showUndoState();
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
    table_->setAccessibleName(label->text()); // what the label above says of it
    // The table's corner button selects every cell.
    if (auto* corner = table_->findChild<QAbstractButton*>())
        corner->setAccessibleName(QStringLiteral("すべて選択"));
    nextDraw_ = new QLabel(this);
    nextDraw_->setObjectName(QStringLiteral("lblNextDraw"));
    status_ = new QLabel(kSavedNote, this);
    status_->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(table_, 1);
    layout->addWidget(nextDraw_);
    layout->addWidget(status_);
}

void DataEntryWindow::buildTable() {
    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("fpSpread1"));
    table_->setModel(model_);
    digits_ = new DigitDelegate([this] { showHint(DrawEntryModel::digitHint()); }, table_);
    table_->setItemDelegate(digits_);
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
        rowHeaderRightClicked(rows->logicalIndexAt(p), rows->mapToGlobal(p));
    });
}

QAction* DataEntryWindow::addMenuAction(const char* name, const QString& caption,
                                        const QKeySequence& key) {
    QAction* a = editMenu_->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(key);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(a);
    return a;
}

void DataEntryWindow::buildEditMenu() {
    editMenu_ = new QMenu(QStringLiteral("編集(&E)"), this);
    editMenu_->setObjectName(QStringLiteral("mnuEdit"));
    addLine_ = addMenuAction("mnuAddLine", QStringLiteral("行追加"), Qt::CTRL | Qt::Key_A);
    delLine_ = addMenuAction("mnuDelLine", QStringLiteral("行削除"), Qt::CTRL | Qt::Key_D);
    editMenu_->addSeparator();
    undo_ = addMenuAction("mnuUndo", QStringLiteral("元に戻す(&U)"), Qt::CTRL | Qt::Key_Z);
    redo_ = addMenuAction("mnuRedo", QStringLiteral("やり直し(&R)"), Qt::CTRL | Qt::Key_Y);
    editMenu_->addSeparator();
    import_ = addMenuAction("mnuImport", QStringLiteral("ファイルから取り込み…"), {});
    editMenu_->addSeparator();
    jump_ = new DrawJump(
        this,
        [this]() -> const DrawRows& {
            listed_.clear();
            for (int row = 0; row < model_->rowCount(); ++row)
                listed_.add(model_->drawNo(row), row + 1);
            return listed_;
        },
        [this](int row) {
            goTo(row - 1, std::max(1, table_->currentIndex().column()));
            table_->setFocus();
        });
    jump_->setMessageSink(messages_);
    editMenu_->addAction(jump_->action());
    connect(addLine_, &QAction::triggered, this, &DataEntryWindow::addLine);
    connect(delLine_, &QAction::triggered, this, &DataEntryWindow::deleteLine);
    connect(undo_, &QAction::triggered, this, &DataEntryWindow::undo);
    connect(redo_, &QAction::triggered, this, &DataEntryWindow::redo);
    connect(import_, &QAction::triggered, this, &DataEntryWindow::onImportChosen);
}

QList<QAction*> DataEntryWindow::editActions() const {
    return editMenu_->actions();
}

QSize DataEntryWindow::sizeHint() const {
    return twipsSize(6240, 12825, this);
}

void DataEntryWindow::showHint(const QString& text) {
    status_->setText(
        QStringLiteral("<span style='color:#c00000'>%1</span><br>%2")
            .arg(text.toHtmlEscaped().replace(QLatin1Char('\n'), QStringLiteral("<br>")),
                 kSavedNote));
}

void DataEntryWindow::showNextDraw() {
    const int next = model_->nextDrawNo(selectedRow());
    nextDraw_->setText(next > 0
                           ? QStringLiteral("行追加で追加される行: 第%1回").arg(next)
                           : QStringLiteral("回数は 99999 までです。これ以上行を追加できません。"));
}

void DataEntryWindow::showUndoState() {
    undo_->setEnabled(model_->canUndo());
    redo_->setEnabled(model_->canRedo());
    undo_->setToolTip(model_->canUndo() ? QStringLiteral("元に戻す: ") + model_->undoLabel()
                                        : QString());
    redo_->setToolTip(model_->canRedo() ? QStringLiteral("やり直し: ") + model_->redoLabel()
                                        : QString());
}

// The cell alone becomes the selection, whatever keys are held: with Ctrl
// down (Ctrl+A adds a row) the view would otherwise add it to the selection.
void DataEntryWindow::goTo(int row, int column) {
    table_->selectionModel()->setCurrentIndex(model_->index(row, column),
                                              QItemSelectionModel::ClearAndSelect);
}

int DataEntryWindow::selectedRow() const {
    const QModelIndex current = table_->currentIndex();
    return current.isValid() ? current.row() : -1;
}

QList<int> DataEntryWindow::selectedRows() const {
    std::set<int> rows;
    for (const QModelIndex& i : table_->selectionModel()->selectedIndexes())
        rows.insert(i.row());
    if (rows.empty() && selectedRow() >= 0) rows.insert(selectedRow());
    return QList<int>(rows.begin(), rows.end());
}

bool DataEntryWindow::rowHeaderMenuAllowed(int row) const {
    return row >= 0 && row < model_->rowCount();
}

void DataEntryWindow::rowHeaderRightClicked(int row, const QPoint& global) {
    if (!rowHeaderMenuAllowed(row)) return;
    if (!selectedRows().contains(row)) {
        const int column = std::max(1, table_->currentIndex().column());
        table_->selectRow(row);
        table_->selectionModel()->setCurrentIndex(model_->index(row, column),
                                                  QItemSelectionModel::NoUpdate);
    }
    editMenu_->popup(global);
}

void DataEntryWindow::addLine() {
    if (!messages_->confirm(
            this, kProgramTitle,
            QStringLiteral("選択された行のうしろに行を追加します。よろしいですか？")))
        return;
    const int column = std::max(1, table_->currentIndex().column());
    const int row = model_->addRowAfter(selectedRow());
    if (row >= 0) goTo(row, column);
}

void DataEntryWindow::deleteLine() {
    const QList<int> rows = selectedRows();
    if (rows.isEmpty()) return;
    QList<int> draws;
    for (int r : rows)
        draws << model_->drawNo(r);
    // One row: the question as users have always read it; several: which draws.
    const QString question =
        rows.size() == 1 ? QStringLiteral("選択された行を削除します。よろしいですか？")
                         : QStringLiteral("選択された %1 行（%2）を削除します。よろしいですか？")
                               .arg(rows.size())
                               .arg(drawList(draws));
    if (!messages_->confirm(this, kProgramTitle, question)) return;
    const int column = std::max(1, table_->currentIndex().column());
    if (!model_->removeRowsAt(rows) || model_->rowCount() == 0) return;
    goTo(std::min(rows.front(), model_->rowCount() - 1), column);
}

void DataEntryWindow::undo() {
    const QString label = model_->undoLabel();
    if (model_->undo())
        showHint(label.isEmpty() ? QStringLiteral("保存できていなかった入力を取り消しました。")
                                 : QStringLiteral("「%1」を元に戻しました。").arg(label));
}

void DataEntryWindow::redo() {
    const QString label = model_->redoLabel();
    if (model_->redo()) showHint(QStringLiteral("「%1」をやり直しました。").arg(label));
}

QPair<int, int> DataEntryWindow::firstWrongCell() const {
    for (int row = 0; row < model_->rowCount(); ++row)
        for (int col = 1; col <= 4; ++col)
            if (isWrongDigitText(model_->cellText(row, col))) return {row, col};
    return {-1, -1};
}

void DataEntryWindow::onCloseClicked() {
    if (digits_) digits_->commitOpenEditor();
    const auto wrong = firstWrongCell();
    if (wrong.first >= 0) {
        messages_->critical(this, kMessageTitle,
                            QStringLiteral("結果マスタの数字に誤りがあります。"));
        goTo(wrong.first, wrong.second);
        return;
    }
    if (!settleUnsaved(false)) return;
    emit closeAccepted();
}

bool DataEntryWindow::settleUnsaved(bool quitting) {
    if (digits_) digits_->commitOpenEditor();
    while (model_ && model_->hasPending()) {
        if (model_->retryPending()) return true;
        const QString text =
            QStringLiteral("保存できていない入力があります（%1）。\n%2\n\n"
                           "「保存を再試行」: もう一度保存します。\n"
                           "「入力を破棄」: この入力を取り消して、保存されている数字に戻します。\n"
                           "「戻る」: %3")
                .arg(model_->pendingCells(), model_->lastError(),
                     quitting ? QStringLiteral("終了せずに入力画面に戻ります。")
                              : QStringLiteral("閉じずに入力画面に戻ります。"));
        const int choice = messages_->choose(
            this, kMessageTitle, text,
            {QStringLiteral("保存を再試行"), QStringLiteral("入力を破棄"), QStringLiteral("戻る")},
            0, 2);
        if (choice == 1) {
            model_->discardPending();
            showHint(QStringLiteral("保存できなかった入力を取り消しました。"));
            return true;
        }
        if (choice != 0) return false;
    }
    return true;
}

void DataEntryWindow::closeEvent(QCloseEvent* event) {
    if (!settleUnsaved(false)) {
        event->ignore();
        return;
    }
    emit closing();
    QWidget::closeEvent(event);
}

QString DataEntryWindow::selectionAsTsv() const {
    const QModelIndexList cells = table_->selectionModel()->selectedIndexes();
    if (cells.isEmpty()) return {};
    int r1 = cells.front().row(), r2 = r1, c1 = cells.front().column(), c2 = c1;
    QSet<QPair<int, int>> chosen;
    for (const QModelIndex& i : cells) {
        r1 = std::min(r1, i.row()), r2 = std::max(r2, i.row());
        c1 = std::min(c1, i.column()), c2 = std::max(c2, i.column());
        chosen.insert({i.row(), i.column()});
    }
    QString out;
    for (int r = r1; r <= r2; ++r) {
        for (int c = c1; c <= c2; ++c)
            out += (c > c1 ? QStringLiteral("\t") : QString()) +
                   (chosen.contains({r, c}) ? model_->cellText(r, c) : QString());
        out += QLatin1Char('\n');
    }
    return out;
}

void DataEntryWindow::paste(const QString& text) {
    const QModelIndex at = table_->currentIndex();
    if (isDigitGrid(text)) {
        model_->pasteDigits(at.isValid() ? at.row() : model_->rowCount(),
                            at.isValid() ? at.column() : 1, text);
        return;
    }
    QString report;
    if (ImportDialog::runText(this, messages_, *model_, text, report)) emit imported();
    showHint(report);
}

bool DataEntryWindow::importFile(const QString& path) {
    QString report;
    const bool written = ImportDialog::runFile(this, messages_, *model_, path, report);
    showHint(report);
    if (written) emit imported();
    return written;
}

bool DataEntryWindow::importDraws(const ImportResult& read, const QString& source) {
    QString report;
    const bool written = ImportDialog::run(this, messages_, *model_, read, source, report);
    showHint(report);
    if (written) emit imported();
    return written;
}

void DataEntryWindow::onImportChosen() {
    const QString path = chooseFile_ ? chooseFile_() : QString();
    if (!path.isEmpty()) importFile(path);
}

void DataEntryWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void DataEntryWindow::dropEvent(QDropEvent* event) {
    const QString path = ImportDialog::takeDroppedFile(event, this, messages_);
    if (!path.isEmpty()) importFile(path);
}

bool DataEntryWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Paste)) {
            paste(QApplication::clipboard()->text());
            return true;
        }
        if (key->matches(QKeySequence::Copy)) {
            QApplication::clipboard()->setText(selectionAsTsv());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace n4

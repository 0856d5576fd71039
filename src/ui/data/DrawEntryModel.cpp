#include "ui/data/DrawEntryModel.h"

#include <QColor>
#include <QRegularExpression>
#include <algorithm>

#include "core/store/DrawDetailsText.h"

namespace n4 {

namespace {

const char* const kHeaders[] = {"回数", "第1数字", "第2数字", "第3数字", "第4数字"};
// Above this many draws a step redraws the whole table instead of row by row.
constexpr size_t kRowByRowLimit = 64;

QString digitText(int d) {
    if (d == kAbsentDigit) return QString();
    if (d == kUnreadableDigit) return QStringLiteral("?");
    return QString::number(d);
}

QString draw(int no) {
    return QStringLiteral("第%1回").arg(no);
}

DrawRecord emptyDraw(int no) {
    DrawRecord r; // digits absent, not zero
    r.drawNo = no;
    return r;
}

std::vector<DrawRecord>::const_iterator findDraw(const std::vector<DrawRecord>& rows, int no) {
    return std::lower_bound(rows.begin(), rows.end(), no,
                            [](const DrawRecord& r, int n) { return r.drawNo < n; });
}

} // namespace

DrawEntryModel::DrawEntryModel(std::unique_ptr<DrawStore> store, DrawChangeLog* log,
                               QObject* parent)
    : QAbstractTableModel(parent), store_(std::move(store)),
      ownLog_(log ? nullptr : std::make_unique<DrawChangeLog>()), log_(log ? log : ownLog_.get()) {}

StoreResult DrawEntryModel::reload() {
    DrawTable rows;
    const long long version = store_->dataVersion(); // before the read: a later change shows
    StoreResult r = store_->readAll(rows);
    if (!r) return r;
    beginResetModel();
    rows_ = std::move(rows);
    pending_.clear();
    storedState_.clear();
    endResetModel();
    seenVersion_ = version;
    return r;
}

bool DrawEntryModel::followExternalChanges() {
    if (store_->dataVersion() == seenVersion_) return false;
    const bool reloaded = reload().ok;
    if (reloaded)
        emit problem(
            QStringLiteral("別のプログラムが当選データを変更したため、表示を読み直しました。"));
    emit stepsChanged();
    return reloaded;
}

bool DrawEntryModel::settleWrite(const StoreResult& w) {
    if (w.conflict) {
        // The file is not as shown: show it as it is, then say which draw.
        reload();
        emit stepsChanged();
        return fail(QString::fromStdString(w.message));
    }
    if (!w) return fail(QString::fromStdString(w.message));
    followExternalChanges(); // other draws another program changed meanwhile
    return true;
}

int DrawEntryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DrawEntryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 5;
}

int DrawEntryModel::rowOf(int drawNo) const {
    auto it = findDraw(rows_, drawNo);
    return it != rows_.end() && it->drawNo == drawNo ? static_cast<int>(it - rows_.begin()) : -1;
}

QString DrawEntryModel::cellText(int row, int col) const {
    const DrawRecord& r = rows_[row];
    return col == 0 ? QString::number(r.drawNo) : digitText(r.digits[col - 1]);
}

QVariant DrawEntryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row(), col = index.column();
    const bool pending = col > 0 && pending_.contains({rows_[row].drawNo, col});
    // A blank digit: the draw is left out of the analyses until it is filled.
    const bool blank = col > 0 && !pending && rows_[row].digits[col - 1] == kAbsentDigit;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cellText(row, col);
    case Qt::TextAlignmentRole:
        return int(Qt::AlignCenter);
    case Qt::ForegroundRole:
        return col == 0 ? QVariant(QColor(255, 0, 0)) : QVariant();
    case Qt::BackgroundRole:
        if (col == 0) return QColor(255, 255, 200);
        if (pending) return QColor(255, 210, 210);
        return blank ? QVariant(QColor(255, 236, 170)) : QVariant();
    case Qt::ToolTipRole: {
        if (pending) return QStringLiteral("まだ保存されていません");
        if (blank) return QStringLiteral("数字が欠けているため、この回は分析に含まれません");
        // The draw's date and prizes, where a results file gave them.
        const DrawDetails& d = rows_[row].details;
        QStringList lines;
        if (d.date != kUnknown) lines << QString::fromStdString(dateText(d.date));
        if (const std::string prizes = prizesText(d); !prizes.empty())
            lines << QString::fromStdString(prizes);
        return lines.isEmpty() ? QVariant() : QVariant(lines.join(QLatin1Char('\n')));
    }
    default:
        return {};
    }
}

QVariant DrawEntryModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (o == Qt::Horizontal)
        return section >= 0 && section < 5 ? QString::fromUtf8(kHeaders[section]) : QVariant();
    return section + 1;
}

Qt::ItemFlags DrawEntryModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    return index.column() == 0 ? f : f | Qt::ItemIsEditable;
}

QString DrawEntryModel::digitHint() {
    return QStringLiteral("数字は 0～9 の一桁で入力してください（空欄も可）。");
}

bool DrawEntryModel::isDigitText(const QString& text) {
    static const QRegularExpression digit(QStringLiteral("^[0-9]?$"));
    return digit.match(text).hasMatch();
}

bool DrawEntryModel::fail(const QString& message) {
    lastError_ = message;
    emit problem(message);
    return false;
}

StoreResult DrawEntryModel::write(const std::function<StoreResult()>& op) {
    if (failWrites_) return StoreResult::failure("データベースに書き込めません（書き込み禁止）。");
    return op();
}

// Every step but an edit waits until no edit is pending.
bool DrawEntryModel::settlePending() {
    if (!hasPending() || retryPending()) return true;
    return fail(QStringLiteral("保存できていない入力（%1）があります。先に保存するか、"
                               "元に戻してください。")
                    .arg(pendingCells()));
}

bool DrawEntryModel::commit(DrawChange change) {
    StoreResult w = write([&] { return log_->apply(*store_, change); });
    if (w) show(change, true);
    if (!settleWrite(w)) return false;
    emit stepsChanged();
    return true;
}

void DrawEntryModel::showState(int drawNo, const std::optional<DrawRecord>& state) {
    const int row = rowOf(drawNo);
    if (state && row >= 0) {
        rows_[row] = *state;
        emit dataChanged(index(row, 0), index(row, 4));
    } else if (state) {
        const int at = static_cast<int>(findDraw(rows_, drawNo) - rows_.cbegin());
        beginInsertRows({}, at, at);
        rows_.insert(rows_.begin() + at, *state);
        endInsertRows();
    } else if (row >= 0) {
        beginRemoveRows({}, row, row);
        rows_.erase(rows_.begin() + row);
        endRemoveRows();
    }
}

// Shows one side of a step: row by row for a few draws (the view keeps its
// place), the whole table at once for many.
void DrawEntryModel::show(const DrawChange& change, bool forward) {
    const bool whole = change.edits.size() > kRowByRowLimit;
    if (whole) beginResetModel();
    for (const DrawEdit& e : change.edits) {
        const std::optional<DrawRecord>& state = forward ? e.after : e.before;
        if (!whole) {
            showState(e.drawNo, state);
            continue;
        }
        auto it = rows_.begin() + (findDraw(rows_, e.drawNo) - rows_.cbegin());
        const bool present = it != rows_.end() && it->drawNo == e.drawNo;
        if (state && present)
            *it = *state;
        else if (state)
            rows_.insert(it, *state);
        else if (present)
            rows_.erase(it);
    }
    if (whole) endResetModel();
}

bool DrawEntryModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.column() == 0) return false;
    const QString text = value.toString().trimmed();
    if (!isDigitText(text)) return fail(digitHint());
    DrawRecord& r = rows_[index.row()];
    const int position = index.column();
    const int digit = text.isEmpty() ? kAbsentDigit : text.toInt();
    if (r.digits[position - 1] == digit && !pending_.contains({r.drawNo, position})) return true;
    const DrawRecord stored = storedState_.value(r.drawNo, r);
    r.digits[position - 1] = digit;
    DrawChange change{
        QStringLiteral("%1の第%2数字の入力").arg(draw(r.drawNo)).arg(position).toStdString(),
        {{r.drawNo, stored, r}}};
    StoreResult w = write([&] { return log_->apply(*store_, change); });
    if (w.conflict) return settleWrite(w);
    if (w) {
        // The whole row was written: any other pending cell of it is saved too.
        for (int p = 1; p <= 4; ++p)
            pending_.remove({r.drawNo, p});
        storedState_.remove(r.drawNo);
    } else {
        pending_.insert({r.drawNo, position});
        storedState_.insert(r.drawNo, stored);
    }
    emit dataChanged(index, index);
    emit stepsChanged();
    if (!w)
        return fail(QStringLiteral(
                        "保存できませんでした。入力は残してあります。もう一度お試しください。\n") +
                    QString::fromStdString(w.message));
    return settleWrite(w);
}

QString DrawEntryModel::pendingCells() const {
    QList<QPair<int, int>> cells = pending_.values();
    std::sort(cells.begin(), cells.end());
    QStringList names;
    for (const auto& [no, position] : std::as_const(cells))
        names << QStringLiteral("%1の第%2数字").arg(draw(no)).arg(position);
    return names.join(QStringLiteral("、"));
}

bool DrawEntryModel::retryPending() {
    if (!hasPending()) return true;
    DrawChange change{"入力", {}};
    for (auto it = storedState_.cbegin(); it != storedState_.cend(); ++it) {
        const int row = rowOf(it.key());
        if (row >= 0) change.edits.push_back({it.key(), it.value(), rows_[row]});
    }
    StoreResult w = write([&] { return log_->apply(*store_, change); });
    if (!w && !w.conflict) return fail(QString::fromStdString(w.message));
    pending_.clear();
    storedState_.clear();
    emit dataChanged(index(0, 1), index(std::max(0, rowCount() - 1), 4));
    emit stepsChanged();
    return settleWrite(w);
}

void DrawEntryModel::discardPending() {
    for (auto it = storedState_.cbegin(); it != storedState_.cend(); ++it)
        if (const int row = rowOf(it.key()); row >= 0) rows_[row] = it.value();
    pending_.clear();
    storedState_.clear();
    emit dataChanged(index(0, 1), index(std::max(0, rowCount() - 1), 4));
    emit stepsChanged();
}

int DrawEntryModel::nextDrawNo(int row) const {
    int number = row >= 0 && row < rowCount() ? rows_[row].drawNo + 1
                                              : (rows_.empty() ? 1 : rows_.back().drawNo + 1);
    for (auto pos = findDraw(rows_, number); pos != rows_.end() && pos->drawNo == number; ++pos)
        ++number;
    return number > kMaxDrawNo ? -1 : number;
}

int DrawEntryModel::addRowAfter(int row) {
    if (!settlePending()) return -1;
    const int number = nextDrawNo(row);
    if (number < 0)
        return fail(QStringLiteral("回数は 99999 までです。これ以上行を追加できません。")), -1;
    if (!commit({QStringLiteral("%1の行追加").arg(draw(number)).toStdString(),
                 {{number, std::nullopt, emptyDraw(number)}}}))
        return -1;
    return rowOf(number);
}

bool DrawEntryModel::removeRowsAt(QList<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [this](int r) { return r < 0 || r >= rowCount(); }),
               rows.end());
    if (rows.isEmpty() || !settlePending()) return false;
    DrawChange change;
    for (int r : rows)
        change.edits.push_back({rows_[r].drawNo, rows_[r], std::nullopt});
    const int first = rows_[rows.front()].drawNo, last = rows_[rows.back()].drawNo;
    const QString which =
        rows.size() == 1 ? draw(first) : draw(first) + QStringLiteral("～") + draw(last);
    change.label = (which + QStringLiteral("の行削除")).toStdString();
    return commit(std::move(change));
}

bool DrawEntryModel::pasteDigits(int row, int col, const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[\\t,]"));
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\\r?\\n")));
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.removeLast();
    if (lines.isEmpty() || !settlePending()) return false;
    row = std::max(0, row);
    col = std::clamp(col, 1, 4);
    DrawChange change{"貼り付け", {}};
    int nextNo = rows_.empty() ? 1 : rows_.back().drawNo + 1;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(separators);
        if (col + fields.size() - 1 > 4) return fail(QStringLiteral("貼り付ける列が多すぎます。"));
        const bool existing = row + i < rowCount();
        DrawRecord r = existing ? rows_[row + i] : emptyDraw(nextNo++);
        if (r.drawNo > kMaxDrawNo)
            return fail(QStringLiteral("回数は 99999 までです。貼り付けられません。"));
        const std::optional<DrawRecord> before =
            existing ? std::optional<DrawRecord>(r) : std::nullopt;
        for (int f = 0; f < fields.size(); ++f) {
            const QString t = fields[f].trimmed();
            if (!isDigitText(t)) return fail(QStringLiteral("%1行目: ").arg(i + 1) + digitHint());
            r.digits[col + f - 1] = t.isEmpty() ? kAbsentDigit : t.toInt();
        }
        change.edits.push_back({r.drawNo, before, r});
    }
    change.label = QStringLiteral("%1 回分の貼り付け").arg(change.edits.size()).toStdString();
    return commit(std::move(change));
}

ImportPlan DrawEntryModel::planImport(const std::vector<DrawRecord>& incoming) const {
    return n4::planImport(rows_, incoming);
}

bool DrawEntryModel::applyImport(const ImportPlan& plan) {
    if (plan.nothingToDo()) return true;
    if (!settlePending()) return false;
    const int draws = static_cast<int>(plan.added.size() + plan.changed.size());
    return commit(plan.change(QStringLiteral("%1 回分の取り込み").arg(draws).toStdString()));
}

bool DrawEntryModel::undo() {
    if (hasPending()) {
        discardPending();
        return true;
    }
    if (!canUndo()) return false;
    StoreResult w = write([&] { return log_->undo(*store_); });
    if (w) show(*log_->nextRedo(), false);
    if (!settleWrite(w)) return false;
    emit stepsChanged();
    return true;
}

bool DrawEntryModel::redo() {
    if (!canRedo() || !settlePending()) return false;
    StoreResult w = write([&] { return log_->redo(*store_); });
    if (w) show(*log_->nextUndo(), true);
    if (!settleWrite(w)) return false;
    emit stepsChanged();
    return true;
}

QString DrawEntryModel::undoLabel() const {
    if (hasPending()) return {};
    return log_->nextUndo() ? QString::fromStdString(log_->nextUndo()->label) : QString();
}

QString DrawEntryModel::redoLabel() const {
    return log_->nextRedo() ? QString::fromStdString(log_->nextRedo()->label) : QString();
}

} // namespace n4

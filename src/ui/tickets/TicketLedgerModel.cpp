#include "ui/tickets/TicketLedgerModel.h"

#include <QColor>
#include <QFont>
#include <algorithm>

#include "core/store/DrawDetailsText.h"
#include "core/tickets/TicketCsv.h"

namespace n4 {

namespace {

const char* const kHeaders[] = {"回", "最終回", "番号", "種類", "口数", "結果", "賞金"};
const QColor kWonBackground(255, 242, 204);
const QColor kPendingText(96, 96, 96);

QString text(const std::string& s) {
    return QString::fromStdString(s);
}

// The prizes of a ticket's draws: summed where known, and 賞金未取得 said
// beside them where a win's prize is not.
QString prizeSummary(const CheckedTicket& c) {
    long long sum = 0;
    bool unknown = false, known = false;
    for (const TicketDrawResult& r : c.results) {
        if (r.outcome != TicketOutcome::Won && r.outcome != TicketOutcome::Lost) continue;
        if (r.prize == kUnknown) {
            unknown = true;
        } else {
            known = true;
            sum += r.prize;
        }
    }
    if (!known && !unknown) return {};
    if (unknown && sum == 0) return QStringLiteral("賞金未取得");
    const QString yen = text(groupedDigits(sum)) + QStringLiteral("円");
    return unknown ? yen + QStringLiteral("＋賞金未取得") : yen;
}

QString resultLines(const CheckedTicket& c) {
    QStringList lines;
    for (const TicketDrawResult& r : c.results) {
        QString line = QStringLiteral("第%1回: ").arg(r.drawNo) + text(outcomeText(r));
        if (!prizeText(r).empty()) line += QStringLiteral("　") + text(prizeText(r));
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

bool anyWon(const CheckedTicket& c) {
    return std::any_of(c.results.begin(), c.results.end(),
                       [](const TicketDrawResult& r) { return r.outcome == TicketOutcome::Won; });
}

bool allPending(const CheckedTicket& c) {
    return std::all_of(c.results.begin(), c.results.end(), [](const TicketDrawResult& r) {
        return r.outcome == TicketOutcome::Pending;
    });
}

} // namespace

TicketLedgerModel::TicketLedgerModel(std::unique_ptr<DrawStore> store, const DrawTable& table,
                                     QObject* parent)
    : QAbstractTableModel(parent), store_(std::move(store)), draws_(table) {
    readBack();
}

void TicketLedgerModel::setDraws(const DrawTable& table) {
    draws_ = table;
    readBack();
}

void TicketLedgerModel::readBack() {
    beginResetModel();
    std::vector<Ticket> read;
    StoreResult r = store_ ? readTickets(*store_, read) : StoreResult::success();
    if (r) tickets_ = std::move(read);
    recheck();
    endResetModel();
    if (!r) emit problem(text(r.message));
    emit ledgerChanged();
}

void TicketLedgerModel::recheck() {
    checked_ = checkTickets(tickets_, draws_);
}

int TicketLedgerModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(tickets_.size());
}

int TicketLedgerModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant TicketLedgerModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const CheckedTicket& c = checked_[static_cast<size_t>(index.row())];
    const Ticket& t = c.ticket;
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        switch (index.column()) {
        case DrawCol:
            return t.firstDraw;
        case LastDrawCol:
            return t.lastDraw != t.firstDraw ? QVariant(t.lastDraw) : QVariant(QString());
        case NumberCol:
            return text(fourDigits(t.number));
        case KindCol:
            return QString::fromUtf8(buyKindName(t.kind));
        case UnitsCol:
            return t.units;
        case ResultCol:
            return text(outcomeSummary(c));
        case PrizeCol:
            return prizeSummary(c);
        }
    }
    if (role == Qt::ToolTipRole && index.column() >= ResultCol) return resultLines(c);
    if (role == Qt::BackgroundRole && anyWon(c)) return kWonBackground;
    if (role == Qt::ForegroundRole && allPending(c)) return kPendingText;
    if (role == Qt::TextAlignmentRole)
        return index.column() == ResultCol ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                           : int(Qt::AlignCenter);
    return {};
}

QVariant TicketLedgerModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (o == Qt::Vertical) return section + 1;
    return section >= 0 && section < kColumns ? QString::fromUtf8(kHeaders[section]) : QVariant();
}

Qt::ItemFlags TicketLedgerModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    return index.column() < ResultCol ? f | Qt::ItemIsEditable : f;
}

bool TicketLedgerModel::edited(Ticket& t, int column, const QString& typed, QString& hint) {
    const std::string s = typed.trimmed().toStdString();
    std::string why;
    switch (column) {
    case DrawCol: {
        const int n = parseDrawNo(s);
        if (n < 0) why = "回は数字で入力してください（例: 7060）。";
        if (t.lastDraw == t.firstDraw) t.lastDraw = n; // one draw stays one draw
        t.firstDraw = n;
        break;
    }
    case LastDrawCol:
        t.lastDraw = s.empty() ? t.firstDraw : parseDrawNo(s);
        if (t.lastDraw < 0) why = "最終回は数字で入力してください。一回だけなら空にします。";
        break;
    case NumberCol:
        t.number = parseNumber(s, why);
        break;
    case KindCol:
        if (!parseBuyKind(s, t.kind)) why = "種類はストレート・ボックス・セットのどれかです。";
        break;
    case UnitsCol:
        t.units = parseDrawNo(s);
        if (t.units < 0 || s.find("回") != std::string::npos)
            why = "口数は 1～9999 の数で入力してください。";
        break;
    default:
        why = "この欄は変えられません。";
    }
    if (why.empty()) why = ticketProblem(t);
    hint = text(why);
    return why.empty();
}

bool TicketLedgerModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !index.isValid() || index.row() >= rowCount()) return false;
    const Ticket before = tickets_[static_cast<size_t>(index.row())];
    Ticket after = before;
    QString hint;
    if (!edited(after, index.column(), value.toString(), hint)) {
        emit problem(hint);
        return false;
    }
    if (after.sameContent(before)) return true;
    return commit({QStringLiteral("%1の変更").arg(QString::fromUtf8(kHeaders[index.column()])),
                   {before},
                   {after}});
}

bool TicketLedgerModel::addTickets(std::vector<Ticket> tickets, const QString& label) {
    for (Ticket& t : tickets) {
        t.id = 0;
        if (std::string why = ticketProblem(t); !why.empty()) {
            emit problem(text(why));
            return false;
        }
    }
    if (tickets.empty()) return false;
    return commit({label, {}, std::move(tickets)});
}

bool TicketLedgerModel::removeRowsAt(const QList<int>& rows) {
    std::vector<Ticket> gone;
    for (int row : rows)
        if (row >= 0 && row < rowCount()) gone.push_back(tickets_[static_cast<size_t>(row)]);
    if (gone.empty()) return false;
    return commit({QStringLiteral("%1 件の削除").arg(gone.size()), std::move(gone), {}});
}

bool TicketLedgerModel::pasteRows(const QString& pasted) {
    const TicketCsvResult read = readTicketsCsv(pasted.toStdString());
    if (!read.ok) {
        emit problem(QStringLiteral("貼り付けられません: ") + text(read.message));
        return false;
    }
    return addTickets(read.tickets, QStringLiteral("%1 件の貼り付け").arg(read.tickets.size()));
}

bool TicketLedgerModel::apply(const std::vector<Ticket>& from, std::vector<Ticket>& to) {
    std::vector<long long> removed;
    for (const Ticket& t : from)
        if (std::none_of(to.begin(), to.end(), [&](const Ticket& u) { return u.id == t.id; }))
            removed.push_back(t.id);
    StoreResult r = store_ ? changeTickets(*store_, to, removed)
                           : StoreResult::failure("データベースが開かれていません。");
    if (!r) {
        emit problem(QStringLiteral("購入記録を保存できませんでした。何も変えていません。\n") +
                     text(r.message));
        return false;
    }
    readBack();
    return true;
}

bool TicketLedgerModel::commit(Step step) {
    // The ids the store gives new tickets are kept in the step, so that redo
    // puts them back where they were.
    if (!apply(step.before, step.after)) return false;
    steps_.resize(done_);
    steps_.push_back(std::move(step));
    done_ = steps_.size();
    return true;
}

bool TicketLedgerModel::undo() {
    if (!canUndo()) return false;
    Step& s = steps_[done_ - 1];
    if (!apply(s.after, s.before)) return false;
    --done_;
    return true;
}

bool TicketLedgerModel::redo() {
    if (!canRedo()) return false;
    Step& s = steps_[done_];
    if (!apply(s.before, s.after)) return false;
    ++done_;
    return true;
}

QString TicketLedgerModel::undoLabel() const {
    return canUndo() ? steps_[done_ - 1].label : QString();
}

QString TicketLedgerModel::redoLabel() const {
    return canRedo() ? steps_[done_].label : QString();
}

} // namespace n4

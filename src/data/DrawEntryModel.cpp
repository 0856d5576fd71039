#include "data/DrawEntryModel.h"

#include <QColor>
#include <QRegularExpression>
#include <algorithm>

namespace n4 {

namespace {
const char* const kHeaders[5] = {"回数", "第1数字", "第2数字", "第3数字", "第4数字"};

QString digitText(int d) {
    if (d == kAbsentDigit) return QString();
    if (d == kUnreadableDigit) return QStringLiteral("?");
    return QString::number(d);
}
} // namespace

DrawEntryModel::DrawEntryModel(std::unique_ptr<DrawStore> store, QObject* parent)
    : QAbstractTableModel(parent), store_(std::move(store)) {}

StoreResult DrawEntryModel::reload() {
    DrawTable rows;
    StoreResult r = store_->readAll(rows);
    if (!r) return r;
    beginResetModel();
    rows_ = std::move(rows);
    pending_.clear();
    endResetModel();
    return r;
}

int DrawEntryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int DrawEntryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 5;
}

QString DrawEntryModel::cellText(int row, int col) const {
    const DrawRecord& r = rows_[row];
    return col == 0 ? QString::number(r.drawNo) : digitText(r.digits[col - 1]);
}

QVariant DrawEntryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const int row = index.row(), col = index.column();
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
        if (pending_.contains({rows_[row].drawNo, col})) return QColor(255, 210, 210);
        return {};
    case Qt::ToolTipRole:
        if (col > 0 && pending_.contains({rows_[row].drawNo, col}))
            return QStringLiteral("まだ保存されていません");
        return {};
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

bool DrawEntryModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole || index.column() == 0) return false;
    const QString text = value.toString().trimmed();
    if (!isDigitText(text)) return fail(digitHint());
    DrawRecord& r = rows_[index.row()];
    const int position = index.column();
    r.digits[position - 1] = text.isEmpty() ? kAbsentDigit : text.toInt();
    const int digit = r.digits[position - 1];
    StoreResult w = write([&] { return store_->setDigit(r.drawNo, position, digit); });
    if (w)
        pending_.remove({r.drawNo, position});
    else
        pending_.insert({r.drawNo, position});
    emit dataChanged(index, index);
    if (!w)
        return fail(QStringLiteral(
                        "保存できませんでした。入力は残してあります。もう一度お試しください。\n") +
                    QString::fromStdString(w.message));
    return true;
}

bool DrawEntryModel::retryPending() {
    for (auto it = pending_.begin(); it != pending_.end();) {
        const int drawNo = it->first, position = it->second;
        auto row = std::find_if(rows_.begin(), rows_.end(),
                                [&](const DrawRecord& r) { return r.drawNo == drawNo; });
        if (row == rows_.end()) {
            it = pending_.erase(it);
            continue;
        }
        const int digit = row->digits[position - 1];
        StoreResult w = write([&] { return store_->setDigit(drawNo, position, digit); });
        if (!w) return fail(QString::fromStdString(w.message));
        it = pending_.erase(it);
    }
    emit dataChanged(index(0, 1), index(std::max(0, rowCount() - 1), 4));
    return true;
}

int DrawEntryModel::addRowAfter(int row) {
    int number = row >= 0 && row < rowCount() ? rows_[row].drawNo + 1
                                              : (rows_.empty() ? 1 : rows_.back().drawNo + 1);
    auto pos = std::lower_bound(rows_.begin(), rows_.end(), number,
                                [](const DrawRecord& r, int no) { return r.drawNo < no; });
    while (pos != rows_.end() && pos->drawNo == number)
        ++number, ++pos;
    if (number > kMaxDrawNo)
        return fail(QStringLiteral("回数は 99999 までです。これ以上行を追加できません。")), -1;
    StoreResult w = write([&] { return store_->insertEmpty(number); });
    if (!w) return fail(QString::fromStdString(w.message)), -1;
    const int at = static_cast<int>(pos - rows_.begin());
    beginInsertRows({}, at, at);
    rows_.insert(rows_.begin() + at, DrawRecord{number, {}});
    endInsertRows();
    return at;
}

bool DrawEntryModel::removeRowAt(int row) {
    if (row < 0 || row >= rowCount()) return false;
    const int number = rows_[row].drawNo;
    StoreResult w = write([&] { return store_->remove(number); });
    if (!w) return fail(QString::fromStdString(w.message));
    beginRemoveRows({}, row, row);
    rows_.erase(rows_.begin() + row);
    endRemoveRows();
    for (int p = 1; p <= 4; ++p)
        pending_.remove({number, p});
    return true;
}

bool DrawEntryModel::pasteDigits(int row, int col, const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[\\t,]"));
    QStringList lines = text.split(QRegularExpression(QStringLiteral("\\r?\\n")));
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.removeLast();
    if (lines.isEmpty()) return false;
    row = std::max(0, row);
    col = std::clamp(col, 1, 4);
    std::vector<DrawRecord> changed;
    int nextNo = rows_.empty() ? 1 : rows_.back().drawNo + 1;
    for (int i = 0; i < lines.size(); ++i) {
        const QStringList fields = lines[i].split(separators);
        if (col + fields.size() - 1 > 4) return fail(QStringLiteral("貼り付ける列が多すぎます。"));
        DrawRecord r = row + i < rowCount() ? rows_[row + i] : DrawRecord{nextNo++, {}};
        if (r.drawNo > kMaxDrawNo)
            return fail(QStringLiteral("回数は 99999 までです。貼り付けられません。"));
        for (int f = 0; f < fields.size(); ++f) {
            const QString t = fields[f].trimmed();
            if (!isDigitText(t)) return fail(QStringLiteral("%1行目: ").arg(i + 1) + digitHint());
            r.digits[col + f - 1] = t.isEmpty() ? kAbsentDigit : t.toInt();
        }
        changed.push_back(r);
    }
    StoreResult w = write([&] { return store_->upsert(changed); });
    if (!w) return fail(QString::fromStdString(w.message));
    beginResetModel();
    for (const DrawRecord& r : changed) {
        auto pos = std::lower_bound(rows_.begin(), rows_.end(), r.drawNo,
                                    [](const DrawRecord& x, int no) { return x.drawNo < no; });
        if (pos != rows_.end() && pos->drawNo == r.drawNo)
            *pos = r;
        else
            rows_.insert(pos, r);
    }
    endResetModel();
    return true;
}

} // namespace n4

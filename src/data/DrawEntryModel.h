#pragma once
// The editable view of the draw database behind the data-entry window. Every
// change is written through at once, each as one transaction; a write that
// fails keeps the typed value visible and pending, for a retry.
#include <QAbstractTableModel>
#include <QSet>
#include <memory>

#include "data/DrawStore.h"

namespace n4 {

class DrawEntryModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    explicit DrawEntryModel(std::unique_ptr<DrawStore> store, QObject* parent = nullptr);

    // Loads every row with the program's one select statement.
    StoreResult reload();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Empty text or one digit 0..9.
    static bool isDigitText(const QString& text);
    // What the user is told when a digit is refused.
    static QString digitHint();
    // A new draw after the given row (-1: none selected): the smallest unused
    // number above that row's; returns the new row, or -1 (see lastError()).
    int addRowAfter(int row);
    bool removeRowAt(int row);
    // Rows of tab- or comma-separated digits into columns from (row, col) on,
    // adding draws at the end as needed; all in one transaction.
    bool pasteDigits(int row, int col, const QString& text);
    // Writes pending cells again; false while any still fails.
    bool retryPending();
    bool hasPending() const { return !pending_.isEmpty(); }

    int drawNo(int row) const { return rows_[row].drawNo; }
    QString cellText(int row, int col) const;
    QString lastError() const { return lastError_; }
    // A write that fails from now on (for tests of the failure path).
    void setFailWrites(bool fail) { failWrites_ = fail; }

  signals:
    void problem(const QString& message);

  private:
    StoreResult write(const std::function<StoreResult()>& op);
    bool fail(const QString& message);

    std::unique_ptr<DrawStore> store_;
    std::vector<DrawRecord> rows_;
    QSet<QPair<int, int>> pending_; // (draw number, position)
    QString lastError_;
    bool failWrites_ = false;
};

} // namespace n4

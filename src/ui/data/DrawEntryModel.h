#pragma once
// The editable view of the draw database behind the data-entry window. Every
// change is written through at once as one step of the change log (one
// transaction) and can be undone and redone. An edit whose write fails keeps
// the typed value visible and pending, for a retry; nothing else is done
// while an edit is pending, so no step is built on an unsaved one. A write
// lands only where the file still holds what the window showed: when another
// program changed the draw meanwhile, nothing is written and the window shows
// the file as it is.
#include <QAbstractTableModel>
#include <QMap>
#include <QSet>
#include <memory>

#include "core/import/ImportPlan.h"
#include "core/store/DrawChangeLog.h"

namespace n4 {

class DrawEntryModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    // log: the program's change log (shared with the main window), or
    // nullptr for one of the model's own.
    explicit DrawEntryModel(std::unique_ptr<DrawStore> store, DrawChangeLog* log = nullptr,
                            QObject* parent = nullptr);

    // Loads every row with the program's one select statement.
    StoreResult reload();
    // Reloads when another program (or another store) changed the file since
    // the rows were read, and says so; true when it did.
    bool followExternalChanges();

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
    // The number a new row after the given row (-1: none selected) gets: the
    // smallest unused number above that row's; -1 when none is left.
    int nextDrawNo(int row) const;
    // Adds that row, with empty digits; returns it, or -1 (see lastError()).
    int addRowAfter(int row);
    // Deletes the given rows as one step.
    bool removeRowsAt(QList<int> rows);
    // Rows of tab- or comma-separated digits into columns from (row, col) on,
    // adding draws at the end as needed; one step.
    bool pasteDigits(int row, int col, const QString& text);
    // Compares incoming draws with the rows shown; applyImport writes the new
    // and changed ones as one step.
    ImportPlan planImport(const std::vector<DrawRecord>& incoming) const;
    bool applyImport(const ImportPlan& plan);

    // An edit that could not be saved is undone first (discarded).
    bool undo();
    bool redo();
    bool canUndo() const { return hasPending() || log_->canUndo(); }
    bool canRedo() const { return !hasPending() && log_->canRedo(); }
    QString undoLabel() const;
    QString redoLabel() const;

    // Writes pending cells again, as one step; false while it still fails.
    bool retryPending();
    // Puts the stored digits back in place of the edits that could not be saved.
    void discardPending();
    bool hasPending() const { return !pending_.isEmpty(); }
    // The cells not saved, for a message: 第3回の第2数字, ...
    QString pendingCells() const;

    int drawNo(int row) const { return rows_[row].drawNo; }
    int rowOf(int drawNo) const; // -1 when absent
    QString cellText(int row, int col) const;
    QString lastError() const { return lastError_; }
    // A write that fails from now on (for tests of the failure path).
    void setFailWrites(bool fail) { failWrites_ = fail; }

  signals:
    void problem(const QString& message);
    // A step was written, undone or redone.
    void stepsChanged();

  private:
    StoreResult write(const std::function<StoreResult()>& op);
    bool fail(const QString& message);
    // After a write: a conflict reloads and names the draw; a failure is
    // told; a success still shows what others changed meanwhile.
    bool settleWrite(const StoreResult& w);
    bool settlePending();
    bool commit(DrawChange change);
    void show(const DrawChange& change, bool forward);
    void showState(int drawNo, const std::optional<DrawRecord>& state);

    std::unique_ptr<DrawStore> store_;
    std::unique_ptr<DrawChangeLog> ownLog_;
    DrawChangeLog* log_;
    std::vector<DrawRecord> rows_;
    QSet<QPair<int, int>> pending_;     // (draw number, position)
    QMap<int, DrawRecord> storedState_; // of each draw with a pending cell
    QString lastError_;
    bool failWrites_ = false;
    long long seenVersion_ = -1; // the file's data version the rows were read at
};

} // namespace n4

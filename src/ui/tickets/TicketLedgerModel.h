#pragma once
// The tickets of the ledger, each with its results against the draws. Every
// change is written at once, in one transaction, and is one step that can be
// undone and redone: added tickets, a changed field, deleted or pasted rows.
#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "core/tickets/TicketCheck.h"
#include "core/tickets/TicketStore.h"

namespace n4 {

class TicketLedgerModel : public QAbstractTableModel {
    Q_OBJECT
  public:
    enum Column { DrawCol, LastDrawCol, NumberCol, KindCol, UnitsCol, ResultCol, PrizeCol };
    static constexpr int kColumns = 7;

    TicketLedgerModel(std::unique_ptr<DrawStore> store, const DrawTable& table,
                      QObject* parent = nullptr);

    // The draws the tickets are checked against; the tickets are read again
    // too (another program may have added some).
    void setDraws(const DrawTable& table);
    const DrawTable& draws() const { return draws_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A field typed into a cell: refused with a hint (problem()) when the
    // ticket would not be one that can be bought.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    // Each is one step; false (with problem() emitted) when nothing was written.
    bool addTickets(std::vector<Ticket> tickets, const QString& label);
    bool removeRowsAt(const QList<int>& rows);
    // Rows in the CSV file's shape, or shorter (see readTicketsCsv).
    bool pasteRows(const QString& text);

    bool undo();
    bool redo();
    bool canUndo() const { return done_ > 0; }
    bool canRedo() const { return done_ < steps_.size(); }
    QString undoLabel() const;
    QString redoLabel() const;

    const std::vector<Ticket>& tickets() const { return tickets_; }
    const std::vector<CheckedTicket>& checked() const { return checked_; }
    // The ticket typed into a row's field, parsed; false with the hint.
    static bool edited(Ticket& ticket, int column, const QString& text, QString& hint);

  signals:
    void problem(const QString& message);
    // The tickets or their results changed (a step, or new draws).
    void ledgerChanged();

  private:
    // One step: the tickets it touched as they were before and after (a
    // ticket absent on one side was added or removed by it).
    struct Step {
        QString label;
        std::vector<Ticket> before, after;
    };
    // Writes to (new tickets get their ids in it) and removes what only from has.
    bool apply(const std::vector<Ticket>& from, std::vector<Ticket>& to);
    bool commit(Step step);
    void readBack();
    void recheck();

    std::unique_ptr<DrawStore> store_;
    DrawTable draws_;
    std::vector<Ticket> tickets_;
    std::vector<CheckedTicket> checked_;
    std::vector<Step> steps_;
    size_t done_ = 0; // steps_[0, done_) are applied
};

} // namespace n4

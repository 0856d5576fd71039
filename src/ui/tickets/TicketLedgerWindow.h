#pragma once
// The window 購入記録: the tickets bought, typed in a line above the list
// (checked as typed), pasted, read from a CSV file or handed over by the
// number builder; each checked against its draws with its prize, and the
// balance over a chosen period below. Every edit is saved at once and can
// be undone (Ctrl+Z) and redone (Ctrl+Y).
#include <QWidget>
#include <memory>

#include "core/tickets/TicketStore.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableView;

namespace n4 {

class MessageSink;
class TicketLedgerModel;
class TicketTotalsPanel;

class TicketLedgerWindow : public QWidget {
    Q_OBJECT
  public:
    TicketLedgerWindow(std::unique_ptr<DrawStore> store, const DrawTable& table,
                       MessageSink* messages, QWidget* parent = nullptr);

    // The draws as they now are: results, totals and chart follow.
    void setDraws(const DrawTable& table);
    // The builder's numbers, bought for the next draw, as one step.
    bool addNumbers(const std::vector<int>& numbers, BuyKind kind, int units);

    TicketLedgerModel* model() const { return model_; }
    TicketTotalsPanel* totals() const { return totals_; }
    QTableView* tableView() const { return table_; }
    QLineEdit* drawEdit() const { return draw_; }
    QLineEdit* lastDrawEdit() const { return lastDraw_; }
    QLineEdit* numberEdit() const { return number_; }
    QComboBox* kindBox() const { return kind_; }
    QSpinBox* unitsBox() const { return units_; }
    QPushButton* addButton() const { return add_; }
    QLabel* hintLabel() const { return hint_; }
    // The file dialogs, replaced by tests: a path, or empty for cancel.
    void setFileChooser(std::function<QString(bool save)> chooser);

  signals:
    void closeRequested();

  private:
    void buildEntryLine();
    void buildActions();
    QAction* addCommand(const char* name, const QString& caption, const QKeySequence& key);
    bool typedTicket(Ticket& ticket, QString& hint) const;
    void checkTyped();
    void addTyped();
    void removeSelected();
    void paste();
    void saveCsv();
    void importCsv();
    void showState();
    void say(const QString& message, bool hint);
    int nextDraw() const;

    MessageSink* messages_;
    TicketLedgerModel* model_;
    TicketTotalsPanel* totals_;
    QTableView* table_;
    QLineEdit *draw_, *lastDraw_, *number_;
    QComboBox* kind_;
    QSpinBox* units_;
    QPushButton *add_, *close_;
    QLabel* hint_;
    QAction *undo_, *redo_, *remove_;
    std::function<QString(bool save)> chooseFile_;
};

} // namespace n4

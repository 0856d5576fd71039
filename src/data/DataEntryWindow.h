#pragma once
// The data-entry window 当選データ入力: the draw database in an editable grid.
#include <QList>
#include <QWidget>

#include "data/DrawStore.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTableView;

namespace n4 {

class DrawEntryModel;
class MessageSink;

class DataEntryWindow : public QWidget {
    Q_OBJECT
  public:
    DataEntryWindow(const DbConnectionString& conn, MessageSink* messages,
                    QWidget* parent = nullptr);

    bool isUsable() const { return model_ != nullptr; }
    QList<QAction*> editActions() const { return {addLine_, delLine_}; }
    QTableView* table() const { return table_; }
    DrawEntryModel* model() const { return model_; }
    QPushButton* closeButton() const { return close_; }
    QLabel* statusLabel() const { return status_; }
    QSize sizeHint() const override;

    // The close button's check: the first wrong digit cell (row, column from
    // 0), or (-1, -1) when every cell is right.
    QPair<int, int> firstWrongCell() const;
    void addLine();
    void deleteLine();
    // Right click on the row-number cell of row r (0-based) at a global point.
    bool rowHeaderMenuAllowed(int row) const;

  signals:
    void closeAccepted();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Closing by the frame skips the digit check but never drops an edit
    // that could not be saved.
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildLayout();
    void buildTable();
    void buildEditMenu();
    void onCloseClicked();
    void showHint(const QString& text);
    int selectedRow() const;
    bool singleRowSelected() const;

    MessageSink* messages_;
    DrawEntryModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* close_ = nullptr;
    QAction* addLine_ = nullptr;
    QAction* delLine_ = nullptr;
    QMenu* editMenu_ = nullptr;
};

} // namespace n4

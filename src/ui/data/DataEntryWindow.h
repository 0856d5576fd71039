#pragma once
// The data-entry window 当選データ入力: the draw database in an editable grid
// that works like a spreadsheet: rows selected by their header, the whole
// selection copied, several rows deleted at once, every step undoable, files
// and pasted result pages brought in with one question.
#include <QList>
#include <QWidget>
#include <functional>

#include "core/grid/DrawRows.h"
#include "core/import/HistoryImport.h"

#include "core/store/DrawStore.h"

class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTableView;

namespace n4 {

class DigitDelegate;
class DrawJump;
class DrawChangeLog;
class DrawEntryModel;
class MessageSink;

class DataEntryWindow : public QWidget {
    Q_OBJECT
  public:
    // log: the program's change log, so that undo reaches back past a
    // reopening; nullptr for one of the window's own.
    DataEntryWindow(const DbConnectionString& conn, MessageSink* messages,
                    DrawChangeLog* log = nullptr, QWidget* parent = nullptr);

    bool isUsable() const { return model_ != nullptr; }
    // The 編集 menu's entries in order, separators included.
    QList<QAction*> editActions() const;
    QAction* undoAction() const { return undo_; }
    QAction* redoAction() const { return redo_; }
    QAction* importAction() const { return import_; }
    // 回号へ移動… (Ctrl+G): the cursor to a draw's row.
    DrawJump* drawJump() const { return jump_; }
    QTableView* table() const { return table_; }
    DrawEntryModel* model() const { return model_; }
    QPushButton* closeButton() const { return close_; }
    QLabel* statusLabel() const { return status_; }
    QLabel* nextDrawLabel() const { return nextDraw_; }
    QSize sizeHint() const override;

    // The close button's check: the first wrong digit cell (row, column from
    // 0), or (-1, -1) when every cell is right.
    QPair<int, int> firstWrongCell() const;
    void addLine();
    void deleteLine();
    void undo();
    void redo();
    // The rows of the selection (or the current row), ascending.
    QList<int> selectedRows() const;
    bool rowHeaderMenuAllowed(int row) const;
    // A right click on row r's header: selects the row unless it is already
    // selected, then opens the 編集 menu at the global point.
    void rowHeaderRightClicked(int row, const QPoint& global);
    QString selectionAsTsv() const;
    // Digits into the grid from the current cell; anything else (rows with
    // draw numbers, a results page) is imported with one question.
    void paste(const QString& text);
    bool importFile(const QString& path);
    // Draws read elsewhere (fetched from a results source), with the same question.
    bool importDraws(const ImportResult& read, const QString& source);
    // The file dialog behind "ファイルから取り込み…" (tests give their own).
    void setFileChooser(std::function<QString()> chooser) { chooseFile_ = std::move(chooser); }
    // Nothing left unsaved, after asking retry / discard / stay when an edit
    // could not be saved; false when the user stays.
    bool settleUnsaved(bool quitting);

  signals:
    void closeAccepted();
    // The window is going: its changes may be shown elsewhere now.
    void closing();
    // An import has written draws.
    void imported();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Closing by the frame skips the digit check but never drops an edit
    // that could not be saved.
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void buildLayout();
    void buildTable();
    void buildEditMenu();
    QAction* addMenuAction(const char* name, const QString& caption, const QKeySequence& key);
    void onCloseClicked();
    void onImportChosen();
    void showHint(const QString& text);
    void showNextDraw();
    void showUndoState();
    int selectedRow() const;
    void goTo(int row, int column);

    MessageSink* messages_;
    DrawEntryModel* model_ = nullptr;
    QTableView* table_ = nullptr;
    DigitDelegate* digits_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* nextDraw_ = nullptr;
    QPushButton* close_ = nullptr;
    QAction* addLine_ = nullptr;
    QAction* delLine_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* import_ = nullptr;
    QMenu* editMenu_ = nullptr;
    DrawJump* jump_ = nullptr;
    DrawRows listed_; // the rows' draws, as Ctrl+G last asked for them
    std::function<QString()> chooseFile_;
};

} // namespace n4

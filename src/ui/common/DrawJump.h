#pragma once
// 回号へ移動… (Ctrl+G) in the windows that list draws: asks for a draw number
// and takes the window's cell cursor to that draw's row, scrolled into view.
// A number the window does not list is refused with a message that says why,
// and nothing moves.
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QAction;
class QWidget;

namespace n4 {

class DrawRows;
class MessageSink;

// The draw number in what the user typed: "1234", "第1234回", or with the
// full-width digits a Japanese input method gives; nullopt when there is none.
std::optional<int> drawNumberIn(const QString& typed);

class DrawJump : public QObject {
    Q_OBJECT
  public:
    // scope: the window whose Ctrl+G this answers (the action is added to it);
    // rows: where the window lists each draw now; moveTo: takes the cursor to
    // one of those rows.
    DrawJump(QWidget* scope, std::function<const DrawRows&()> rows,
             std::function<void(int row)> moveTo);

    QAction* action() const { return action_; }
    // Asks for the number: (parent, prompt) -> what the user typed, or a null
    // string when the user gives up. By default the toolkit's input dialog.
    using Asker = std::function<QString(QWidget* parent, const QString& prompt)>;
    void setAsker(Asker asker) { ask_ = std::move(asker); }
    // Where a refusal is said; by default the program's message box.
    void setMessageSink(MessageSink* sink) { messages_ = sink; }

    // The command: asks, then moves, or says why not.
    void run();
    // Moves to the draw; an empty string when moved, else why not.
    QString goTo(int drawNo);

  private:
    QWidget* scope_;
    QAction* action_;
    std::function<const DrawRows&()> rows_;
    std::function<void(int)> moveTo_;
    Asker ask_;
    MessageSink* messages_;
};

} // namespace n4

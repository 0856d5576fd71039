#pragma once
// Window-test helpers: a message sink that records instead of blocking, and a
// main window over a fresh database in a temp folder.
#include <QString>
#include <QStringList>
#include <memory>

class QAction;
class QMdiSubWindow;

#include "TestSupport.h"
#include "shell/MainFrm.h"
#include "shell/MessageSink.h"

namespace n4test {

class RecordingSink : public n4::MessageSink {
  public:
    struct Message {
        QString kind, title, text;
    };
    QList<Message> messages;
    bool answer = true; // what confirm() answers

    void critical(QWidget*, const QString& title, const QString& text) override {
        messages.append({"critical", title, text});
    }
    void information(QWidget*, const QString& title, const QString& text) override {
        messages.append({"information", title, text});
    }
    bool confirm(QWidget*, const QString& title, const QString& text) override {
        messages.append({"confirm", title, text});
        return answer;
    }
};

// A folder holding a database with the given draws, and a settings path.
struct Workspace {
    std::string folder;
    n4::ShellConfig config;
    explicit Workspace(const n4::DrawTable& table = n4::draws({{1, 2, 3, 4}, {5, 6, 7, 8}}));
};

// The program as main() starts it: the main window maximised with the
// prediction window open, over a Workspace.
struct Shell {
    Workspace ws;
    RecordingSink sink;
    std::unique_ptr<n4::MainFrm> main;
    explicit Shell(const n4::DrawTable& table = n4::draws({{1, 2, 3, 4}, {5, 6, 7, 8}}));
    // A menu command by its name (mnuSyutugenHindo ...), triggered as a click would.
    QAction* command(const QString& name) const;
    QMdiSubWindow* choose(const QString& command);
    // Closes a child window by its frame and lets the deletion happen.
    void close(const QString& window);
};

// Lets posted events and deferred deletions run.
void settle();

} // namespace n4test

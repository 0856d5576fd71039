#pragma once
// Window-test helpers: a message sink that records instead of blocking, and a
// main window over a fresh database in a temp folder.
#include <QString>
#include <QStringList>
#include <memory>

class QAbstractItemModel;
class QAbstractItemModelTester;
class QAction;
class QMdiSubWindow;

#include "TestSupport.h"
#include "ui/common/MessageSink.h"
#include "ui/data/DataEntryWindow.h"
#include "ui/data/DrawEntryModel.h"
#include "ui/shell/MainFrm.h"

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
    void warning(QWidget*, const QString& title, const QString& text) override {
        messages.append({"warning", title, text});
    }
    bool confirm(QWidget*, const QString& title, const QString& text) override {
        messages.append({"confirm", title, text});
        return answer;
    }
    // What choose() answers, in turn; the escape button once they run out.
    QList<int> choices;
    int choose(QWidget*, const QString& title, const QString& text, const QStringList&, int,
               int escapeButton) override {
        messages.append({"choose", title, text});
        return choices.isEmpty() ? escapeButton : choices.takeFirst();
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

// The text of each page of a PDF file, as pdftotext lays it out.
QStringList pdfPageTexts(const QString& path);

// A data-entry window of its own over a fresh database.
// Qt's own checker of the item-model rules watches a model while this lives:
// a broken rule (an index outside the table, rows announced but not there,
// a change reported for cells that do not exist) fails the test.
class ModelRulesWatch {
  public:
    explicit ModelRulesWatch(QAbstractItemModel* model);
    ~ModelRulesWatch();
    ModelRulesWatch(const ModelRulesWatch&) = delete;
    ModelRulesWatch& operator=(const ModelRulesWatch&) = delete;

  private:
    std::unique_ptr<QAbstractItemModelTester> tester_;
    QtMessageHandler previous_;
};

struct Entry {
    Workspace ws;
    RecordingSink sink;
    std::unique_ptr<n4::DataEntryWindow> window;
    std::unique_ptr<ModelRulesWatch> rules; // over the window's model, when it has one
    explicit Entry(const n4::DrawTable& t = n4::draws({{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 0, 1, 2}}));
    n4::DrawEntryModel* model() const { return window->model(); }
    void select(int row, int col = 1);
    n4::DrawTable stored() const { return storedDraws(ws.folder); }
};

} // namespace n4test

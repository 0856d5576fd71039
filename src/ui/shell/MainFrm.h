#pragma once
// The main window: a multiple-document frame holding every other window. It
// loads the draw table at start-up, offers the menu of commands, carries the
// propEnd flag that gates the data-entry command, and shows the prediction
// window whenever it becomes active again after the about window.

#include <QMainWindow>
#include <QMap>
#include <QPointer>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "core/prediction/AnalysisOptions.h"
#include "core/prediction/PredictionEngine.h"
#include "core/store/DrawChangeLog.h"
#include "core/store/DrawStore.h"
#include "core/store/DrawTable.h"
#include "core/store/StartupFigures.h"
#include "core/update/DrawUpdate.h"
#include "ui/shell/StartupLoad.h"

class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QWindow;

namespace n4 {

class DrawEntryModel;
class TicketLedgerWindow;
class MessageSink;
class AboutWindow;
class HelpWindow;
struct AnalysisWindowInfo;

struct ShellConfig {
    std::string programFolder; // where the draw database lives (see DataLocation.h)
    std::string settingsPath;  // the settings file
    std::string helpFolder;    // where a compiled help file may be
};

// The file of the 「起動時に最新の当選番号を確認する」 toggle, beside the settings file.
std::string checkAtStartPath(const std::string& settingsPath);

class MainFrm : public QMainWindow {
    Q_OBJECT
  public:
    MainFrm(ShellConfig config, MessageSink* messages, QWidget* parent = nullptr);
    ~MainFrm() override;

    // The start-up load; false (after telling the user why) when the draw
    // database cannot be used. The first form reads everything itself; the
    // second takes what read() returns (the early load's result), calling it
    // under the hourglass.
    bool load();
    bool load(const std::function<StartupLoad()>& read);
    // Maximised; where the window system does not maximise (a bare X
    // server), the window still covers the screen's available area.
    void showFullSize();

    bool propEnd() const { return propEnd_; }
    void setPropEnd(bool value) { propEnd_ = value; }

    QMdiArea* mdiArea() const { return mdi_; }
    QMdiSubWindow* openWindow(const QString& name) const;
    int computeCount(const QString& name) const { return computeCounts_.value(name); }
    AnalysisOptions& analysisOptions() { return options_; }
    const DrawTable& drawTable() const { return table_; }
    const StartupFigures& figures() const { return figures_; }
    AboutWindow* aboutWindow() const;
    QMenu* editMenuSlot() const { return editMenu_; }
    QLabel* statusLabel() const { return status_; }
    DrawChangeLog& changeLog() { return changeLog_; }

    // Reads the draw table again, once, and recomputes every open window in
    // place (each keeps its scroll position); the status bar says how many
    // draws there are now and the latest one. False when it cannot be read
    // (the user is told; the old table stays).
    bool reloadDrawTable();
    // When another program (the command-line tool, another copy) changed the
    // database since it was read: reloads as after an import and says so in
    // the status line; with the data-entry window open, that window follows
    // at once and the others when it closes. Checked whenever the program
    // becomes active. True when something was reloaded.
    bool followExternalChanges();
    // A history file dropped on the main window: the data-entry window takes
    // it when open; otherwise it is imported here with the same question.
    bool importFile(const QString& path);
    // データ管理 → ファイルから取り込み…: asks for a file and imports it as a
    // drop does. Tests replace the file dialog.
    bool importChosenFile();
    void setImportFileChooser(std::function<QString()> chooser) {
        chooseImportFile_ = std::move(chooser);
    }
    // 最新の当選番号を取得: asks the results sources (the list beside the
    // settings file, or built in) for draws newer than the database, in the
    // background with a progress window that can be cancelled; new draws are
    // taken in with the same question as a file. Tests give their sources.
    bool fetchLatestDraws();
    // When 「起動時に最新の当選番号を確認する」 is on and a draw may be out
    // that the table lacks: asks the sources in the background, and says
    // something only when there are new draws (the same question as a file).
    void checkForNewDrawsInBackground();
    bool checkingAtStart() const;
    void setUpdateSources(std::vector<std::string> sources, std::string extraCa = {}) {
        updateSources_ = std::move(sources), updateCa_ = std::move(extraCa);
    }

  public slots:
    void openAnalysis(const QString& name);
    void openPrediction();
    void openBacktest();
    void openNumberLookup();
    void openNumberBuilder();
    // The window 購入記録 (brought to the front when open); nullptr when the
    // database cannot be opened, which the user is told.
    TicketLedgerWindow* openTicketLedger();
    void openDataEntry();
    void openHelp();
    void openAbout();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void showLoadStatus(bool created);
    void showDrawCount();
    // Once, for the draws a reload brought in that have tickets: how they did.
    void tellTicketResults(const std::vector<int>& broughtIn);
    void recomputeAnalysis(const QString& name, QMdiSubWindow* sub);
    void onDataEntryClosing();
    bool settleUnsavedEdits();
    void tell(bool problem, const std::string& text);
    void buildMenus();
    QMenu* buildAnalysisMenu();
    void addAnalysisAction(QMenu* menu, const char* name, const char* caption);
    QMdiSubWindow* addChild(const QString& name, QWidget* child, const QString& caption,
                            QSize size);
    bool bringToFront(const QString& name);
    void onSubWindowActivated(QMdiSubWindow* window);
    void shutDown();

    ShellConfig config_;
    MessageSink* messages_;
    QMdiArea* mdi_;
    QMenu* editMenu_ = nullptr;
    bool propEnd_ = true;
    bool aboutWasActive_ = false;
    bool shutDownDone_ = false;
    DbConnectionString conn_;
    DrawTable table_;
    StartupFigures figures_;
    AnalysisOptions options_;
    PredictionEngine engine_;
    QMap<QString, QPointer<QMdiSubWindow>> windows_;
    QMap<QString, int> computeCounts_;
    QPointer<AboutWindow> about_;
    QPointer<HelpWindow> help_;
    QLabel* status_ = nullptr;
    QString ticketNews_; // what the last reload told of tickets, or empty
    DrawChangeLog changeLog_;
    unsigned long loadedRevision_ = 0; // of the change log when table_ was read
    // A connection kept open to notice other programs' changes (its data
    // version) and to read the draws again without opening the file anew.
    std::unique_ptr<DrawStore> watch_;
    long long seenVersion_ = -1; // the watch's data version when table_ was read
    void startWatching();
    bool importDraws(const ImportResult& read, const QString& source);
    // A model over the database for an import without the data-entry window;
    // nullptr after telling the user why it cannot be read.
    std::unique_ptr<DrawEntryModel> importModel();
    std::vector<std::string> updateSources_; // empty: the list file or the built-in list
    UpdateRequest updateRequest(std::string& message) const;
    QAction* checkAtStart_ = nullptr;
    std::thread checker_;
    std::shared_ptr<std::atomic<bool>> stopChecking_ = std::make_shared<std::atomic<bool>>(false);
    std::string updateCa_;
    bool closing_ = false;
    std::function<QString()> chooseImportFile_;
    QMenu* windowMenu_ = nullptr;
    void listOpenWindows();
};

} // namespace n4

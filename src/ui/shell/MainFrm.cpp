#include "ui/shell/MainFrm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QUrl>
#include <QWindow>
#include <fstream>

#include "core/prediction/SettingsFile.h"
#include "core/store/AtomicFile.h"
#include "ui/common/MessageSink.h"
#include "ui/common/Twips.h"
#include "ui/data/DataEntryWindow.h"
#include "ui/grid/AnalysisFrame.h"
#include "ui/grid/GridView.h"
#include "ui/grid/GridViewMenu.h"
#include "ui/numbers/NumberBuilderWindow.h"
#include "ui/numbers/NumberLookupWindow.h"
#include "ui/prediction/BacktestWindow.h"
#include "ui/prediction/PredictionWindow.h"
#include "ui/shell/AboutWindow.h"
#include "ui/shell/AnalysisWindowTable.h"
#include "ui/shell/HelpWindow.h"
#include "ui/shell/ProgramIcon.h"
#include "ui/shell/WindowArrangement.h"
#include "ui/tickets/TicketLedgerWindow.h"

namespace n4 {

namespace {

const QString kPredictionName = QStringLiteral("一発マーヴォ");
const QString kBacktestName = QStringLiteral("予想の検証");
const QString kNumberLookupName = QStringLiteral("番号検索");
const QString kDataEntryName = QStringLiteral("当選データ入力");
const QString kNumberBuilderName = QStringLiteral("買い目作成");
const QString kTicketLedgerName = QStringLiteral("購入記録");
const QString kHelpFileName = QStringLiteral("ナンバーズ4マーヴォM.chm");

// Hourglass for the length of a scope, after letting pending messages run once.
class BusyCursor {
  public:
    BusyCursor() {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

} // namespace

MainFrm::MainFrm(ShellConfig config, MessageSink* messages, QWidget* parent)
    : QMainWindow(parent), config_(std::move(config)), messages_(messages) {
    setObjectName(QStringLiteral("MainFrm"));
    setWindowTitle(kProgramTitle + QLatin1Char(' ') + kEditionWord);
    setWindowIcon(programIcon());
    mdi_ = new QMdiArea(this);
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setBackground(QColor(128, 128, 128));
    setCentralWidget(mdi_);
    setAcceptDrops(true);
    buildMenus();
    connect(mdi_, &QMdiArea::subWindowActivated, this, &MainFrm::onSubWindowActivated);
    // Back from another program, which may have changed the draws.
    connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState s) {
        if (s == Qt::ApplicationActive) followExternalChanges();
    });
    resize(1000, 760);
}

MainFrm::~MainFrm() {
    shutDown();
    // The children go first, while this window is still whole: once ~QWidget
    // runs, their closing and destroyed signals would call into a half-destroyed
    // MainFrm. Cut every connection to this window, then delete them.
    for (QObject* child : children())
        disconnect(child, nullptr, this, nullptr);
    for (QMdiSubWindow* sub : mdi_->subWindowList())
        disconnect(sub, nullptr, this, nullptr);
    delete mdi_;
    mdi_ = nullptr;
    delete about_.data();
    delete help_.data();
}

bool MainFrm::load() {
    return load([this] {
        return loadAtStartup(config_.settingsPath,
                             DbConnectionString::forProgramFolder(config_.programFolder));
    });
}

bool MainFrm::load(const std::function<StartupLoad()>& read) {
    BusyCursor busy;
    propEnd_ = true;
    conn_ = DbConnectionString::forProgramFolder(config_.programFolder);
    StartupLoad loaded = read();
    options_ = loaded.options;
    if (loaded.jet.needed) tell(!loaded.jet.ok, loaded.jet.message);
    if (!loaded.jet.ok) return false;
    if (!loaded.notice.empty()) tell(false, loaded.notice); // a file it completed
    if (!loaded.result) {
        tell(true, loaded.result.message);
        return false;
    }
    table_ = std::move(loaded.table);
    figures_ = loaded.figures;
    showLoadStatus(loaded.created);
    startWatching();
    return true;
}

void MainFrm::showFullSize() {
    if (const QScreen* s = screen()) setGeometry(s->availableGeometry());
    showMaximized();
}

void MainFrm::tell(bool problem, const std::string& text) {
    // The hourglass is not shown over a message the user has to read.
    QApplication::restoreOverrideCursor();
    if (problem)
        messages_->critical(this, kMessageTitle, QString::fromStdString(text));
    else
        messages_->information(this, kProgramTitle, QString::fromStdString(text));
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void MainFrm::showLoadStatus(bool created) {
    // A permanent label: menu hovering does not wipe it.
    if (!status_) {
        status_ = new QLabel(this);
        status_->setObjectName(QStringLiteral("lblStatus"));
        statusBar()->addWidget(status_, 1);
    }
    if (created)
        status_->setText(QStringLiteral("当選データのデータベースを新しく作成しました: %1")
                             .arg(QString::fromStdString(conn_.dataSource)));
    else
        showDrawCount();
}

void MainFrm::buildMenus() {
    QMenuBar* bar = menuBar();
    auto command = [](QMenu* menu, const char* name, const QString& caption) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    QAction* end = bar->addAction(QStringLiteral("終了(&X)"));
    end->setObjectName(QStringLiteral("mnuEnd"));
    connect(end, &QAction::triggered, this, &QWidget::close);
    QAction* yoso = bar->addAction(QStringLiteral("一発マーヴォ予想(&D)"));
    yoso->setObjectName(QStringLiteral("mnuYoso"));
    connect(yoso, &QAction::triggered, this, &MainFrm::openPrediction);
    bar->addMenu(buildAnalysisMenu());

    QMenu* hosyu = bar->addMenu(QStringLiteral("データ管理(&M)"));
    hosyu->menuAction()->setObjectName(QStringLiteral("mnuHosyu"));
    connect(command(hosyu, "mnuMasterInput", QStringLiteral("当選データ入力(&I)")),
            &QAction::triggered, this, &MainFrm::openDataEntry);
    command(hosyu, "mnuMasterKanri", QStringLiteral("当選データ保守(&D)"))->setEnabled(false);
    connect(command(hosyu, "mnuTicketLedger", QStringLiteral("購入記録(&T)")), &QAction::triggered,
            this, &MainFrm::openTicketLedger);
    hosyu->addSeparator();
    // Imports: they refresh the open windows and need none of them closed.
    connect(command(hosyu, "mnuImportFile", QStringLiteral("ファイルから取り込み…(&F)")),
            &QAction::triggered, this, &MainFrm::importChosenFile);
    connect(command(hosyu, "mnuFetchLatest", QStringLiteral("最新の当選番号を取得(&N)")),
            &QAction::triggered, this, &MainFrm::fetchLatestDraws);
    checkAtStart_ =
        command(hosyu, "mnuCheckAtStart", QStringLiteral("起動時に最新の当選番号を確認する"));
    checkAtStart_->setCheckable(true);
    {
        std::ifstream in(checkAtStartPath(config_.settingsPath));
        std::string line;
        checkAtStart_->setChecked(std::getline(in, line) && line.rfind("True", 0) == 0);
    }
    connect(checkAtStart_, &QAction::toggled, this, [this](bool on) {
        if (!replaceFile(checkAtStartPath(config_.settingsPath), on ? "True\r\n" : "False\r\n"))
            messages_->critical(this, kMessageTitle,
                                QStringLiteral("起動時の確認の設定を保存できませんでした。"));
    });

    editMenu_ = bar->addMenu(QStringLiteral("編集(&E)"));
    editMenu_->menuAction()->setObjectName(QStringLiteral("mnuEdit"));
    editMenu_->menuAction()->setVisible(false);

    QMenu* window = bar->addMenu(QStringLiteral("ウィンドウ(&W)"));
    window->menuAction()->setObjectName(QStringLiteral("mnuWindow"));
    connect(command(window, "mnuWindowHorizontal", QStringLiteral("上下に並べて表示(&H)")),
            &QAction::triggered, this,
            [this] { arrangeWindows(mdi_, Arrangement::TileHorizontal); });
    connect(command(window, "mnuWindowVertical", QStringLiteral("左右に並べて表示(&V)")),
            &QAction::triggered, this, [this] { arrangeWindows(mdi_, Arrangement::TileVertical); });
    connect(command(window, "mnuWindowCascade", QStringLiteral("重ねて表示(&C)")),
            &QAction::triggered, this, [this] { arrangeWindows(mdi_, Arrangement::Cascade); });
    connect(command(window, "mnuWindowArrangeIcon", QStringLiteral("アイコンの整列(&A)")),
            &QAction::triggered, this, [this] { arrangeWindows(mdi_, Arrangement::ArrangeIcons); });
    // Below the arrangement, the open windows, the active one checked.
    windowMenu_ = window;
    connect(window, &QMenu::aboutToShow, this, &MainFrm::listOpenWindows);

    QMenu* help = bar->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->menuAction()->setObjectName(QStringLiteral("mnuHelp"));
    connect(command(help, "mnuHelpFile", QStringLiteral("ヘルプ(&H)")), &QAction::triggered, this,
            &MainFrm::openHelp);
    connect(command(help, "mnuAbout", QStringLiteral("バージョン情報(&A)")), &QAction::triggered,
            this, &MainFrm::openAbout);
}

QMenu* MainFrm::buildAnalysisMenu() {
    auto* main = new QMenu(QStringLiteral("データ分析(&S)"), this);
    main->menuAction()->setObjectName(QStringLiteral("mnuMain"));
    auto submenu = [main](const char* name, const QString& caption) {
        QMenu* m = main->addMenu(caption);
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };
    QMenu* hindo = submenu("mnuHindo", QStringLiteral("頻度分析"));
    addAnalysisAction(hindo, "出現頻度分析", "出現頻度分析");
    addAnalysisAction(hindo, "回数別出現分析", "回数別出現分析");
    QMenu* kankaku = submenu("mnuKankaku", QStringLiteral("間隔分析"));
    addAnalysisAction(kankaku, "出現間隔分析", "出現間隔分析");
    addAnalysisAction(kankaku, "数字間隔分析", "数字間隔分析");
    addAnalysisAction(main, "出現回数分析", "出現回数分析");
    addAnalysisAction(main, "バラツキ分析", "バラツキ分析");
    addAnalysisAction(main, "引っ張り分析", "引っ張り分析");
    addAnalysisAction(main, "連番飛び石分析", "連番・飛び石分析");
    addAnalysisAction(main, "数字合計分析", "数字合計分析");
    QMenu* pattern = submenu("mnuPattern", QStringLiteral("組合せパターン分析"));
    addAnalysisAction(pattern, "低数字高数字の組合せパターン分析",
                      "低数字・高数字の組合せパターン分析");
    addAnalysisAction(pattern, "偶数奇数の組合せパターン分析", "偶数・奇数の組合せパターン分析");
    addAnalysisAction(main, "分割5傾向分析", "5分割傾向分析");
    QMenu* bunkatsu = submenu("mnuBunkatsuData", QStringLiteral("分割データ分析"));
    addAnalysisAction(bunkatsu, "分割3データ分析", "3分割データ分析");
    addAnalysisAction(bunkatsu, "分割5データ分析", "5分割データ分析");
    addAnalysisAction(bunkatsu, "分割10データ分析", "10分割データ分析");
    // From digits to the numbers a player buys.
    main->addSeparator();
    QAction* lookup = main->addAction(QStringLiteral("番号検索(&L)"));
    lookup->setObjectName(QStringLiteral("mnuNumberLookup"));
    connect(lookup, &QAction::triggered, this, &MainFrm::openNumberLookup);
    QAction* builder = main->addAction(QStringLiteral("買い目作成(&K)"));
    builder->setObjectName(QStringLiteral("mnuNumberBuilder"));
    connect(builder, &QAction::triggered, this, &MainFrm::openNumberBuilder);
    // How the prediction made of the analyses would have done.
    QAction* backtest = main->addAction(QStringLiteral("予想の検証(&B)"));
    backtest->setObjectName(QStringLiteral("mnuBacktest"));
    connect(backtest, &QAction::triggered, this, &MainFrm::openBacktest);
    return main;
}

void MainFrm::addAnalysisAction(QMenu* menu, const char* name, const char* caption) {
    const AnalysisWindowInfo* info = findAnalysisWindow(name);
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(QString::fromLatin1(info->menu));
    const QString window = QString::fromUtf8(name);
    connect(a, &QAction::triggered, this, [this, window] { openAnalysis(window); });
}

AboutWindow* MainFrm::aboutWindow() const {
    return about_.data();
}

QMdiSubWindow* MainFrm::openWindow(const QString& name) const {
    auto it = windows_.find(name);
    return it == windows_.end() ? nullptr : it->data();
}

bool MainFrm::bringToFront(const QString& name) {
    QMdiSubWindow* w = openWindow(name);
    if (!w) return false;
    if (w->isMinimized()) w->showNormal();
    mdi_->setActiveSubWindow(w); // (which raises it too)
    return true;
}

QMdiSubWindow* MainFrm::addChild(const QString& name, QWidget* child, const QString& caption,
                                 QSize size) {
    // The child fills its own background, in the colour its frame would give
    // it. Left see-through, it was painted twice when it opened: once inside
    // the frame's first paint and once more over the same place, because
    // every one of its parts asks to be painted when it is first shown.
    child->setAutoFillBackground(true);
    // The frame the area makes for a plain widget deletes itself on close.
    QMdiSubWindow* sub = mdi_->addSubWindow(child);
    sub->setObjectName(name);
    sub->setWindowTitle(caption);
    sub->setWindowIcon(windowIcon());
    // Closing any window, by its button or its frame, sets propEnd.
    connect(sub, &QObject::destroyed, this, [this] { propEnd_ = true; });
    windows_[name] = sub;
    sub->move(0, 0);
    sub->resize(size);
    sub->show();
    mdi_->setActiveSubWindow(sub);
    return sub;
}

void MainFrm::openAnalysis(const QString& name) {
    if (bringToFront(name)) return;
    const AnalysisWindowInfo* info = findAnalysisWindow(name.toUtf8().constData());
    if (!info) return;
    BusyCursor busy;
    propEnd_ = info->propEndOnOpen;
    auto* frame = new AnalysisFrame(QString::fromUtf8(info->label), info->printButton);
    switch (info->legend) {
    case Legend::DrawnDigit:
        frame->addLegend(LegendPicture::Ball, QStringLiteral("：当選数字"));
        break;
    case Legend::CarryOver:
        frame->addLegend(LegendPicture::Swatch, QStringLiteral(":前回の数字"));
        break;
    case Legend::Dispersion:
        frame->addLegend(LegendPicture::Ball, QStringLiteral("：本数字"));
        frame->addLegend(LegendPicture::BonusBall, QStringLiteral("：ボーナス数字"));
        break;
    case Legend::None:
        break;
    }
    if (ComputeFn compute = computeFor(*info)) {
        frame->setGrid(compute(AnalysisInput{table_, figures_}));
        computeCounts_[name] += 1;
    }
    frame->setPanes(info->frozenRows, info->frozenCols, info->opensAt);
    frame->gridView()->menu()->setTitle(QString::fromUtf8(info->caption),
                                        QString::fromUtf8(info->label));
    QMdiSubWindow* sub = addChild(name, frame, QString::fromUtf8(info->caption),
                                  twipsSize(info->widthTwips, info->heightTwips, this));
    connect(frame, &AnalysisFrame::closeRequested, sub, &QWidget::close);
}

void MainFrm::openPrediction() {
    if (bringToFront(kPredictionName)) return;
    BusyCursor busy;
    propEnd_ = false;
    auto* window = new PredictionWindow(options_, engine_, table_, figures_.latestDrawNo);
    computeCounts_[kPredictionName] += 1;
    QMdiSubWindow* sub = addChild(kPredictionName, window, QStringLiteral("一発マーヴォ予想"),
                                  twipsSize(9360, 8244, this));
    connect(window, &PredictionWindow::closeRequested, sub, &QWidget::close);
    connect(window, &PredictionWindow::backtestRequested, this, &MainFrm::openBacktest);
    connect(window, &PredictionWindow::reflectedCountChanged, this, [this](int reflect) {
        if (QMdiSubWindow* open = openWindow(kBacktestName))
            qobject_cast<BacktestWindow*>(open->widget())->setReflect(reflect);
    });
}

void MainFrm::openBacktest() {
    if (bringToFront(kBacktestName)) return;
    propEnd_ = false;
    auto* window = new BacktestWindow(table_, options_.reflectedCount());
    QMdiSubWindow* sub =
        addChild(kBacktestName, window, kBacktestName, twipsSize(13800, 10200, this));
    connect(window, &BacktestWindow::closeRequested, sub, &QWidget::close);
}

void MainFrm::openNumberLookup() {
    if (bringToFront(kNumberLookupName)) return;
    propEnd_ = false; // as an analysis window: data entry waits until it closes
    auto* window = new NumberLookupWindow(table_);
    QMdiSubWindow* sub =
        addChild(kNumberLookupName, window, kNumberLookupName, twipsSize(7200, 9000, this));
    connect(window, &NumberLookupWindow::closeRequested, sub, &QWidget::close);
}

void MainFrm::openNumberBuilder() {
    if (bringToFront(kNumberBuilderName)) return;
    BusyCursor busy;
    propEnd_ = false;
    // The prediction window's digits; when it is closed the engine may hold
    // older draws, so it reads the present ones first.
    auto prediction = [this] {
        if (!openWindow(kPredictionName))
            engine_.ScanDraws(table_, figures_.latestDrawNo, options_.reflectedCount());
        return engine_.predicted();
    };
    auto* window = new NumberBuilderWindow(table_, prediction);
    QMdiSubWindow* sub =
        addChild(kNumberBuilderName, window, kNumberBuilderName, twipsSize(16200, 13200, this));
    connect(window, &NumberBuilderWindow::closeRequested, sub, &QWidget::close);
    connect(window, &NumberBuilderWindow::handOver, this,
            [this](const std::vector<int>& numbers, BuyKind kind, int units) {
                if (TicketLedgerWindow* ledger = openTicketLedger())
                    ledger->addNumbers(numbers, kind, units);
            });
}

TicketLedgerWindow* MainFrm::openTicketLedger() {
    if (bringToFront(kTicketLedgerName))
        return qobject_cast<TicketLedgerWindow*>(openWindow(kTicketLedgerName)->widget());
    StoreResult result;
    auto store = DrawStore::open(conn_, result, nullptr, IfMissing::Refuse);
    if (!store) {
        messages_->critical(this, kMessageTitle,
                            QStringLiteral("購入記録を開けません。\n") +
                                QString::fromStdString(result.message));
        return nullptr;
    }
    propEnd_ = false; // as an analysis window: data entry waits until it closes
    auto* window = new TicketLedgerWindow(std::move(store), table_, messages_);
    QMdiSubWindow* sub =
        addChild(kTicketLedgerName, window, kTicketLedgerName, twipsSize(13200, 10800, this));
    connect(window, &TicketLedgerWindow::closeRequested, sub, &QWidget::close);
    return window;
}

void MainFrm::openDataEntry() {
    if (!propEnd_) {
        messages_->critical(this, kMessageTitle,
                            QStringLiteral("表示中のウィンドウを閉じないと実行できません。"));
        return;
    }
    if (bringToFront(kDataEntryName)) return;
    BusyCursor busy;
    propEnd_ = false;
    auto* window = new DataEntryWindow(conn_, messages_, &changeLog_);
    if (!window->isUsable()) {
        delete window;
        propEnd_ = true;
        return;
    }
    QMdiSubWindow* sub = addChild(kDataEntryName, window, kDataEntryName, window->sizeHint());
    // Its design size is its inside: the frame and title bar come on top.
    sub->resize(sub->size() + window->sizeHint() - window->size());
    connect(window, &DataEntryWindow::closeAccepted, sub, &QWidget::close);
    connect(window, &DataEntryWindow::closing, this, &MainFrm::onDataEntryClosing);
    connect(window, &DataEntryWindow::imported, this, &MainFrm::reloadDrawTable);
    for (QAction* a : window->editActions())
        editMenu_->addAction(a);
    onSubWindowActivated(sub);
}

void MainFrm::listOpenWindows() {
    static const char* const kListed = "n4ListedWindow";
    for (QAction* a : windowMenu_->actions())
        if (a->property(kListed).isValid()) {
            windowMenu_->removeAction(a);
            a->deleteLater();
        }
    const QList<QMdiSubWindow*> subs = mdi_->subWindowList(QMdiArea::CreationOrder);
    if (subs.isEmpty()) return;
    windowMenu_->addSeparator()->setProperty(kListed, true);
    int n = 0;
    for (QMdiSubWindow* sub : subs) {
        QString caption = sub->windowTitle().replace(QLatin1Char('&'), QStringLiteral("&&"));
        if (++n < 10) caption = QStringLiteral("&%1 %2").arg(n).arg(caption);
        QAction* a = windowMenu_->addAction(caption);
        a->setProperty(kListed, true);
        a->setCheckable(true);
        a->setChecked(sub == mdi_->activeSubWindow());
        const QPointer<QMdiSubWindow> target(sub);
        connect(a, &QAction::triggered, this, [this, target] {
            if (!target) return;
            if (target->isMinimized()) target->showNormal();
            mdi_->setActiveSubWindow(target);
        });
    }
}

void MainFrm::onSubWindowActivated(QMdiSubWindow* window) {
    // The data-entry window's own menu shows while it is the active child.
    const bool entryActive = window && window == openWindow(kDataEntryName);
    editMenu_->menuAction()->setVisible(entryActive);
}

void MainFrm::openHelp() {
    const QString chm =
        QString::fromStdString(config_.helpFolder) + QLatin1Char('/') + kHelpFileName;
    if (QFileInfo::exists(chm) && QDesktopServices::openUrl(QUrl::fromLocalFile(chm))) return;
    if (!help_) help_ = new HelpWindow;
    help_->showTopic(QStringLiteral("intro"));
    help_->show();
    help_->raise();
}

void MainFrm::openAbout() {
    if (!about_) {
        about_ = new AboutWindow;
        about_->showDataFiles(
            QFileInfo(QString::fromStdString(conn_.dataSource)).absoluteFilePath(),
            QFileInfo(QString::fromStdString(config_.settingsPath)).absoluteFilePath());
        connect(about_, &AboutWindow::activated, this, [this] { aboutWasActive_ = true; });
    }
    about_->show();
    about_->raise();
    about_->activateWindow();
}

void MainFrm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Only the program's own top-level windows count: message boxes and other
    // applications leave the rule alone.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && aboutWasActive_) {
        aboutWasActive_ = false;
        openPrediction();
    }
}

void MainFrm::closeEvent(QCloseEvent* event) {
    // An edit that could not be saved is never dropped silently.
    if (!settleUnsavedEdits()) {
        event->ignore();
        return;
    }
    closing_ = true;
    mdi_->closeAllSubWindows();
    shutDown();
    if (about_) about_->close();
    if (help_) help_->close();
    event->accept();
}

void MainFrm::shutDown() {
    if (shutDownDone_) return;
    shutDownDone_ = true;
    *stopChecking_ = true; // a check still asking stops at its next bytes
    if (checker_.joinable()) checker_.join();
    WriteResult written = writeInitFile(config_.settingsPath, options_);
    if (!written.ok)
        messages_->critical(this, kMessageTitle, QString::fromStdString(written.message));
    table_.clear();
    table_.shrink_to_fit();
    watch_.reset();
}

} // namespace n4

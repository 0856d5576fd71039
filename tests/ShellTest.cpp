#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "UiSupport.h"
#include "core/prediction/SettingsFile.h"
#include "ui/shell/AboutWindow.h"
#include "ui/shell/HelpWindow.h"
#include "ui/shell/ProgramStart.h"
#include <QTextBrowser>

using namespace n4;
using n4test::RecordingSink;
using n4test::Shell;
using n4test::Workspace;

namespace {

QStringList captions(const QList<QAction*>& actions) {
    QStringList out;
    for (QAction* a : actions)
        if (!a->isSeparator() && a->isVisible()) out << a->text();
    return out;
}

QMenu* submenu(QMenu* menu, const QString& caption) {
    for (QAction* a : menu->actions())
        if (a->text() == caption) return a->menu();
    return nullptr;
}

} // namespace

TEST(MainMenu, TreeAndCaptionsInOrder) {
    Shell s;
    QMenuBar* bar = s.main->menuBar();
    EXPECT_EQ(captions(bar->actions()),
              (QStringList{"終了(&X)", "一発マーヴォ予想(&D)", "データ分析(&S)", "データ管理(&M)",
                           "ウィンドウ(&W)", "ヘルプ(&H)"}));
    QMenu* main = bar->actions()[2]->menu();
    EXPECT_EQ(
        captions(main->actions()),
        (QStringList{"頻度分析", "間隔分析", "出現回数分析", "バラツキ分析", "引っ張り分析",
                     "連番・飛び石分析", "数字合計分析", "組合せパターン分析", "5分割傾向分析",
                     "分割データ分析", "番号検索(&L)", "買い目作成(&K)", "予想の検証(&B)"}));
    EXPECT_EQ(captions(submenu(main, "頻度分析")->actions()),
              (QStringList{"出現頻度分析", "回数別出現分析"}));
    EXPECT_EQ(captions(submenu(main, "間隔分析")->actions()),
              (QStringList{"出現間隔分析", "数字間隔分析"}));
    EXPECT_EQ(
        captions(submenu(main, "組合せパターン分析")->actions()),
        (QStringList{"低数字・高数字の組合せパターン分析", "偶数・奇数の組合せパターン分析"}));
    EXPECT_EQ(captions(submenu(main, "分割データ分析")->actions()),
              (QStringList{"3分割データ分析", "5分割データ分析", "10分割データ分析"}));
    QMenu* hosyu = bar->actions()[3]->menu();
    EXPECT_EQ(captions(hosyu->actions()),
              (QStringList{"当選データ入力(&I)", "当選データ保守(&D)", "購入記録(&T)",
                           "ファイルから取り込み…(&F)", "最新の当選番号を取得(&N)",
                           "起動時に最新の当選番号を確認する"}));
    EXPECT_FALSE(hosyu->actions()[1]->isEnabled());
    EXPECT_EQ(captions(bar->actions()[5]->menu()->actions()),
              (QStringList{"上下に並べて表示(&H)", "左右に並べて表示(&V)", "重ねて表示(&C)",
                           "アイコンの整列(&A)"}));
    EXPECT_EQ(captions(bar->actions()[6]->menu()->actions()),
              (QStringList{"ヘルプ(&H)", "バージョン情報(&A)"}));
    EXPECT_TRUE(s.main->windowTitle().startsWith("ナンバーズ4マーヴォ"));
    // Each menu by its name, the data-entry window's edit menu hidden in its place.
    QStringList names;
    for (QAction* a : bar->actions())
        names << a->objectName() + (a->isVisible() ? "" : " (hidden)");
    EXPECT_EQ(names, (QStringList{"mnuEnd", "mnuYoso", "mnuMain", "mnuHosyu", "mnuEdit (hidden)",
                                  "mnuWindow", "mnuHelp"}));
    names.clear();
    for (QAction* a : main->actions())
        if (a->menu()) names << a->objectName();
    EXPECT_EQ(names, (QStringList{"mnuHindo", "mnuKankaku", "mnuPattern", "mnuBunkatsuData"}));
}

TEST(MainMenu, EveryAnalysisCommandOpensItsWindowWithItsCaption) {
    Shell s;
    for (QAction* a : s.main->findChildren<QAction*>()) {
        if (!a->objectName().startsWith("mnu") || a->menu()) continue;
        const QString n = a->objectName();
        if (n == "mnuEnd" || n == "mnuMasterInput" || n == "mnuHelpFile" || n == "mnuAbout" ||
            n.startsWith("mnuWindow") || n == "mnuMasterKanri" || n == "mnuYoso" ||
            n == "mnuFetchLatest" || n == "mnuCheckAtStart" || n == "mnuImportFile" ||
            n == "mnuBacktest")
            continue;
        const int before = s.main->mdiArea()->subWindowList().size();
        a->trigger();
        EXPECT_EQ(s.main->mdiArea()->subWindowList().size(), before + 1) << n.toStdString();
        // The new window is the active one, at the top left.
        EXPECT_EQ(s.main->mdiArea()->activeSubWindow(), s.main->mdiArea()->subWindowList().last())
            << n.toStdString();
        EXPECT_EQ(s.main->mdiArea()->activeSubWindow()->pos(), QPoint(0, 0));
    }
    // The fifteen analyses, the prediction, 番号検索, 買い目作成 and 購入記録.
    EXPECT_EQ(s.main->mdiArea()->subWindowList().size(), 19);
    EXPECT_EQ(s.main->openWindow("回数別出現分析")->windowTitle(), "回数別頻度分析");
}

TEST(SingleInstance, ReopeningBringsToFrontWithoutRecomputing) {
    Shell s;
    s.main->openAnalysis("出現頻度分析");
    s.main->openAnalysis("数字合計分析");
    s.main->openAnalysis("出現頻度分析");
    EXPECT_EQ(s.main->computeCount("出現頻度分析"), 1);
    EXPECT_EQ(s.main->mdiArea()->activeSubWindow(), s.main->openWindow("出現頻度分析"));
    EXPECT_EQ(s.main->mdiArea()->subWindowList(QMdiArea::StackingOrder).last(),
              s.main->openWindow("出現頻度分析")); // over the others
    s.close("出現頻度分析");
    EXPECT_EQ(s.main->openWindow("出現頻度分析"), nullptr);
    s.main->openAnalysis("出現頻度分析");
    EXPECT_EQ(s.main->computeCount("出現頻度分析"), 2);
}

TEST(PropEnd, PredictionAtStartRefusesDataEntryWithTheMessage) {
    Shell s;
    EXPECT_FALSE(s.main->propEnd());
    s.main->openDataEntry();
    ASSERT_EQ(s.sink.messages.size(), 1);
    EXPECT_EQ(s.sink.messages[0].kind, "critical");
    EXPECT_EQ(s.sink.messages[0].title, "メッセ－ジ");
    EXPECT_EQ(s.sink.messages[0].text, "表示中のウィンドウを閉じないと実行できません。");
    EXPECT_EQ(s.main->openWindow("当選データ入力"), nullptr);
    EXPECT_EQ(s.main->computeCount("一発マーヴォ"), 1); // the refusal reopens nothing
}

TEST(PropEnd, TrueOnOpenWindowsAndAnyCloseLetDataEntryThrough) {
    Shell s;
    s.main->openAnalysis("出現頻度分析");
    EXPECT_FALSE(s.main->propEnd());
    s.main->openAnalysis("偶数奇数の組合せパターン分析");
    EXPECT_TRUE(s.main->propEnd());
    s.main->openDataEntry();
    EXPECT_NE(s.main->openWindow("当選データ入力"), nullptr);
    EXPECT_TRUE(s.sink.messages.isEmpty());
}

TEST(PropEnd, ClosingOneOfTwoWindowsSetsItTrue) {
    Shell s;
    s.main->openAnalysis("出現頻度分析");
    s.main->openAnalysis("出現間隔分析");
    QPointer<QMdiSubWindow> closed = s.main->openWindow("出現間隔分析");
    s.close("出現間隔分析");
    EXPECT_TRUE(s.main->propEnd());
    EXPECT_NE(s.main->openWindow("出現頻度分析"), nullptr);
    // A closed window is taken apart, not kept hidden in the frame.
    EXPECT_TRUE(closed.isNull());
    EXPECT_EQ(s.main->mdiArea()->subWindowList().size(), 2); // the prediction and 出現頻度分析
}

TEST(DataEntryCommand, ADatabaseDamagedWhileRunningIsReportedAndOpensNothing) {
    Shell s;
    s.close("一発マーヴォ");
    n4test::writeFile(s.ws.folder + "/Numbers4Marvo.mdb", std::string(8192, '\x5a'));
    s.choose("mnuMasterInput");
    ASSERT_EQ(s.sink.messages.size(), 1);
    EXPECT_EQ(s.sink.messages[0].kind, "critical");
    EXPECT_EQ(s.sink.messages[0].title, "メッセ－ジ");
    EXPECT_EQ(s.main->openWindow("当選データ入力"), nullptr);
    EXPECT_TRUE(s.main->propEnd());
}

TEST(Activation, ReturningFromTheAboutWindowShowsThePredictionAgain) {
    Shell s;
    s.close("一発マーヴォ");
    ASSERT_EQ(s.main->openWindow("一発マーヴォ"), nullptr);
    s.main->openAbout();
    QApplication::setActiveWindow(s.main->aboutWindow());
    QApplication::processEvents();
    s.main->aboutWindow()->close();
    QApplication::setActiveWindow(s.main.get());
    QApplication::processEvents();
    EXPECT_NE(s.main->openWindow("一発マーヴォ"), nullptr);
    EXPECT_EQ(s.main->computeCount("一発マーヴォ"), 2);
}

TEST(Activation, OtherTopLevelWindowsLikeMessageBoxesDoNotCount) {
    Shell s;
    s.close("一発マーヴォ");
    QWidget box(nullptr, Qt::Dialog); // stands in for a message box
    box.show();
    QApplication::setActiveWindow(&box);
    QApplication::processEvents();
    QApplication::setActiveWindow(s.main.get());
    QApplication::processEvents();
    EXPECT_EQ(s.main->openWindow("一発マーヴォ"), nullptr);
}

TEST(Activation, TheProgramsOwnMessageBoxDoesNotBringThePredictionBack) {
    Workspace ws;
    MessageSink boxes; // real message boxes, as the program shows them
    std::unique_ptr<MainFrm> main = startShell(ws.config, &boxes);
    ASSERT_NE(main, nullptr);
    main->openWindow("一発マーヴォ")->close();
    n4test::settle();
    main->openAnalysis("出現頻度分析"); // the data-entry command is now refused with a box
    QString shown, title;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        shown = box->text();
        title = box->windowTitle();
        QApplication::setActiveWindow(box);
        QApplication::processEvents();
        box->button(QMessageBox::Ok)->click();
    });
    main->findChild<QAction*>("mnuMasterInput")->trigger();
    QApplication::setActiveWindow(main.get());
    n4test::settle();
    EXPECT_EQ(title, "メッセ－ジ");
    EXPECT_EQ(shown, "表示中のウィンドウを閉じないと実行できません。");
    EXPECT_EQ(main->openWindow("一発マーヴォ"), nullptr);
    EXPECT_EQ(main->openWindow("当選データ入力"), nullptr);
}

namespace {

// What the program's own three-way question answers when the user does what
// `act` does to the box; a box still open afterwards is answered by its
// middle button, so that a box that ignores the user cannot hang the test.
int askThreeWays(const std::function<void(QMessageBox*)>& act, QString* defaultText = nullptr) {
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        if (defaultText && box->defaultButton()) *defaultText = box->defaultButton()->text();
        act(box);
        QTimer::singleShot(50, box, [box] {
            if (box->isVisible()) box->buttons().at(1)->click();
        });
    });
    MessageSink boxes;
    return boxes.choose(nullptr, "メッセ－ジ", "保存できていない入力があります。",
                        {"保存を再試行", "入力を破棄", "戻る"}, 0, 2);
}

QPushButton* buttonNamed(QMessageBox* box, const QString& text) {
    for (QAbstractButton* b : box->buttons())
        if (b->text() == text) return qobject_cast<QPushButton*>(b);
    return nullptr;
}

} // namespace

TEST(MessageBoxes, AQuestionIsAnsweredYesOnlyByItsYesButton) {
    // Enter takes the default, いいえ: a slip of the key changes nothing.
    auto ask = [](const std::function<void(QMessageBox*)>& act) {
        QTimer::singleShot(0, [act] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) act(box);
        });
        MessageSink boxes;
        return boxes.confirm(nullptr, "ナンバーズ4マーヴォ", "行を削除します。よろしいですか？");
    };
    EXPECT_FALSE(ask([](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); }));
    EXPECT_FALSE(ask([](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); }));
    EXPECT_TRUE(ask([](QMessageBox* b) { b->button(QMessageBox::Yes)->click(); }));
    EXPECT_FALSE(ask([](QMessageBox* b) { b->button(QMessageBox::No)->click(); }));
}

TEST(MessageBoxes, AnErrorOrANoticeShowsItsTitleAndTextWithOneOkButton) {
    MessageSink boxes;
    for (const bool error : {true, false}) {
        QString title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        int buttons = 0;
        QTimer answer; // (gone with this pass, should no box show)
        answer.setSingleShot(true);
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            buttons = static_cast<int>(box->buttons().size());
            box->button(QMessageBox::Ok)->click();
        });
        answer.start(0);
        if (error)
            boxes.critical(nullptr, "メッセ－ジ", "当選データを読み直せません。");
        else
            boxes.information(nullptr, "メッセ－ジ", "保存しました。");
        EXPECT_EQ(title, "メッセ－ジ") << error;
        EXPECT_EQ(text, error ? "当選データを読み直せません。" : "保存しました。");
        EXPECT_EQ(icon, error ? QMessageBox::Critical : QMessageBox::Information);
        EXPECT_EQ(buttons, 1);
    }
}

TEST(MessageBoxes, AChoiceAnswersTheButtonPressedEnterTheDefaultEscapeTheWayBack) {
    QString defaultText;
    EXPECT_EQ(
        askThreeWays([](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Return); }, &defaultText), 0);
    EXPECT_EQ(defaultText, "保存を再試行");
    EXPECT_EQ(askThreeWays([](QMessageBox* b) { QTest::keyClick(b, Qt::Key_Escape); }), 2);
    EXPECT_EQ(askThreeWays([](QMessageBox* b) { buttonNamed(b, "戻る")->click(); }), 2);
    EXPECT_EQ(askThreeWays([](QMessageBox* b) { buttonNamed(b, "保存を再試行")->click(); }), 0);
}

namespace {

// Records, with each message, whether the hourglass was showing over it.
struct CursorWatchingSink : RecordingSink {
    QList<bool> busyOverMessage;
    void critical(QWidget* w, const QString& title, const QString& text) override {
        busyOverMessage << (QApplication::overrideCursor() != nullptr);
        RecordingSink::critical(w, title, text);
    }
    void information(QWidget* w, const QString& title, const QString& text) override {
        busyOverMessage << (QApplication::overrideCursor() != nullptr);
        RecordingSink::information(w, title, text);
    }
};

bool hourglassShowing() {
    const QCursor* c = QApplication::overrideCursor();
    return c && c->shape() == Qt::WaitCursor;
}

} // namespace

TEST(StartUp, TheHourglassShowsWhileTheDrawsAreReadButNotOverAMessage) {
    Workspace ws;
    CursorWatchingSink sink;
    MainFrm main(ws.config, &sink);
    bool busyWhileReading = false;
    ASSERT_TRUE(main.load([&] {
        busyWhileReading = hourglassShowing();
        StartupLoad loaded;
        loaded.notice = "作りかけのデータベースを完成させました。";
        loaded.table = draws({{1, 2, 3, 4}});
        return loaded;
    }));
    EXPECT_TRUE(busyWhileReading);
    ASSERT_EQ(sink.busyOverMessage.size(), 1);
    EXPECT_FALSE(sink.busyOverMessage[0]);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // and gone once loaded
    // An existing database (nothing said it was made just now): its draws are counted.
    EXPECT_TRUE(main.statusLabel()->text().startsWith("当選データ 1 件を読み込みました。"))
        << main.statusLabel()->text().toStdString();
    // A failed read: the message without it, and nothing left behind.
    EXPECT_FALSE(main.load([] {
        StartupLoad loaded;
        loaded.result = StoreResult::failure("読めません");
        return loaded;
    }));
    ASSERT_EQ(sink.busyOverMessage.size(), 2);
    EXPECT_FALSE(sink.busyOverMessage[1]);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(MainWindow, ChildWindowsLargerThanTheFrameCanBeScrolledTo) {
    Shell s; // the offscreen screen is smaller than the division windows
    QMdiArea* area = s.main->mdiArea();
    s.choose("mnu10BunkatsuData");
    n4test::settle();
    ASSERT_GT(s.main->openWindow("分割10データ分析")->height(), area->viewport()->height());
    EXPECT_GT(area->verticalScrollBar()->maximum(), 0);
    EXPECT_TRUE(area->verticalScrollBar()->isVisible());
    EXPECT_EQ(area->background().color(), QColor(128, 128, 128));
}

TEST(Exit, WritesTheSettingsFileAndClosesChildren) {
    Shell s;
    s.main->analysisOptions().flags[6] = true;
    s.main->openAnalysis("出現頻度分析");
    s.command("mnuEnd")->trigger(); // 終了(&X)
    QApplication::processEvents();
    EXPECT_FALSE(s.main->isVisible());
    AnalysisOptions read;
    readInitFile(s.ws.config.settingsPath, read);
    EXPECT_TRUE(read.flags[6]);
    EXPECT_EQ(read.reflectedCount(), 1);
    EXPECT_TRUE(s.main->mdiArea()->subWindowList().isEmpty());
}

TEST(Exit, ClosingTheMainWindowEndsTheProgramWithTheHelpAndAboutWindowsOpen) {
    Shell s;
    s.main->openHelp();
    s.main->openAbout();
    n4test::settle();
    // As in the running program: the user closes the main window from within
    // the event loop, which ends when the last window that counts is closed.
    QSignalSpy lastClosed(qApp, &QGuiApplication::lastWindowClosed);
    QTimer::singleShot(0, s.main.get(), [&s] { s.main->close(); });
    QTimer guard; // should the program stay, the test still ends
    guard.setSingleShot(true);
    bool stayed = false;
    QObject::connect(&guard, &QTimer::timeout, qApp, [&stayed] {
        stayed = true;
        QCoreApplication::quit();
    });
    guard.start(5000);
    QApplication::exec();
    EXPECT_FALSE(stayed); // no help or about window kept it going
    EXPECT_EQ(lastClosed.count(), 1);
}

TEST(StartUp, TheMainWindowOpensMaximisedWithThePredictionWindowActive) {
    Shell s;
    EXPECT_TRUE(s.main->isVisible());
    EXPECT_TRUE(s.main->isMaximized());
    QMdiSubWindow* prediction = s.main->openWindow("一発マーヴォ");
    ASSERT_NE(prediction, nullptr);
    EXPECT_EQ(s.main->mdiArea()->activeSubWindow(), prediction);
    EXPECT_EQ(s.main->mdiArea()->subWindowList().size(), 1);
    EXPECT_EQ(s.main->computeCount("一発マーヴォ"), 1);
    EXPECT_FALSE(s.main->propEnd());
    EXPECT_TRUE(s.sink.messages.isEmpty());
}

TEST(StartUp, StandardButtonsSpeakJapaneseAndTheProgramHasItsName) {
    prepareApplication(*qApp);
    QMessageBox box(QMessageBox::Warning, "t", "x", QMessageBox::Yes | QMessageBox::No);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().startsWith("はい"))
        << box.button(QMessageBox::Yes)->text().toStdString();
    EXPECT_TRUE(box.button(QMessageBox::No)->text().startsWith("いいえ"));
    EXPECT_EQ(QApplication::applicationName(), "ナンバーズ4マーヴォ");
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    if (QFontDatabase::families().contains("IPAGothic")) {
        EXPECT_TRUE(QApplication::font().family().startsWith("IPA"));
        EXPECT_EQ(QApplication::font("n4::GridView").family(), "IPAGothic");
    }
}

TEST(StartUp, AnUnusableDatabaseStopsTheStartWithoutAWindow) {
    Workspace ws{DrawTable{}};
    n4test::writeFile(ws.folder + "/Numbers4Marvo.mdb", "not a database at all");
    RecordingSink sink;
    EXPECT_EQ(startShell(ws.config, &sink), nullptr);
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_EQ(sink.messages[0].kind, "critical");
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<MainFrm*>(w) && w->isVisible());
}

TEST(Exit, ChildWindowsAreGoneBeforeTheMainWindowIsTakenApart) {
    // Destroying the main window without closing it first (the program's own
    // exit does so): every child must be destroyed while MainFrm is still whole,
    // or the children's signals call into a half-destroyed window.
    auto s = std::make_unique<Shell>();
    s->main->openAnalysis("出現頻度分析");
    s->close("一発マーヴォ");
    s->main->openDataEntry();
    QWidget* main = s->main.get();
    QStringList destroyedAfterMainFrm;
    int destroyed = 0;
    for (QMdiSubWindow* sub : s->main->mdiArea()->subWindowList())
        QObject::connect(sub, &QObject::destroyed, [&, name = sub->objectName()] {
            ++destroyed;
            if (!dynamic_cast<MainFrm*>(main)) destroyedAfterMainFrm << name;
        });
    s->main.reset();
    EXPECT_EQ(destroyed, 2);
    EXPECT_TRUE(destroyedAfterMainFrm.isEmpty()) << destroyedAfterMainFrm.join(",").toStdString();
}

TEST(StartUp, ForeignDatabaseIsRefusedWithAMessageAndLeftAlone) {
    Workspace ws{DrawTable{}};
    const std::string path = ws.folder + "/Numbers4Marvo.mdb";
    n4test::writeFile(path, "not a database at all");
    RecordingSink sink;
    MainFrm main(ws.config, &sink);
    EXPECT_FALSE(main.load());
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_TRUE(sink.messages[0].text.contains("Numbers4Marvo.mdb"));
    EXPECT_EQ(n4test::readFile(path), "not a database at all");
}

TEST(StartUp, AnEmptyFileLeftByAnInterruptedCreationIsCompletedAndSaidSo) {
    Workspace ws{DrawTable{}};
    n4test::writeFile(ws.folder + "/Numbers4Marvo.mdb", "");
    RecordingSink sink;
    MainFrm main(ws.config, &sink);
    ASSERT_TRUE(main.load());
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_EQ(sink.messages[0].kind, "information");
    EXPECT_TRUE(sink.messages[0].text.contains("作り直しました"));
    EXPECT_TRUE(main.drawTable().empty());
}

TEST(StartUp, MissingDatabaseIsCreatedEmpty) {
    Workspace ws{DrawTable{}};
    std::filesystem::remove(ws.folder + "/Numbers4Marvo.mdb");
    RecordingSink sink;
    MainFrm main(ws.config, &sink);
    EXPECT_TRUE(main.load());
    EXPECT_TRUE(std::filesystem::exists(ws.folder + "/Numbers4Marvo.mdb"));
    EXPECT_EQ(main.figures().latestDrawNo, 0);
    main.show();
    main.openPrediction();
    main.openAnalysis("分割10データ分析"); // an empty history opens every window
    main.openAnalysis("回数別出現分析");
    EXPECT_TRUE(sink.messages.isEmpty());
}

TEST(StartUp, ATakeOverInterruptedBeforeTheNewStoreWasInPlaceIsFinished) {
    // An earlier run moved the old file aside and was killed before the new
    // store took its name: the next start must not begin with an empty history.
    const std::string seed = N4_SOURCE_DIR "/tests/fuzz/corpus/jet/history_int_nopw.mdb";
    Workspace ws{DrawTable{}};
    const std::string db = ws.folder + "/Numbers4Marvo.mdb";
    std::filesystem::remove(db);
    DbConnectionString converting = DbConnectionString::forProgramFolder(ws.folder);
    converting.dataSource += ".converting";
    DrawTable fifty;
    for (int no = 1; no <= 50; ++no)
        fifty.push_back(DrawRecord{no, {no % 10, 1, 2, 3}});
    ASSERT_TRUE(DrawStore::create(converting, fifty));
    std::filesystem::copy_file(seed, db + ".jet4");
    RecordingSink sink;
    MainFrm main(ws.config, &sink);
    ASSERT_TRUE(main.load());
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_EQ(sink.messages[0].kind, "information");
    EXPECT_TRUE(sink.messages[0].text.contains("完了しました"))
        << sink.messages[0].text.toStdString();
    EXPECT_EQ(main.drawTable().size(), 50u);
    EXPECT_FALSE(std::filesystem::exists(converting.dataSource));
}

TEST(StartUp, AnOldJetDatabaseIsTakenOverWithOneMessage) {
    const std::string shared = n4test::sharedDataFolder();
    const std::string fixture = shared + "/jet/history_text_pw123456.mdb";
    if (shared.empty() || !std::filesystem::exists(fixture))
        GTEST_SKIP() << "Jet fixtures not present";
    Workspace ws{DrawTable{}};
    const std::string db = ws.folder + "/Numbers4Marvo.mdb";
    std::filesystem::remove(db);
    std::filesystem::copy_file(fixture, db);
    RecordingSink sink;
    MainFrm main(ws.config, &sink);
    ASSERT_TRUE(main.load());
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_EQ(sink.messages[0].kind, "information");
    EXPECT_TRUE(sink.messages[0].text.contains("50 件"));
    EXPECT_TRUE(sink.messages[0].text.contains("Numbers4Marvo.mdb.jet4"));
    EXPECT_EQ(main.drawTable().size(), 50u);
    EXPECT_EQ(n4test::readFile(db + ".jet4"), n4test::readFile(fixture));
}

TEST(Help, WithoutACompiledHelpFileTheProgramsOwnHelpOpensAtItsIntroduction) {
    Shell s;
    s.command("mnuHelpFile")->trigger(); // ヘルプ(&H)
    HelpWindow* help = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* h = qobject_cast<HelpWindow*>(w); h && h->isVisible()) help = h;
    ASSERT_NE(help, nullptr);
    EXPECT_EQ(help->browser()->geometry(), help->rect()); // the pages fill the window
    const QString text = help->browser()->toPlainText();
    EXPECT_TRUE(text.contains("はじめに"));
    for (const char* topic : {"出現頻度分析", "出現間隔分析", "連番・飛び石分析", "当選データ入力",
                              "一発マーヴォ予想", "予想の検証", "回ではなく桁", "1 % 以上なら"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(topic))) << topic;
    // The contents lead to the back-test's page.
    EXPECT_TRUE(help->browser()->toHtml().contains(QStringLiteral("href=\"#kensho\"")));
    EXPECT_TRUE(help->browser()->toHtml().contains(QStringLiteral("name=\"kensho\"")));
}

#include "UiSupport.h"

#include <gtest/gtest.h>

#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>

#include "core/store/DrawStore.h"
#include "ui/shell/ProgramStart.h"

#include <QItemSelectionModel>
#include <QTableView>

namespace n4test {

Workspace::Workspace(const n4::DrawTable& table) {
    folder = tempFolder();
    n4::StoreResult r;
    auto store = n4::DrawStore::open(n4::DbConnectionString::forProgramFolder(folder), r);
    if (store && !table.empty()) store->upsert(table);
    config.programFolder = folder;
    config.settingsPath = folder + "/ナンバーズ4マーヴォ.ini";
    config.helpFolder = folder;
    // A results source that is this machine's and answers nothing: no test's
    // window ever asks an address off this machine for the latest draws.
    writeFile(folder + "/更新元.txt", "http://127.0.0.1:9/\n");
}

Shell::Shell(const n4::DrawTable& table) : ws(table) {
    main = n4::startShell(ws.config, &sink);
    EXPECT_NE(main, nullptr);
}

QAction* Shell::command(const QString& name) const {
    for (QAction* a : main->findChildren<QAction*>())
        if (a->objectName() == name) return a;
    ADD_FAILURE() << "no menu command " << name.toStdString();
    return nullptr;
}

QMdiSubWindow* Shell::choose(const QString& name) {
    if (QAction* a = command(name)) a->trigger();
    settle();
    return main->mdiArea()->activeSubWindow();
}

void Shell::close(const QString& window) {
    if (QMdiSubWindow* w = main->openWindow(window)) w->close();
    settle();
}

QStringList pdfPageTexts(const QString& path) {
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, "-"});
    EXPECT_TRUE(pdftotext.waitForFinished()) << "pdftotext (poppler-utils) did not run";
    QStringList pages = QString::fromUtf8(pdftotext.readAllStandardOutput()).split(QChar('\f'));
    pages.removeLast(); // (after the last page's form feed)
    return pages;
}

void settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

namespace {

QStringList& brokenModelRules() {
    static QStringList broken;
    return broken;
}

QtMessageHandler& otherMessages() {
    static QtMessageHandler handler = nullptr;
    return handler;
}

} // namespace

ModelRulesWatch::ModelRulesWatch(QAbstractItemModel* model) {
    brokenModelRules().clear();
    previous_ = qInstallMessageHandler(
        [](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (context.category && QByteArray(context.category) == "qt.modeltest")
                brokenModelRules() << text;
            else if (otherMessages())
                otherMessages()(type, context, text);
        });
    otherMessages() = previous_;
    tester_ = std::make_unique<QAbstractItemModelTester>(
        model, QAbstractItemModelTester::FailureReportingMode::Warning);
}

ModelRulesWatch::~ModelRulesWatch() {
    tester_.reset();
    qInstallMessageHandler(previous_);
    EXPECT_TRUE(brokenModelRules().isEmpty()) << brokenModelRules().join("\n").toStdString();
}

Entry::Entry(const n4::DrawTable& t) : ws(t) {
    window = std::make_unique<n4::DataEntryWindow>(
        n4::DbConnectionString::forProgramFolder(ws.folder), &sink);
    window->show();
    if (window->model()) rules = std::make_unique<ModelRulesWatch>(window->model());
}

void Entry::select(int row, int col) {
    window->table()->selectionModel()->setCurrentIndex(model()->index(row, col),
                                                       QItemSelectionModel::ClearAndSelect);
}

} // namespace n4test

// 最新の当選番号を取得: the results sources asked in the background, the draws
// taken in as an import.
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressDialog>
#include <atomic>
#include <memory>
#include <thread>

#include "core/update/DrawUpdate.h"
#include "core/update/UpdateSources.h"
#include "ui/common/MessageSink.h"
#include "ui/data/DataEntryWindow.h"
#include "ui/data/DrawEntryModel.h"
#include "ui/data/ImportDialog.h"
#include "ui/shell/MainFrm.h"

namespace n4 {

namespace {

const QString kDataEntryName = QStringLiteral("当選データ入力");
const QString kUpdateTitle = QStringLiteral("最新の当選番号を取得");

} // namespace

bool MainFrm::importDraws(const ImportResult& read, const QString& source) {
    if (QMdiSubWindow* sub = openWindow(kDataEntryName))
        if (auto* entry = qobject_cast<DataEntryWindow*>(sub->widget()))
            return entry->importDraws(read, source); // it reloads the table through imported()
    std::unique_ptr<DrawEntryModel> model = importModel();
    if (!model) return false;
    QString report;
    const bool written = ImportDialog::run(this, messages_, *model, read, source, report);
    if (written) {
        reloadDrawTable();
        if (status_) status_->setText(report.section(QLatin1Char('\n'), 0, 0));
    }
    return written;
}

bool MainFrm::fetchLatestDraws() {
    UpdateRequest request;
    request.database = conn_;
    request.fetchOnly = true;
    request.sources = updateSources_;
    if (request.sources.empty()) {
        std::string message;
        if (!readUpdateSources(updateSourcesPath(config_.settingsPath), request.sources, message)) {
            messages_->critical(this, kMessageTitle, QString::fromStdString(message));
            return false;
        }
    }
    request.fetch.extraCaFile = updateCa_;

    // The work runs on its own thread; this one shows its steps and can stop it.
    QProgressDialog progress(QStringLiteral("更新元に問い合わせています…"), QStringLiteral("中止"),
                             0, 0, this);
    progress.setWindowTitle(kUpdateTitle);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    auto cancelled = std::make_shared<std::atomic<bool>>(false);
    connect(&progress, &QProgressDialog::canceled, this, [cancelled] { *cancelled = true; });
    QPointer<QProgressDialog> shown(&progress);
    request.log = [shown](const std::string& line) {
        const QString text = QString::fromStdString(line);
        QMetaObject::invokeMethod(qApp, [shown, text] {
            if (shown) shown->setLabelText(text);
        });
    };
    request.fetch.progress = [cancelled](std::size_t, long long) { return !*cancelled; };
    UpdateResult result;
    QEventLoop waiting;
    std::thread worker([&] {
        result = updateDraws(request);
        QMetaObject::invokeMethod(&waiting, &QEventLoop::quit, Qt::QueuedConnection);
    });
    progress.show();
    waiting.exec();
    worker.join();
    const bool stopped = *cancelled;
    progress.disconnect(this); // closing the window counts as a cancel no more
    progress.close();

    if (stopped) {
        if (status_) status_->setText(QStringLiteral("最新の当選番号の取得を中止しました。"));
        return false;
    }
    switch (result.status) {
    case UpdateStatus::Failed:
        messages_->critical(this, kMessageTitle,
                            QStringLiteral("最新の当選番号を取得できませんでした。\n") +
                                QString::fromStdString(result.message));
        return false;
    case UpdateStatus::NothingNew:
        messages_->information(this, kProgramTitle,
                               QStringLiteral("新しい当選番号はありません（第%1回まで取り込み済み、"
                                              "更新元: %2）。")
                                   .arg(result.storedLatest)
                                   .arg(QString::fromStdString(result.source)));
        return false;
    case UpdateStatus::Stored:
    case UpdateStatus::Fetched:
        break;
    }
    ImportResult read;
    read.ok = true;
    read.rows = std::move(result.rows);
    read.format = result.format;
    return importDraws(read, QString::fromStdString(result.source));
}

} // namespace n4

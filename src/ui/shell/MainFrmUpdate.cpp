// 最新の当選番号を取得: the results sources asked in the background, the draws
// taken in as an import.
#include <QApplication>
#include <QEventLoop>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPointer>
#include <QProgressDialog>
#include <atomic>
#include <ctime>
#include <memory>
#include <thread>

#include "core/prediction/NextDrawDate.h"
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
        // What the fetch did, then how the new draws' tickets did.
        if (status_)
            status_->setText(
                report.section(QLatin1Char('\n'), 0, 0) +
                (ticketNews_.isEmpty() ? QString() : QStringLiteral("　") + ticketNews_));
    }
    return written;
}

UpdateRequest MainFrm::updateRequest(std::string& message) const {
    UpdateRequest request;
    request.database = conn_;
    request.fetchOnly = true;
    request.sources = updateSources_;
    if (request.sources.empty() &&
        !readUpdateSources(updateSourcesPath(config_.settingsPath), request.sources, message))
        request.sources.clear();
    request.fetch.extraCaFile = updateCa_;
    return request;
}

bool MainFrm::fetchLatestDraws() {
    std::string message;
    UpdateRequest request = updateRequest(message);
    if (request.sources.empty()) {
        messages_->critical(this, kMessageTitle, QString::fromStdString(message));
        return false;
    }

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

// The toggle's own small file beside the settings file, written only when the
// user changes it: the settings file keeps its ten lines.
std::string checkAtStartPath(const std::string& settingsPath) {
    const std::string sources = updateSourcesPath(settingsPath);
    return sources.substr(0, sources.rfind('/') + 1) + "起動時の確認.txt";
}

bool MainFrm::checkingAtStart() const {
    return checkAtStart_ && checkAtStart_->isChecked();
}

void MainFrm::checkForNewDrawsInBackground() {
    if (!checkingAtStart() || checker_.joinable()) return;
    if (!newResultMayBeOut(table_, static_cast<long long>(std::time(nullptr)))) return;
    std::string message;
    UpdateRequest request = updateRequest(message);
    if (request.sources.empty()) return; // told when the user asks through the menu
    auto stop = stopChecking_;
    request.fetch.progress = [stop](std::size_t, long long) { return !*stop; };
    QPointer<MainFrm> self(this);
    checker_ = std::thread([request, self, stop] {
        UpdateResult result = updateDraws(request);
        if (*stop || result.status != UpdateStatus::Fetched) return; // nothing to say
        auto found = std::make_shared<UpdateResult>(std::move(result));
        QMetaObject::invokeMethod(qApp, [self, found] {
            if (!self || self->closing_) return;
            ImportResult read;
            read.ok = true;
            read.rows = std::move(found->rows);
            read.format = found->format;
            self->importDraws(read, QString::fromStdString(found->source));
        });
    });
}

} // namespace n4

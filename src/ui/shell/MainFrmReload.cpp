// The main window's side of keeping the draws current: reading the draw
// table again after a change and recomputing the open windows in place,
// history files dropped on it, and edits that could not be saved when the
// program quits.
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMimeData>
#include <QScrollBar>

#include "core/store/DrawDetailsText.h"
#include "core/tickets/TicketCheck.h"
#include "ui/common/MessageSink.h"
#include "ui/data/DataEntryWindow.h"
#include "ui/data/DrawEntryModel.h"
#include "ui/data/ImportDialog.h"
#include "ui/grid/AnalysisFrame.h"
#include "ui/grid/GridView.h"
#include "ui/numbers/NumberBuilderWindow.h"
#include "ui/numbers/NumberLookupWindow.h"
#include "ui/prediction/BacktestWindow.h"
#include "ui/prediction/PredictionWindow.h"
#include "ui/shell/AnalysisWindowTable.h"
#include "ui/shell/MainFrm.h"
#include "ui/tickets/TicketLedgerWindow.h"

namespace n4 {

namespace {

const QString kPredictionName = QStringLiteral("一発マーヴォ");
const QString kDataEntryName = QStringLiteral("当選データ入力");

// A scroll bar's place across a recompute: the same value, or the end when
// it was at the end (so a window showing the latest draws still does).
class ScrollPlace {
  public:
    explicit ScrollPlace(QScrollBar* bar)
        : bar_(bar), value_(bar->value()),
          atEnd_(bar->maximum() > 0 && bar->value() == bar->maximum()) {}
    void restore() const { bar_->setValue(atEnd_ ? bar_->maximum() : value_); }

  private:
    QScrollBar* bar_;
    int value_;
    bool atEnd_;
};

} // namespace

void MainFrm::showDrawCount() {
    if (!status_) return;
    status_->setText(QStringLiteral("当選データ %1 件を読み込みました。最新回: 第%2回")
                         .arg(table_.size())
                         .arg(figures_.latestDrawNo));
}

void MainFrm::recomputeAnalysis(const QString& name, QMdiSubWindow* sub) {
    const AnalysisWindowInfo* info = findAnalysisWindow(name.toUtf8().constData());
    auto* frame = qobject_cast<AnalysisFrame*>(sub->widget());
    ComputeFn compute = info ? computeFor(*info) : nullptr;
    if (!frame || !compute) return;
    GridView* view = frame->gridView();
    const ScrollPlace across(view->horizontalScrollBar()), down(view->verticalScrollBar());
    // A window still showing its latest draws goes on showing them, also
    // when they used to fit without scrolling.
    const bool latest = view->keepsLatestRows();
    frame->rebuildGrid([&] { return compute(AnalysisInput{table_, figures_}); });
    across.restore();
    if (!latest) down.restore();
    computeCounts_[name] += 1;
}

void MainFrm::startWatching() {
    StoreResult result;
    watch_ = DrawStore::open(conn_, result, nullptr, IfMissing::Refuse);
    seenVersion_ = watch_ ? watch_->dataVersion() : -1;
}

bool MainFrm::reloadDrawTable() {
    DrawTable fresh;
    StoreResult result;
    // A file another program put in place of ours is opened (and checked) anew.
    if (watch_ && !watch_->stillOpenAtPath()) watch_.reset();
    if (!watch_) watch_ = DrawStore::open(conn_, result, nullptr, IfMissing::Refuse);
    // The version first: a change after it is noticed next time.
    const long long version = watch_ ? watch_->dataVersion() : -1;
    if (watch_) result = watch_->recheckIfChangedElsewhere();
    if (watch_ && result) result = watch_->readAll(fresh);
    if (!result) {
        watch_.reset(); // opened anew next time
        messages_->critical(this, kMessageTitle,
                            QStringLiteral("当選データを読み直せません。表示は前のままです。\n") +
                                QString::fromStdString(result.message));
        return false;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::vector<int> broughtIn = drawsBroughtIn(table_, fresh);
    table_ = std::move(fresh);
    figures_ = computeStartupFigures(table_);
    loadedRevision_ = changeLog_.revision();
    seenVersion_ = version;
    for (auto it = windows_.cbegin(); it != windows_.cend(); ++it) {
        if (!it.value()) continue;
        if (it.key() == kPredictionName) {
            if (auto* p = qobject_cast<PredictionWindow*>(it.value()->widget())) {
                p->setDraws(table_, figures_.latestDrawNo);
                computeCounts_[kPredictionName] += 1;
            }
        } else if (auto* b = qobject_cast<BacktestWindow*>(it.value()->widget())) {
            b->setDraws(table_);
        } else if (auto* lookup = qobject_cast<NumberLookupWindow*>(it.value()->widget())) {
            lookup->setDraws(table_);
        } else if (auto* builder = qobject_cast<NumberBuilderWindow*>(it.value()->widget())) {
            builder->setDraws(table_);
        } else if (auto* ledger = qobject_cast<TicketLedgerWindow*>(it.value()->widget())) {
            ledger->setDraws(table_);
        } else {
            recomputeAnalysis(it.key(), it.value());
        }
    }
    showDrawCount();
    tellTicketResults(broughtIn);
    QApplication::restoreOverrideCursor();
    return true;
}

void MainFrm::tellTicketResults(const std::vector<int>& broughtIn) {
    ticketNews_.clear();
    std::vector<Ticket> tickets;
    if (broughtIn.empty() || !watch_ || !readTickets(*watch_, tickets) || tickets.empty()) return;
    ticketNews_ = QString::fromStdString(ticketNews(checkTickets(tickets, table_), broughtIn));
    if (!ticketNews_.isEmpty() && status_) status_->setText(ticketNews_);
}

void MainFrm::onDataEntryClosing() {
    // Once, when the data-entry window goes after changing something, or
    // after another program did while it was open.
    const bool elsewhere =
        watch_ && (watch_->dataVersion() != seenVersion_ || !watch_->stillOpenAtPath());
    if (closing_) return;
    if (changeLog_.revision() != loadedRevision_ || elsewhere) reloadDrawTable();
    // Nothing is refused, but a draw left with a blank digit would otherwise
    // drop out of every analysis unnoticed.
    if (const std::string missing = incompleteDrawsText(table_); !missing.empty())
        messages_->information(this, kMessageTitle, QString::fromStdString(missing));
}

bool MainFrm::followExternalChanges() {
    if (closing_ || !watch_) return false;
    if (watch_->dataVersion() == seenVersion_ && watch_->stillOpenAtPath()) return false;
    if (QMdiSubWindow* sub = openWindow(kDataEntryName)) {
        // The analyses stay as they are while data entry is open.
        auto* entry = qobject_cast<DataEntryWindow*>(sub->widget());
        return entry && entry->model() && entry->model()->followExternalChanges();
    }
    if (!reloadDrawTable()) return false;
    if (status_)
        status_->setText(QStringLiteral("別のプログラムが当選データを変更しました。") +
                         status_->text());
    return true;
}

bool MainFrm::importFile(const QString& path) {
    if (QMdiSubWindow* sub = openWindow(kDataEntryName))
        if (auto* entry = qobject_cast<DataEntryWindow*>(sub->widget()))
            return entry->importFile(path); // it reloads the table through imported()
    std::unique_ptr<DrawEntryModel> model = importModel();
    if (!model) return false;
    QString report;
    const bool written = ImportDialog::runFile(this, messages_, *model, path, report);
    if (written) reloadDrawTable();
    return written;
}

bool MainFrm::importChosenFile() {
    const QString path = chooseImportFile_ ? chooseImportFile_() : ImportDialog::chooseFile(this);
    return !path.isEmpty() && importFile(path);
}

std::unique_ptr<DrawEntryModel> MainFrm::importModel() {
    StoreResult result;
    auto store = DrawStore::open(conn_, result);
    std::unique_ptr<DrawEntryModel> model;
    if (store) {
        model = std::make_unique<DrawEntryModel>(std::move(store), &changeLog_);
        result = model->reload();
    }
    if (!result) {
        messages_->critical(this, kMessageTitle, QString::fromStdString(result.message));
        return nullptr;
    }
    return model;
}

void MainFrm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void MainFrm::dropEvent(QDropEvent* event) {
    const QString path = ImportDialog::takeDroppedFile(event, this, messages_);
    if (!path.isEmpty()) importFile(path);
}

bool MainFrm::settleUnsavedEdits() {
    QMdiSubWindow* sub = openWindow(kDataEntryName);
    auto* entry = sub ? qobject_cast<DataEntryWindow*>(sub->widget()) : nullptr;
    return !entry || entry->settleUnsaved(true);
}

} // namespace n4

#include "ui/prediction/PredictionWindow.h"

#include <QAction>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "core/prediction/AnalysisOptions.h"
#include "core/prediction/NextDrawDate.h"
#include "core/prediction/PredictionEngine.h"
#include "core/prediction/PredictionGrids.h"
#include "ui/common/Twips.h"
#include "ui/grid/AnalysisFrame.h"
#include "ui/grid/GridView.h"
#include "ui/grid/GridViewMenu.h"

namespace n4 {

namespace {

const char* const kPanelStyle = "background:rgb(192,255,255);";
const char* const kGroupStyle = "background:rgb(255,192,255);";

QGroupBox* panel(const QString& title, QRect geometry, const char* style, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    box->setGeometry(geometry);
    box->setStyleSheet(QStringLiteral("QGroupBox{%1 border:1px solid #808080; margin-top:0px;}"
                                      "QGroupBox::title{subcontrol-origin:padding; left:4px;}")
                           .arg(QLatin1String(style)));
    return box;
}

// A description of two lines, broken where the sentence allows it; the
// font steps down where the given width is too narrow for a line. It is as
// high as its two lines: the given height would run under the first group.
QLabel* description(const QString& text, QRect geometry, QWidget* parent) {
    auto* l = new OneLineLabel(text, parent);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setGeometry(geometry.x(), geometry.y(), geometry.width(), l->sizeHint().height());
    return l;
}

} // namespace

PredictionWindow::PredictionWindow(AnalysisOptions& options, PredictionEngine& engine,
                                   const DrawTable& table, int latestDrawNo, QWidget* parent)
    : QWidget(parent), options_(options), engine_(engine) {
    setObjectName(QStringLiteral("一発マーヴォ"));
    setMinimumSize(twipsSize(9240, 7860, this));
    QPushButton* print = makePrintButton(this);
    print->setGeometry(twipsRect(7200, 60, 855, 375, this));
    close_ = makeCloseButton(this);
    close_->setObjectName(QStringLiteral("Cmd閉じる"));
    close_->setGeometry(twipsRect(8160, 60, 855, 375, this));
    connect(close_, &QPushButton::clicked, this, &PredictionWindow::closeRequested);
    // Which draw the prediction is for, in the free band left of the buttons.
    target_ = new QLabel(this);
    target_->setObjectName(QStringLiteral("lblTargetDraw"));
    target_->setStyleSheet(QStringLiteral("color:rgb(255,0,0);font-weight:bold;"));
    target_->setGeometry(twipsRect(120, 60, 3855, 375, this));
    // A right click anywhere in the window offers the back-test.
    backtest_ = new QAction(QStringLiteral("過去の当選で検証…"), this);
    connect(backtest_, &QAction::triggered, this, &PredictionWindow::backtestRequested);
    addAction(backtest_);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    buildOptionsPanel();
    RestoreOptionButtons();
    buildPredictionPanel();
    // The button prints the four grids, under the window's name and the draw predicted.
    connect(print, &QPushButton::clicked, this, [this] { views_[0]->menu()->printPage(); });
    setDraws(table, latestDrawNo);
}

void PredictionWindow::setDraws(const DrawTable& table, int latestDrawNo) {
    // With the day of that draw where the history tells it: 第7055回（8月24日・月）の予想.
    const int date =
        latestDrawNo == (table.empty() ? 0 : table.back().drawNo) ? nextDrawDate(table) : kUnknown;
    if (date == kUnknown) {
        target_->setText(QStringLiteral("第%1回の予想").arg(latestDrawNo + 1));
    } else {
        static const char* const kDays[] = {"月", "火", "水", "木", "金"};
        const QDate day(date / 10000, date / 100 % 100, date % 100);
        target_->setText(QStringLiteral("第%1回（%2月%3日・%4）の予想")
                             .arg(latestDrawNo + 1)
                             .arg(day.month())
                             .arg(day.day())
                             .arg(QString::fromUtf8(kDays[day.dayOfWeek() - 1])));
    }
    firstSteps_->setVisible(table.empty());
    engine_.ScanDraws(table, latestDrawNo, options_.reflectedCount());
    showGrids();
    fitGrids();
}

void PredictionWindow::buildOptionsPanel() {
    QGroupBox* frame = panel(QStringLiteral("データ分析オプション"),
                             twipsRect(120, 480, 3855, 7272, this), kPanelStyle, this);
    description(QStringLiteral("各データ分析の分析結果を当選予想へ\n反映するかを設定します。"),
                twipsRect(120, 240, 3615, 615, this), frame);
    for (int k = 0; k < kOptionGroupCount; ++k) {
        QGroupBox* group =
            panel(QString::fromUtf8(optionGroupCaption(k)),
                  twipsRect(120, 720 + 540 * k, 3615, 495, this), kGroupStyle, frame);
        reflect_[k] = new QRadioButton(QStringLiteral("反映する"), group);
        reflect_[k]->setObjectName(QStringLiteral("Opt反映する_%1").arg(k));
        reflect_[k]->move(twipsToPixels(480, this), twipsToPixels(200, this));
        noReflect_[k] = new QRadioButton(QStringLiteral("反映しない"), group);
        noReflect_[k]->setObjectName(QStringLiteral("Opt反映しない_%1").arg(k));
        noReflect_[k]->move(twipsToPixels(1920, this), twipsToPixels(200, this));
        noReflect_[k]->setChecked(true); // the two buttons of a group exclude each other
        // The two lowest groups have no setting behind them.
        if (k >= kOptionCount) {
            group->setEnabled(false);
            continue;
        }
        connect(reflect_[k], &QRadioButton::clicked, this, [this, k] { onOptionClicked(k, true); });
        connect(noReflect_[k], &QRadioButton::clicked, this,
                [this, k] { onOptionClicked(k, false); });
    }
}

void PredictionWindow::buildPredictionPanel() {
    QGroupBox* frame = panel(QStringLiteral("当選予想"), twipsRect(4080, 480, 5055, 7272, this),
                             kPanelStyle, this);
    description(QStringLiteral("各データ分析の結果を元に周期法、消去法、連発マーヴォ、\n"
                               "一発マーヴォの各手法を用いて当選数字を予想します。"),
                twipsRect(240, 240, 4575, 375, this), frame);
    const int labelTops[] = {840, 2640, 4200, 5520};
    // Left, top and width of each grid.
    const int grids[][3] = {
        {4320, 1680, 4065}, {4320, 3480, 4080}, {4320, 5040, 4080}, {4320, 6360, 4080}};
    for (int g = 0; g < 4; ++g) {
        auto* l = new OneLineLabel(QString::fromUtf8(predictionGridLabel(g)), frame);
        l->setStyleSheet(QStringLiteral("color:rgb(255,0,0);background:rgb(192,255,255);"));
        // As wide as the frame allows, with the same margin on the right.
        const QRect at = twipsRect(120, labelTops[g], 5055 - 2 * 120, 0, this);
        l->setGeometry(at.x(), at.y(), at.width(), l->sizeHint().height());
        views_[g] = new GridView(frame);
        views_[g]->setObjectName(QStringLiteral("fpSpread1_%1").arg(g));
        views_[g]->setAccessibleName(l->text()); // the label above it names it
        views_[g]->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        views_[g]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // Grid positions are given within the window; the frame starts at 4080,
        // 480. The columns fill the given width; the rows take their height.
        const auto [left, top, width] = grids[g];
        views_[g]->setGeometry(twipsRect(left - 4080, top - 480, width, 0, this));
        shareGrid(views_[g]);
    }
    // Below the grids, which stay empty until there are draws: the way in.
    firstSteps_ = new OneLineLabel(
        QStringLiteral("当選データがありません：データ管理 → ファイルから取り込み…"), frame);
    firstSteps_->setObjectName(QStringLiteral("lblFirstSteps"));
    firstSteps_->setStyleSheet(QStringLiteral("color:rgb(0,0,160);font-weight:bold;"));
    const QRect at = twipsRect(120, 6840, 5055 - 2 * 120, 0, this);
    firstSteps_->setGeometry(at.x(), at.y(), at.width(), firstSteps_->sizeHint().height());
}

void PredictionWindow::shareGrid(GridView* view) {
    // A page or picture of any one grid is the whole prediction's page.
    GridViewMenu* menu = view->menu();
    menu->setTitle(QString::fromUtf8(kPredictionCaption));
    menu->setPageMaker([this] {
        HtmlPage page{kPredictionCaption, kPredictionDescription, {}, ""};
        if (!target_->text().isEmpty())
            page.description = target_->text().toStdString() + "　" + page.description;
        for (int g = 0; g < 4; ++g)
            page.tables.push_back({&engine_.grids()[g], 1, predictionGridLabel(g)});
        return page;
    });
    menu->addWindowAction(backtest_);
}

void PredictionWindow::RestoreOptionButtons() {
    for (int k = 0; k < kOptionCount; ++k)
        (options_.flags[k] ? reflect_[k] : noReflect_[k])->setChecked(true);
}

void PredictionWindow::onOptionClicked(int k, bool reflect) {
    options_.flags[k] = reflect;
    engine_.Predict(options_.reflectedCount());
    showGrids();
    emit reflectedCountChanged(options_.reflectedCount());
}

void PredictionWindow::fitGrids() {
    // The columns fill the width the design gives each grid; the rows take
    // the height they need, which stays clear of the label below.
    for (GridView* v : views_) {
        v->fitColumnsToWidth(v->columnRoom());
        v->resize(v->width(), v->sizeHint().height());
    }
}

void PredictionWindow::showGrids() {
    for (int g = 0; g < 4; ++g)
        views_[g]->setGrid(engine_.grids()[g]);
}

} // namespace n4

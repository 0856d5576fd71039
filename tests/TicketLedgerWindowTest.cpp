// The window 購入記録: a ticket typed for the next draw waits for it, takes
// its result and prize as soon as the draw comes in by an import (the status
// bar says how the draw's tickets did), and every kind of edit is saved at
// once and can be undone and redone.
#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QChartView>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>

#include "UiSupport.h"
#include "core/tickets/TicketStore.h"
#include "ui/numbers/NumberBuilderWindow.h"
#include "ui/tickets/TicketLedgerModel.h"
#include "ui/tickets/TicketLedgerWindow.h"
#include "ui/tickets/TicketTotalsPanel.h"

using namespace n4;

namespace {

struct Ledger {
    n4test::Shell shell;
    TicketLedgerWindow* window = nullptr;
    explicit Ledger(const DrawTable& draws) : shell(draws) {
        QMdiSubWindow* sub = shell.choose("mnuTicketLedger");
        window = sub ? qobject_cast<TicketLedgerWindow*>(sub->widget()) : nullptr;
    }
    QString cell(int row, int column) const {
        return window->model()->index(row, column).data().toString();
    }
    // Each ticket as the file holds it now, read by a store of its own.
    std::vector<std::string> stored() const {
        StoreResult r;
        auto store = DrawStore::open(DbConnectionString::forProgramFolder(shell.ws.folder), r);
        std::vector<Ticket> tickets;
        EXPECT_TRUE(store && readTickets(*store, tickets));
        std::vector<std::string> lines;
        for (const Ticket& t : tickets)
            lines.push_back(std::to_string(t.firstDraw) + "-" + std::to_string(t.lastDraw) + " " +
                            fourDigits(t.number) + " " + buyKindName(t.kind) + " " +
                            std::to_string(t.units));
        return lines;
    }
    std::vector<std::string> shown() const {
        std::vector<std::string> lines;
        for (const Ticket& t : window->model()->tickets())
            lines.push_back(std::to_string(t.firstDraw) + "-" + std::to_string(t.lastDraw) + " " +
                            fourDigits(t.number) + " " + buyKindName(t.kind) + " " +
                            std::to_string(t.units));
        return lines;
    }
    void type(const QString& draw, const QString& number, int kind) const {
        window->drawEdit()->setText(draw);
        window->kindBox()->setCurrentIndex(kind);
        window->numberEdit()->setText(number);
    }
};

} // namespace

TEST(TicketLedgerWindow, ATicketForTheNextDrawWaitsThenTakesItsResultWhenTheDrawIsImported) {
    Ledger l(draws({{1, 2, 3, 4}, {5, 6, 7, 8}}));
    ASSERT_NE(l.window, nullptr);
    // The next draw is offered; a quad cannot be a box, a fifth digit is refused.
    EXPECT_EQ(l.window->drawEdit()->text(), "3");
    l.type("3", "7777", 1);
    EXPECT_FALSE(l.window->addButton()->isEnabled());
    EXPECT_TRUE(l.window->hintLabel()->text().contains("ストレートでしか買えません"));
    l.type("3", "12345", 1);
    EXPECT_TRUE(l.window->hintLabel()->text().contains("5けた目"));
    l.type("0", "1234", 1);
    EXPECT_TRUE(l.window->hintLabel()->text().contains("第1回から"));
    l.type("3", "4321", 1);
    QTest::mouseClick(l.window->addButton(), Qt::LeftButton);
    l.window->unitsBox()->setValue(2);
    l.type("3", "9876", 0);
    QTest::keyClick(l.window->numberEdit(), Qt::Key_Return);
    ASSERT_EQ(l.shown(),
              (std::vector<std::string>{"3-3 4321 ボックス 1", "3-3 9876 ストレート 2"}));
    EXPECT_EQ(l.stored(), l.shown());
    EXPECT_EQ(l.cell(0, TicketLedgerModel::ResultCol), "抽せん前");
    EXPECT_EQ(l.cell(0, TicketLedgerModel::PrizeCol), "");
    EXPECT_EQ(l.window->totals()->totals().spent, 600);

    // Draw 3 comes in with its prizes: the box won, the straight did not.
    const std::string file = l.shell.ws.folder + "/draw3.csv";
    n4test::writeFile(file, "回数,第1数字,第2数字,第3数字,第4数字,ストレート,ボックス\n"
                            "3,1,2,3,4,900000,37500\n");
    ASSERT_TRUE(l.shell.main->importFile(QString::fromStdString(file)));
    EXPECT_EQ(l.shell.main->statusLabel()->text(), "第3回: 2 枚中 1 枚当せん ¥37,500");
    EXPECT_EQ(l.cell(0, TicketLedgerModel::ResultCol), "ボックス当せん");
    EXPECT_EQ(l.cell(0, TicketLedgerModel::PrizeCol), "37,500円");
    EXPECT_EQ(l.cell(1, TicketLedgerModel::ResultCol), "はずれ");
    const TicketTotals& t = l.window->totals()->totals();
    EXPECT_EQ(t.won, 37500);
    EXPECT_EQ(t.balance(), 37500 - 600);
    EXPECT_TRUE(l.window->totals()->figuresLabel()->text().contains("36,900円"));
    auto* chart = l.window->totals()->chartView()->chart();
    ASSERT_EQ(chart->series().size(), 1);
    EXPECT_EQ(static_cast<QLineSeries*>(chart->series()[0])->at(0), QPointF(3, 36900));
    // The next draw is offered again; a reload that brings nothing new says
    // nothing of tickets.
    EXPECT_EQ(l.window->drawEdit()->text(), "4");
    ASSERT_TRUE(l.shell.main->reloadDrawTable());
    EXPECT_FALSE(l.shell.main->statusLabel()->text().contains("枚当せん"));
}

TEST(TicketLedgerWindow, EveryKindOfEditIsStoredAtOnceAndUndoneAndRedone) {
    DrawTable history = draws({{1, 2, 3, 4}, {5, 6, 7, 8}});
    Ledger l(history);
    ASSERT_NE(l.window, nullptr);
    std::vector<std::vector<std::string>> states{l.shown()};
    auto step = [&](bool done) {
        ASSERT_TRUE(done);
        EXPECT_EQ(l.stored(), l.shown());
        states.push_back(l.shown());
    };
    TicketLedgerModel* m = l.window->model();
    step(m->addTickets({Ticket{0, 1, 1, 1234, BuyKind::Set, 1}}, "追加"));
    // A field typed into the list: a bad one is refused and nothing written.
    EXPECT_FALSE(m->setData(m->index(0, TicketLedgerModel::KindCol), "ボックス？", Qt::EditRole));
    step(m->setData(m->index(0, TicketLedgerModel::LastDrawCol), "４", Qt::EditRole));
    QApplication::clipboard()->setText("2\t5678\tボックス\t3\n3\t4\t0042\tセット\t1\n");
    l.window->findChild<QAction*>("mnuPaste")->trigger();
    step(l.stored().size() == 3);
    step(m->removeRowsAt({0, 2}));
    // The builder's list: its numbers for the next draw, the quad left out of a box.
    QMdiSubWindow* sub = l.shell.choose("mnuNumberBuilder");
    auto* builder = qobject_cast<NumberBuilderWindow*>(sub->widget());
    ASSERT_NE(builder, nullptr);
    emit builder->handOver({1122, 3333}, BuyKind::Box, 2);
    step(l.stored().size() == 2);
    EXPECT_EQ(l.shown().back(), "3-3 1122 ボックス 2");
    EXPECT_EQ(states.back().size(), 2u);
    // Back through every step, and forward again, the file as the list.
    for (size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(m->undo());
        EXPECT_EQ(l.shown(), states[i - 1]);
        EXPECT_EQ(l.stored(), states[i - 1]);
    }
    EXPECT_FALSE(m->canUndo());
    for (size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(m->redo());
        EXPECT_EQ(l.stored(), states[i]);
    }
    // Ctrl+Z goes through the window's own shortcut.
    QTest::keyClick(l.window->tableView(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(l.stored(), states[states.size() - 2]);
}

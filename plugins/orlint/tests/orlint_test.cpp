// SPDX-License-Identifier: GPL-3.0-or-later
// The menu window through its exports and real input, against the virtual
// radio. A stand-in for the console forwards EX, TX, RX and SC as the
// console's reply handlers do.
#include <orlint.h>

#include "menu_catalogue.h"
#include "orlint_internal.h"

#include <corvan.h>
#include <kestrin.h>
#include <platform.h>
#include <plugin_test_harness.h>
#include <qxsim.h>

#include <QApplication>
#include <QLineEdit>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <ostream>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace orlint;
using namespace std::chrono_literals;

// ------------------------------------------------------------------ values

struct ValueCase {
    std::string text;
    bool accepted;
};

void PrintTo(const ValueCase& c, std::ostream* os) {
    *os << c.text.size() << " characters, " << (c.accepted ? "accepted" : "refused");
}

class ValueCheckTest : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ValueCheckTest, OnlyValuesTheCommandCanCarry) {
    EXPECT_EQ(!ValueProblem(GetParam().text).has_value(), GetParam().accepted) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Texts, ValueCheckTest,
                         ::testing::Values(ValueCase{"1", true}, ValueCase{"0123456789ABCDEF", true},
                                           ValueCase{"0123456789ABCDEFG", false}, ValueCase{"", false},
                                           ValueCase{"1;FA00000000001", false}, ValueCase{"a\tb", false},
                                           ValueCase{"\xe4", false}));

TEST(MenuCatalogue, NamesAndNumbers) {
    EXPECT_EQ(NumberOf({50, 1, 0, 0}), "050-1");
    EXPECT_EQ(NumberOf({7, 2, 3, 4}), "007-2-3-4");
    EXPECT_EQ(NameOf({50, 1, 0, 0}), "RX filter preset");
    EXPECT_EQ(NameOf({77, 3, 0, 0}), "Menu 077-3");
    EXPECT_EQ(NumericValue("74", kMaxValueQX410), 74u);
    EXPECT_EQ(NumericValue("075", kMaxValueQX410), std::nullopt);
    EXPECT_EQ(NumericValue("7a", kMaxValueQX410), std::nullopt);
    EXPECT_EQ(NumericValue("", kMaxValueQX410), std::nullopt);
    EXPECT_EQ(NumericValue("4294967296", 99999), std::nullopt);
    // Listed in menu order, each once.
    const auto items = Catalogue();
    for (std::size_t i = 1; i < items.size(); ++i)
        EXPECT_LT(items[i - 1].item, items[i].item);
}

// ------------------------------------------------------------------ fixture

using plugin_tests::ConsoleStandIn;
using plugin_tests::PumpFor;
using plugin_tests::PumpUntil;
using Sim = plugin_tests::SimRadio;

// Forwards EX, TX, RX and SC to the menu window's exports.
std::unique_ptr<ConsoleStandIn> ForwardToTheMenuWindow(CCorvan& link) {
    auto standIn = std::make_unique<ConsoleStandIn>(link);
    standIn->On("EX", [&link] {
        std::uint32_t m, s, a, b;
        char text[corvan::kNameTextSize] = {};
        if (link.RcvDataEX(&m, &s, &a, &b, text))
            OrlintMsgEX(m, s, a, b, text);
    });
    standIn->On("TX", [&link] { std::uint32_t v; if (link.RcvDataTX(&v)) OrlintMsgTX(v); });
    standIn->On("RX", [&link] { std::uint32_t v; if (link.RcvDataRX(&v)) OrlintMsgRX(v); });
    standIn->On("SC", [&link] { std::uint32_t v; if (link.RcvDataSC(&v)) OrlintMsgSC(v); });
    return standIn;
}

class MenuWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim().connected);
        ForgetState();
        sim().radio.modify([](qxsim::State& s) {
            s.ai = 2;
            s.menu.clear();
            s.menu["0550000"] = "0";
            s.menu["0050000"] = "1";
            s.menu["0200000"] = "1";
            s.menu["0460000"] = "1";
            s.menu["0500100"] = "2";
            s.transmitting = 0;
            s.scan = 0;
        });
        standIn = ForwardToTheMenuWindow(sim().link);
        sim().radio.clearReceived();
    }
    void TearDown() override {
        OrlintDestroy();
        OrlintSetScrollLock(0);
        standIn.reset();
        sim().radio.modify([](qxsim::State& s) { s.ai = 0; });
    }
    static Sim& sim() { return Sim::instance(); }

    CMenuWindow* open() {
        EXPECT_NE(OrlintView(nullptr), 0);
        window = TheWindow();
        return window;
    }
    const CMenuWindow::Controls& ui() const { return window->controls(); }
    // The EX read requests the radio received, in order ("EX0500100").
    std::vector<std::string> menuReads() const {
        std::vector<std::string> out;
        for (const auto& r : sim().radio.received())
            if (r.text.size() == 9 && r.text.compare(0, 2, "EX") == 0)
                out.push_back(r.text);
        return out;
    }
    QTreeWidgetItem* row(const MenuItem& item) const {
        const QString number = QString::fromStdString(NumberOf(item));
        for (int i = 0; i < ui().list->topLevelItemCount(); ++i)
            if (ui().list->topLevelItem(i)->text(0) == number)
                return ui().list->topLevelItem(i);
        return nullptr;
    }
    QString shownValue(const MenuItem& item) const {
        QTreeWidgetItem* r = row(item);
        return r != nullptr ? r->text(2) : QStringLiteral("<no row>");
    }
    void clickRow(const MenuItem& item) {
        QTreeWidgetItem* r = row(item);
        ASSERT_NE(r, nullptr);
        const QRect at = ui().list->visualItemRect(r);
        QTest::mouseClick(ui().list->viewport(), Qt::LeftButton, {}, at.center());
    }
    bool readAllDone() {
        return PumpUntil([&] { return !window->reading(); }, 8000);
    }

    std::unique_ptr<ConsoleStandIn> standIn;
    CMenuWindow* window = nullptr;
};

// ------------------------------------------------------------------ exports

TEST_F(MenuWindowTest, EveryExportIsSafeWithoutAWindowAndItsValuesAreKept) {
    OrlintDestroy();
    OrlintSetZulParams(2, 0, 1);
    OrlintSetScrollLock(0);
    OrlintMsgCM(0);
    OrlintMsgEX(21, 0, 0, 0, "1");
    OrlintMsgEX(99, 99, 9, 9, nullptr);
    OrlintMsgMF(1);
    OrlintMsgSC(0);
    OrlintMsgTC(1);
    OrlintMsgTX(1);
    OrlintMsgRX(0);
    EXPECT_EQ(TheWindow(), nullptr);
    EXPECT_EQ(LastState().values.at(MenuItem{21, 0, 0, 0}), "1");
    EXPECT_EQ(LastState().zul, 2u);
    EXPECT_EQ(LastState().transmitting, -1);

    // The view tells the console the window exists; the kept values show.
    standIn.reset();
    sim().radio.modify([](qxsim::State& s) { s.ai = 0; });
    open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(OrlintView(nullptr), 1);
    EXPECT_EQ(TheWindow(), window);
    EXPECT_EQ(shownValue({21, 0, 0, 0}), QStringLiteral("1"));
    // An item the catalogue lacks gets a row of its own.
    EXPECT_NE(row({99, 99, 9, 9}), nullptr);
    EXPECT_TRUE(ui().state->text().contains(QStringLiteral("ZUL : COMMAND")));
    EXPECT_TRUE(ui().state->text().contains(QStringLiteral("REMOTE CONTROL")));
    EXPECT_TRUE(ui().state->text().contains(QStringLiteral("Bank B")));
}

// ------------------------------------------------------------------ reading

TEST_F(MenuWindowTest, ANewWindowReadsItsItemsOneAtATimeAndShowsTheRadiosValues) {
    OrlintMsgEX(46, 0, 0, 0, "1"); // the radio's item before the window opened
    open();
    ASSERT_TRUE(readAllDone());
    PumpUntil([&] { return menuReads().size() >= Catalogue().size() + 1; }, 2000);
    const auto reads = menuReads();
    // Each catalogue item once in menu order, then the radio's item again.
    ASSERT_EQ(reads.size(), Catalogue().size() + 1);
    for (std::size_t i = 0; i < Catalogue().size(); ++i) {
        char expected[16];
        const MenuItem& item = Catalogue()[i].item;
        std::snprintf(expected, sizeof expected, "EX%03u%02u%u%u", item.menu, item.sub, item.a, item.b);
        EXPECT_EQ(reads[i], expected);
    }
    EXPECT_EQ(reads.back(), "EX0460000");
    EXPECT_EQ(shownValue({5, 0, 0, 0}), QStringLiteral("1"));
    EXPECT_EQ(shownValue({50, 1, 0, 0}), QStringLiteral("2"));
    EXPECT_EQ(shownValue({25, 0, 0, 0}), QStringLiteral("0"));
    ASSERT_TRUE(PumpUntil([&] { return window->selected() == MenuItem{46, 0, 0, 0}; }));
    EXPECT_EQ(ui().value->text(), QStringLiteral("1"));
}

TEST_F(MenuWindowTest, WhileTheConsoleReadsTheMenuTheWindowKeepsItsItem) {
    open();
    ASSERT_TRUE(readAllDone());
    sim().radio.clearReceived();
    clickRow({20, 0, 0, 0});
    ASSERT_TRUE(PumpUntil([&] { return window->selected() == MenuItem{20, 0, 0, 0}; }));
    ASSERT_TRUE(sim().radio.waitFor("EX0200000", 3000ms));

    OrlintSetScrollLock(1);
    EXPECT_FALSE(ui().set->isEnabled());
    sim().radio.clearReceived();
    // The console's reading: answers for other items arrive.
    sim().link.ConnEX("R", 4, 0, 0, 0, "");
    sim().link.ConnEX("R", 50, 1, 0, 0, "");
    ASSERT_TRUE(PumpUntil([&] {
        return LastState().values.count(MenuItem{4, 0, 0, 0}) == 1 && LastState().values.count(MenuItem{50, 1, 0, 0}) == 1;
    }));
    PumpFor(100);
    EXPECT_EQ(window->selected(), (MenuItem{20, 0, 0, 0}));
    // The window's own reads wait for the console's.
    QTest::mouseClick(ui().readAll, Qt::LeftButton);
    PumpFor(150);
    EXPECT_EQ(menuReads().size(), 2u);

    sim().radio.clearSent();
    OrlintSetScrollLock(0);
    // The read that waited starts now: wait for its whole catalogue and the
    // answer to the read of the radio's item that ends it. A change on the
    // radio's panel made while that read is on the line may come before its
    // answer, and the window then rightly shows the item the answer names.
    const auto menuAnswers = [&] {
        const auto sent = sim().radio.sent();
        return std::count_if(sent.begin(), sent.end(), [](const std::string& s) { return s.compare(0, 2, "EX") == 0; });
    };
    ASSERT_TRUE(PumpUntil(
        [&] {
            return menuReads().size() >= Catalogue().size() + 3 && !window->reading() &&
                   menuAnswers() >= static_cast<std::ptrdiff_t>(Catalogue().size()) + 1;
        },
        8000));
    // Afterwards the radio's item is followed again.
    sim().radio.setMenu(18, 0, 0, 0, "1");
    ASSERT_TRUE(PumpUntil([&] { return window->selected() == MenuItem{18, 0, 0, 0}; }));
    EXPECT_EQ(ui().value->text(), QStringLiteral("1"));
}

// ------------------------------------------------------------------ changing

TEST_F(MenuWindowTest, TypingAValueAndEnterSetsTheSelectedItem) {
    open();
    ASSERT_TRUE(readAllDone());
    clickRow({21, 0, 0, 0});
    ASSERT_TRUE(PumpUntil([&] { return window->selected() == MenuItem{21, 0, 0, 0}; }));
    ASSERT_TRUE(ui().set->isEnabled());
    sim().radio.clearReceived();
    ui().value->setFocus();
    ui().value->selectAll();
    QTest::keyClicks(ui().value, "1");
    QTest::keyClick(ui().value, Qt::Key_Return);
    ASSERT_TRUE(sim().radio.waitFor("EX02100001", 3000ms));
    EXPECT_EQ(sim().radio.menuValue(21, 0), "1");
    ASSERT_TRUE(PumpUntil([&] { return shownValue({21, 0, 0, 0}) == QStringLiteral("1"); }));

    // Go reaches an item the list does not hold.
    ui().menu->setValue(33);
    ui().sub->setValue(2);
    QTest::mouseClick(ui().go, Qt::LeftButton);
    ASSERT_TRUE(sim().radio.waitFor("EX0330200", 3000ms));
    ASSERT_TRUE(PumpUntil([&] { return shownValue({33, 2, 0, 0}) == QStringLiteral("0"); }));
}

TEST_F(MenuWindowTest, NoChangeWhileTransmittingScanningOrWithABadValue) {
    open();
    ASSERT_TRUE(readAllDone());
    clickRow({20, 0, 0, 0});
    ASSERT_TRUE(PumpUntil([&] { return window->selected() == MenuItem{20, 0, 0, 0}; }));

    sim().radio.transmit(true);
    ASSERT_TRUE(PumpUntil([&] { return LastState().transmitting == 0; }));
    EXPECT_FALSE(ui().set->isEnabled());
    EXPECT_EQ(window->blockReason(), QStringLiteral("Transmitting"));
    sim().radio.transmit(false);
    ASSERT_TRUE(PumpUntil([&] { return LastState().transmitting == -1; }));
    EXPECT_TRUE(ui().set->isEnabled());

    OrlintMsgSC(1);
    EXPECT_FALSE(ui().set->isEnabled());
    OrlintMsgSC(0);
    OrlintMsgCM(1);
    EXPECT_EQ(window->blockReason(), QStringLiteral("P.C.T. on"));
    OrlintMsgCM(0);
    OrlintMsgTC(0);
    EXPECT_EQ(window->blockReason(), QStringLiteral("Terminal mode"));
    OrlintMsgTC(1);
    EXPECT_TRUE(window->blockReason().isEmpty());

    // A ";" would end the command early: refused before the link.
    sim().radio.clearReceived();
    ui().value->setText(QStringLiteral("0;PS0"));
    QTest::mouseClick(ui().set, Qt::LeftButton);
    PumpFor(100);
    EXPECT_EQ(sim().radio.countOf("EX"), 0u);
    EXPECT_EQ(sim().radio.countOf("PS"), 0u);
    EXPECT_EQ(ui().status->text(), QStringLiteral("\";\" cannot be sent"));
}

TEST_F(MenuWindowTest, AnotherMenuBankIsReadAgain) {
    OrlintMsgMF(0);
    open();
    ASSERT_TRUE(readAllDone());
    EXPECT_EQ(shownValue({5, 0, 0, 0}), QStringLiteral("1"));
    sim().radio.modify([](qxsim::State& s) { s.menu["0050000"] = "0"; });
    sim().radio.clearReceived();
    // As the console does: the bank, then its own reading of the menu. The
    // window's reads wait for it, so the EX reply it starts from stays.
    OrlintMsgMF(1);
    EXPECT_TRUE(ui().state->text().contains(QStringLiteral("Bank B")));
    EXPECT_EQ(shownValue({5, 0, 0, 0}), QString());
    OrlintSetScrollLock(1);
    PumpFor(150);
    EXPECT_TRUE(menuReads().empty());
    OrlintSetScrollLock(0);
    ASSERT_TRUE(readAllDone());
    // The last read may still be on its way down the line.
    PumpUntil([&] { return menuReads().size() >= Catalogue().size() + 1; }, 2000);
    EXPECT_EQ(menuReads().size(), Catalogue().size() + 1);
    EXPECT_EQ(shownValue({5, 0, 0, 0}), QStringLiteral("0"));
}

} // namespace

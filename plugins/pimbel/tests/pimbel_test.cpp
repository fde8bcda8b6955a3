// SPDX-License-Identifier: GPL-3.0-or-later
// The keyer window: which texts may go out, the queue behind the radio's
// busy buffer, power-off, the stored messages, all through the exports, the
// window's keys and the virtual radio.
#include <pimbel.h>

#include "keyer_text.h"
#include "pimbel_internal.h"

#include <corvan.h>
#include <platform.h>
#include <plugin_test_harness.h>
#include <qxsim.h>

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using pimbel::CheckKeyerText;
using pimbel::KeyerText;
using pimbel::TextCheck;

namespace {

// ------------------------------------------------------------ text rules

struct TextRow {
    const char* typed;
    const char* sent;
    TextCheck check;
};

TEST(KeyerTextTest, WhatMayBeKeyed) {
    const std::string full(24, 'E');
    const std::string over(25, 'E');
    const TextRow rows[] = {
        {"cq test", "CQ TEST", TextCheck::Ok},
        {"5nn tu 73 <ar>", "5NN TU 73 <AR>", TextCheck::Ok},
        {full.c_str(), full.c_str(), TextCheck::Ok},
        {over.c_str(), over.c_str(), TextCheck::TooLong},
        {"", "", TextCheck::Empty},
        {"a;b", "A;B", TextCheck::Semicolon},
        {";", ";", TextCheck::Semicolon},
        {"tab\there", "TAB\tHERE", TextCheck::NotPrintable},
        {"r\xc3\xa9", "R\xc3\xa9", TextCheck::NotPrintable},
    };
    for (const TextRow& row : rows) {
        SCOPED_TRACE(row.typed);
        EXPECT_EQ(KeyerText(row.typed), row.sent);
        EXPECT_EQ(CheckKeyerText(KeyerText(row.typed)), row.check);
    }
}

// ------------------------------------------------------------ the radio

using plugin_tests::PumpUntil;

// The virtual radio, and the console's part in the tests: forwards the
// radio's KY and PS reports to the keyer window, as the console's reply
// handlers do.
class Sim : public plugin_tests::SimRadio {
public:
    static Sim& instance() {
        static Sim sim;
        return sim;
    }

    std::vector<std::string> keyerTexts() const {
        std::vector<std::string> out;
        for (const auto& r : radio.received()) {
            if (r.text.rfind("KY ", 0) == 0) {
                out.push_back(r.text);
            }
        }
        return out;
    }
    std::vector<qxsim::Received> keyerWrites() const {
        std::vector<qxsim::Received> out;
        for (const auto& r : radio.received()) {
            if (r.text.rfind("KY ", 0) == 0) {
                out.push_back(r);
            }
        }
        return out;
    }
    // A round trip: once the PS answer is in, the radio has taken everything
    // sent before it.
    bool sync() {
        link.ConnPS("R", 0);
        std::uint32_t v = 0;
        const auto deadline = std::chrono::steady_clock::now() + 2s;
        while (link.RcvDataPS(&v) == 0) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::sleep_for(2ms);
        }
        return true;
    }

private:
    Sim() {
        console().On("KY", [this] {
            std::uint32_t v = 0;
            if (link.RcvDataKY(&v) == 1) {
                PimbelMsgKY(v);
            }
        });
        console().On("PS", [this] {
            std::uint32_t v = 0;
            if (link.RcvDataPS(&v) == 1) {
                PimbelMsgPS(v);
            }
        });
    }
};

std::string Padded(const std::string& text) { return "KY " + text + std::string(24 - text.size(), ' '); }

class KeyerWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim().connected);
        // 100 words a minute: 120 ms a character in the virtual radio.
        sim().radio.modify([](qxsim::State& s) {
            s.power = 1;
            s.ai = 2;
            s.values["KS"] = {100};
        });
        ASSERT_TRUE(sim().sync());
        sim().radio.clearReceived();
        for (int i = 1; i <= pimbel::kMessageCount; ++i) {
            platform::WriteProfileString(QStringLiteral("KeyMem"), QStringLiteral("Mem%1").arg(i), QString());
        }
        PimbelMsgPS(1);
        PimbelMsgKY(0);
        PimbelView(nullptr);
        ASSERT_NE(window(), nullptr);
    }
    void TearDown() override {
        PimbelDestroy();
        // Let a text still being keyed finish, so the next test starts idle.
        PumpUntil([] {
            std::uint32_t v = 1;
            CCorvan link;
            link.ConnKY("R", "");
            return PumpUntil([&] { return link.RcvDataKY(&v) == 1; }, 500ms) && v == 0;
        }, 4s);
    }
    static Sim& sim() { return Sim::instance(); }
    static pimbel::CKeyerWindow* window() { return pimbel::TheWindow().data(); }

    // Types into the text line and presses Enter, as the operator does.
    static void TypeAndEnter(const QString& text) {
        QLineEdit* line = window()->textLine();
        line->setFocus();
        QTest::keyClicks(line, text);
        QTest::keyClick(line, Qt::Key_Return);
    }
};

TEST_F(KeyerWindowTest, TypedTextGoesOutAsOneKeyCommand) {
    TypeAndEnter(QStringLiteral("cq test"));
    ASSERT_TRUE(sim().radio.waitFor("KY ", 2s));
    EXPECT_EQ(sim().keyerTexts(), std::vector<std::string>{Padded("CQ TEST")});
    EXPECT_TRUE(window()->textLine()->text().isEmpty());
    EXPECT_TRUE(window()->status().contains(QStringLiteral("CQ TEST")));
}

TEST_F(KeyerWindowTest, TextsWaitWhileTheBufferIsBusyAndGoOutInOrder) {
    TypeAndEnter(QStringLiteral("cq test"));
    TypeAndEnter(QStringLiteral("de qx9"));
    QTest::mouseClick(window()->messageButton(0), Qt::LeftButton); // empty message: refused
    TypeAndEnter(QStringLiteral("k"));
    // The first one went out; the radio keys it for most of a second.
    EXPECT_EQ(window()->queued(), (QStringList{QStringLiteral("DE QX9"), QStringLiteral("K")}));
    EXPECT_EQ(window()->queueList()->count(), 2);

    ASSERT_TRUE(PumpUntil([] { return sim().keyerWrites().size() == 3; }, 5s));
    const auto writes = sim().keyerWrites();
    EXPECT_EQ(sim().keyerTexts(),
              (std::vector<std::string>{Padded("CQ TEST"), Padded("DE QX9"), Padded("K")}));
    // Each text only once the radio had keyed the one before: 7 and then 6
    // characters at 120 ms.
    EXPECT_GE(writes[1].at - writes[0].at, 7 * 120ms - 50ms);
    EXPECT_GE(writes[2].at - writes[1].at, 6 * 120ms - 50ms);
    EXPECT_TRUE(window()->queued().isEmpty());
}

TEST_F(KeyerWindowTest, BadTextsAreRefusedBeforeTheLink) {
    const QString refused[] = {QStringLiteral("abcdefghijklmnopqrstuvwxy"), // 25
                               QStringLiteral("5nn;tu"), QStringLiteral("KY;FA00000000001")};
    for (const QString& text : refused) {
        SCOPED_TRACE(text.toStdString());
        TypeAndEnter(text);
        // The line keeps the text so the operator can mend it.
        EXPECT_EQ(window()->textLine()->text(), text);
        EXPECT_FALSE(window()->status().isEmpty());
        window()->textLine()->clear();
    }
    EXPECT_TRUE(window()->status().contains(QStringLiteral("\";\"")));
    ASSERT_TRUE(sim().sync());
    EXPECT_EQ(sim().radio.countOf("KY "), 0u);
    EXPECT_EQ(sim().radio.countOf("FA"), 0u);
    EXPECT_TRUE(window()->queued().isEmpty());

    // A stored message is held to the same rules.
    window()->messageLine(2)->setText(QStringLiteral("TU;"));
    QTest::keyClick(window(), Qt::Key_F3);
    ASSERT_TRUE(sim().sync());
    EXPECT_EQ(sim().radio.countOf("KY "), 0u);
}

TEST_F(KeyerWindowTest, PowerOffDisablesSendingAndDropsTheQueue) {
    TypeAndEnter(QStringLiteral("cq cq cq"));
    TypeAndEnter(QStringLiteral("de qx9"));
    ASSERT_EQ(window()->queued().size(), 1);
    ASSERT_TRUE(sim().radio.waitFor("KY ", 2s));

    sim().radio.setPower(false); // reported as PS 0 through the console
    ASSERT_TRUE(PumpUntil([] { return !window()->sendingEnabled(); }, 2s));
    EXPECT_TRUE(window()->queued().isEmpty());
    EXPECT_FALSE(window()->textLine()->isEnabled());
    QTest::keyClick(window(), Qt::Key_F1);
    EXPECT_FALSE(window()->Submit(QStringLiteral("test")));

    sim().radio.setPower(true);
    sim().radio.modify([](qxsim::State& s) { s.ai = 2; });
    ASSERT_TRUE(PumpUntil([] { return window()->sendingEnabled(); }, 2s));
    ASSERT_TRUE(sim().sync());
    EXPECT_EQ(sim().keyerTexts(), std::vector<std::string>{Padded("CQ CQ CQ")});
}

TEST_F(KeyerWindowTest, StoredMessagesAreKeptAndSentWithTheirKeys) {
    QLineEdit* line = window()->messageLine(1);
    line->setFocus();
    QTest::keyClicks(line, QStringLiteral("tnx fer qso 73"));
    window()->setFocus();
    EXPECT_EQ(platform::GetProfileString(QStringLiteral("KeyMem"), QStringLiteral("Mem2"), QString()),
              QStringLiteral("tnx fer qso 73"));
    QTest::keyClick(window(), Qt::Key_F2);
    ASSERT_TRUE(sim().radio.waitFor("KY ", 2s));
    EXPECT_EQ(sim().keyerTexts(), std::vector<std::string>{Padded("TNX FER QSO 73")});

    // A new window shows what was stored.
    PimbelDestroy();
    PimbelView(nullptr);
    ASSERT_NE(window(), nullptr);
    EXPECT_EQ(window()->messageLine(1)->text(), QStringLiteral("tnx fer qso 73"));
}

TEST(KeyerExportsTest, EveryCallIsSafeWithoutAWindowAndTheStateCarriesOver) {
    PimbelDestroy();
    PimbelDestroy();
    PimbelMsgKY(1);
    PimbelMsgPS(0);
    PimbelView(nullptr);
    ASSERT_NE(pimbel::TheWindow().data(), nullptr);
    EXPECT_FALSE(pimbel::TheWindow()->sendingEnabled());
    PimbelView(nullptr); // the same window again
    PimbelDestroy();
    EXPECT_EQ(pimbel::TheWindow().data(), nullptr);
    PimbelMsgPS(2); // ZUL command state: on
    PimbelView(nullptr);
    EXPECT_TRUE(pimbel::TheWindow()->sendingEnabled());
    PimbelDestroy();
}

} // namespace

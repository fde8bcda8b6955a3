// SPDX-License-Identifier: GPL-3.0-or-later
// The terminal window through its exports and real keys, on the virtual
// radio's packet terminal (which echoes what it is sent). A stand-in for the
// console forwards the direct text and the TC value as the console does.
#include <solvik.h>

#include "solvik_internal.h"
#include "terminal_text.h"

#include <corvan.h>
#include <kestrin.h>
#include <main_window_recorder.h>
#include <platform.h>
#include <plugin_test_harness.h>
#include <qxsim.h>

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace solvik;
using namespace std::chrono_literals;

// ------------------------------------------------------------------ text

struct CleanCase {
    std::vector<std::string> arrivals;
    std::string shown;
};

void PrintTo(const CleanCase& c, std::ostream* os) {
    *os << c.arrivals.size() << " arrival(s) of " << c.arrivals.front().size() << " bytes, " << c.shown.size()
        << " shown";
}

class CleanTest : public ::testing::TestWithParam<CleanCase> {};

TEST_P(CleanTest, LineEndsAndControlBytes) {
    bool pendingCr = false;
    std::string shown;
    for (const std::string& part : GetParam().arrivals)
        shown += CleanReceived(part, pendingCr);
    EXPECT_EQ(shown, GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Received, CleanTest,
                         ::testing::Values(CleanCase{{"cmd:\r\n"}, "cmd:\n"},
                                           CleanCase{{"a\rb\nc\r\n\r\nd"}, "a\nb\nc\n\nd"},
                                           // A CR LF pair split across two arrivals is one line end.
                                           CleanCase{{"one\r", "\ntwo\r", "\r\n"}, "one\ntwo\n\n"},
                                           CleanCase{{"ab\bc\t1"}, "ac\t1"},
                                           CleanCase{{std::string("x\x01\x07\x1b\x7fy")}, "xy"},
                                           CleanCase{{"\xe4\xf6"}, "\xe4\xf6"}));

TEST(TerminalText, LongLinesGoOutInOrderedPiecesThatFitTheLink) {
    EXPECT_EQ(MaxPiece(), corvan::kDirectTextSize - 1);
    std::string line;
    for (int i = 0; i < 2500; ++i)
        line.push_back(static_cast<char>('0' + i % 10));
    const auto pieces = PiecesOf(line, MaxPiece());
    ASSERT_EQ(pieces.size(), 3u);
    std::string joined;
    for (const auto& piece : pieces) {
        EXPECT_LE(piece.size(), MaxPiece());
        EXPECT_FALSE(piece.empty());
        joined += piece;
    }
    EXPECT_EQ(joined, line + "\r");
    // The carriage return counts: 1022 characters fit in one piece, 1023 do not.
    EXPECT_EQ(PiecesOf(std::string(1022, 'a'), MaxPiece()).size(), 1u);
    EXPECT_EQ(PiecesOf(std::string(1023, 'a'), MaxPiece()).size(), 2u);
    EXPECT_EQ(PiecesOf("", MaxPiece()), std::vector<std::string>{"\r"});
}

TEST(TerminalText, KeptTextStaysBoundedAndStartsAtALine) {
    std::string kept;
    AppendBounded(kept, "first line\nsecond line\n", 1000);
    EXPECT_EQ(kept, "first line\nsecond line\n");
    // Over the limit: the oldest text goes, up to the next line end.
    AppendBounded(kept, "third\n", 20);
    EXPECT_EQ(kept, "second line\nthird\n");
    AppendBounded(kept, std::string(50, 'z'), 20);
    EXPECT_EQ(kept, std::string(20, 'z'));
}

// ------------------------------------------------------------------ fixture

using plugin_tests::ConsoleStandIn;
using plugin_tests::PumpUntil;
using Sim = plugin_tests::SimRadio;

// Forwards the direct text and the TC value to the terminal window's exports.
std::unique_ptr<ConsoleStandIn> ForwardToTheTerminalWindow(CCorvan& link) {
    auto standIn = std::make_unique<ConsoleStandIn>(link);
    standIn->On(corvan::kMessageDirect, [&link] {
        char text[corvan::kDirectTextSize] = {};
        if (link.RcvDataDirect(text) == 1)
            SolvikRXData(text);
    });
    standIn->On("TC", [&link] {
        std::uint32_t first = 0, second = 0;
        if (link.RcvDataTC(&first, &second) == 1)
            SolvikMsgTC(second);
    });
    return standIn;
}

using MainWindowStub = testsupport::MainWindowRecorder;

class TerminalWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim().connected);
        ForgetState();
        sim().radio.modify([](qxsim::State& s) { s.ai = 2; });
        standIn = ForwardToTheTerminalWindow(sim().link);
        main = std::make_unique<MainWindowStub>();
        platform::SetMainWindow(main.get());
    }
    void TearDown() override {
        SolvikDestroy();
        leaveTerminal();
        standIn.reset();
        platform::SetMainWindow(nullptr);
        main.reset();
        sim().radio.modify([](qxsim::State& s) { s.ai = 0; });
    }
    static Sim& sim() { return Sim::instance(); }

    // The radio's terminal takes the line; its TC report puts the link into
    // direct mode and reaches the window as the console forwards it.
    void enterTerminal() {
        ASSERT_EQ(sim().link.ConnTC("W", 0, 0), 1);
        ASSERT_TRUE(PumpUntil([] { return CCorvan::IsDirectMode() && TerminalMode() == 0; }));
    }
    void leaveTerminal() {
        if (sim().radio.state().terminal == 0 || CCorvan::IsDirectMode()) {
            sim().link.ConnTC("W", 0, 1);
            ASSERT_TRUE(PumpUntil([] { return Sim::instance().radio.state().terminal == 1; }));
        }
        // A round trip: the radio's TC report is decoded (and forwarded)
        // before the next test starts.
        std::uint32_t power = 0;
        sim().link.ConnPS("R", 0);
        ASSERT_TRUE(PumpUntil([&] { return sim().link.RcvDataPS(&power) == 1; }));
        PumpUntil([] { return false; }, 20);
    }
    CTerminalWindow* open() {
        SolvikView(nullptr, 1);
        window = TheWindow();
        return window;
    }
    const CTerminalWindow::Controls& ui() const { return window->controls(); }
    bool screenHas(const QString& text, int limitMs = 5000) {
        return PumpUntil([&] { return window->screenText().contains(text); }, limitMs);
    }

    std::unique_ptr<ConsoleStandIn> standIn;
    std::unique_ptr<MainWindowStub> main;
    CTerminalWindow* window = nullptr;
};

// ------------------------------------------------------------------ exports

TEST_F(TerminalWindowTest, TextBeforeTheWindowIsKeptAndAFullBufferIsNotOverread) {
    SolvikDestroy();
    SolvikMsgTC(0);
    SolvikRXData("cmd:\r");
    // A full 1024-byte text without its terminator: only the 1024 bytes count.
    std::vector<char> full(corvan::kDirectTextSize + 8, 'q');
    full[corvan::kDirectTextSize] = 'X';
    SolvikRXData(full.data());
    SolvikRXData(nullptr);
    EXPECT_EQ(KeptText(), "cmd:\n" + std::string(corvan::kDirectTextSize, 'q'));

    open();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->screenText().startsWith(QStringLiteral("cmd:\nqqq")));
    EXPECT_FALSE(window->screenText().contains(QLatin1Char('X')));
    EXPECT_TRUE(KeptText().empty());
    // The mode told before the window existed is the one it shows.
    EXPECT_TRUE(ui().lamp->isOn());
    SolvikMsgTC(1);
    EXPECT_FALSE(ui().lamp->isOn());
    EXPECT_FALSE(ui().leave->isEnabled());
}

// ------------------------------------------------------------------ terminal

TEST_F(TerminalWindowTest, ATypedLineGoesToTheTerminalAndItsEchoShows) {
    enterTerminal();
    open();
    EXPECT_TRUE(window->canSend());
    EXPECT_TRUE(ui().send->isEnabled());
    const std::uint64_t before = sim().radio.bytesIn();
    QTest::keyClicks(ui().input, "CONNECT DB0XYZ");
    QTest::keyClick(ui().input, Qt::Key_Return);
    ASSERT_TRUE(screenHas(QStringLiteral("CONNECT DB0XYZ\n")));
    EXPECT_EQ(sim().radio.bytesIn() - before, std::string("CONNECT DB0XYZ\r").size());
    EXPECT_TRUE(ui().input->text().isEmpty());

    // Up brings the line back; Down past the newest empties the input.
    QTest::keyClick(ui().input, Qt::Key_Up);
    EXPECT_EQ(ui().input->text(), QStringLiteral("CONNECT DB0XYZ"));
    QTest::keyClick(ui().input, Qt::Key_Down);
    EXPECT_TRUE(ui().input->text().isEmpty());
}

TEST_F(TerminalWindowTest, ALineLongerThanTheDirectTextArrivesWhole) {
    enterTerminal();
    open();
    QString line;
    for (int i = 0; i < 2500; ++i)
        line.append(QChar(static_cast<char16_t>(u'A' + i % 26)));
    ui().input->setText(line);
    const std::uint64_t before = sim().radio.bytesIn();
    QTest::mouseClick(ui().send, Qt::LeftButton);
    ASSERT_TRUE(PumpUntil([&] { return sim().radio.bytesIn() - before == 2501; }));
    ASSERT_TRUE(screenHas(line + QLatin1Char('\n')));
    EXPECT_EQ(ui().status->text(), QStringLiteral("Sent in 3 pieces"));
}

TEST_F(TerminalWindowTest, OutsideTerminalModeNothingGoesOnTheLine) {
    open();
    SolvikMsgTC(0); // the console says so, but the link is not in direct mode
    EXPECT_FALSE(window->canSend());
    const std::uint64_t before = sim().radio.bytesIn();
    QTest::keyClicks(ui().input, "FA00007000000");
    QTest::keyClick(ui().input, Qt::Key_Return);
    QTest::mouseClick(ui().interrupt, Qt::LeftButton);
    PumpUntil([] { return false; }, 100);
    EXPECT_EQ(sim().radio.bytesIn(), before);
    EXPECT_EQ(ui().input->text(), QStringLiteral("FA00007000000"));
    EXPECT_EQ(ui().status->text(), QStringLiteral("The link is not in terminal mode"));
}

TEST_F(TerminalWindowTest, LeaveTncAsksTheConsoleForALinkRestart) {
    enterTerminal();
    open();
    QTest::mouseClick(ui().leave, Qt::LeftButton);
    ASSERT_TRUE(PumpUntil([&] { return !main->received.empty(); }));
    EXPECT_EQ(main->messages(), std::vector<unsigned>{platform::kUmLinkRestart});

    // The interrupt goes out raw as one Ctrl-C.
    const std::uint64_t before = sim().radio.bytesIn();
    QTest::mouseClick(ui().interrupt, Qt::LeftButton);
    ASSERT_TRUE(PumpUntil([&] { return sim().radio.bytesIn() - before == 1; }));
}

TEST_F(TerminalWindowTest, CloseHidesClearEmptiesTheScreen) {
    SolvikRXData("hello\r\n");
    open();
    EXPECT_TRUE(window->screenText().contains(QStringLiteral("hello")));
    QTest::mouseClick(ui().clear, Qt::LeftButton);
    EXPECT_TRUE(window->screenText().isEmpty());
    QTest::mouseClick(ui().close, Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    SolvikRXData("later\r\n");
    SolvikView(nullptr, 1);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(TheWindow(), window);
    EXPECT_TRUE(window->screenText().contains(QStringLiteral("later")));
}

} // namespace

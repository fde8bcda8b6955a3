// SPDX-License-Identifier: GPL-3.0-or-later
// reader_truth_test.cpp - what a screen reader is told is current, not stale,
// and reached from the keyboard: on the real console and the built-in
// simulator, through the toolkit's accessibility interface in this process.
// The speak key's summary says nothing once left; a guarded operation keeps
// the focus and raises few events; display words tell when they light or go
// dark; the display's background list covers no reading; Enter presses the
// Memory Channels buttons; Setup's drop-downs are captioned by a label that
// shows; memory work says the channel; an entry says no dashes and only the
// new frequency after it; the Mode menu marks the mode; empty cells say so.
#include "console_menu.h"
#include "reader_fixture.h"

#include <pandor.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using display_test::PumpFor;
using display_test::PumpUntil;
using namespace std::chrono_literals;

using reader_test::Contains;
using reader_test::Joined;

class ReaderTruthTest : public reader_test::ReaderTest {
protected:
    void SetUp() override {
        display_test::DisplayTest::SetUp();
        console->show();
        Connect();
        StartListening();
        // Events go out only while a bridge listens (see with_atspi.sh).
        ASSERT_TRUE(QAccessible::isActive()) << "no accessibility bridge: run under with_atspi.sh";
        QApplication::setActiveWindow(console.get());
    }
    void Key(QWidget* to, Qt::Key key) { QTest::keyClick(to, key); }
    void Digits(const char* digits) {
        for (const char* d = digits; *d; ++d)
            Key(QApplication::focusWidget() ? QApplication::focusWidget() : console.get(),
                static_cast<Qt::Key>(Qt::Key_0 + (*d - '0')));
    }
    // The summary the speak key gives, then Esc.
    std::string SpeakAndLeave() {
        Key(QApplication::focusWidget() ? QApplication::focusWidget() : console.get(), Qt::Key_F2);
        QWidget* summary = accessibility().SummaryObject();
        EXPECT_EQ(QApplication::focusWidget(), summary);
        const std::string said = Of(summary)->text(QAccessible::Name).toStdString();
        Key(summary, Qt::Key_Escape);
        return said;
    }
    // Commands other than the watchdog's and the meter's reads.
    std::vector<std::string> SetCommands() {
        std::vector<std::string> out;
        for (const auto& r : radio().received()) {
            const std::string& t = r.text;
            // A read is the command alone or with its selector; a set carries a value.
            if (t.size() > 4 && t.rfind("SM", 0) != 0 && t.rfind("RM", 0) != 0)
                out.push_back(t);
        }
        return out;
    }
};

// ------------------------------------------------------------- speak key

TEST_F(ReaderTruthTest, TheSummarySaysNothingOnceLeftAndIsMadeAfreshEachTime) {
    radio().setFrequency(qxsim::Vfo::A, 14'195'000);
    radio().setMode(2);
    ASSERT_TRUE(PumpUntil([&] {
        return Value(idc::MainDigit0) == "14.195.000 MHz" && Value(idc::MainMode) == "USB";
    }));
    QWidget* tune = controls().widget(idc::TuneUp);
    tune->setFocus(Qt::TabFocusReason);
    radio().clearReceived();
    const std::string first = SpeakAndLeave();
    EXPECT_EQ(first.rfind("Main 14.195.000 MHz, USB", 0), 0u) << first;
    EXPECT_EQ(QApplication::focusWidget(), tune);

    // Left, it neither shows nor says anything, and nothing in the window
    // reads the old summary.
    QAccessibleInterface* summary = Of(accessibility().SummaryObject());
    EXPECT_TRUE(summary->state().invisible);
    EXPECT_TRUE(summary->text(QAccessible::Name).isEmpty())
        << summary->text(QAccessible::Name).toStdString();
    EXPECT_TRUE(summary->text(QAccessible::Description).isEmpty());
    std::vector<QAccessibleInterface*> pending{Of(console.get())};
    int objects = 0;
    while (!pending.empty() && objects < 5000) {
        QAccessibleInterface* iface = pending.back();
        pending.pop_back();
        ++objects;
        if (!iface || !iface->isValid())
            continue;
        if (!iface->state().invisible) {
            for (const auto t : {QAccessible::Name, QAccessible::Value, QAccessible::Description}) {
                EXPECT_EQ(iface->text(t).indexOf(QStringLiteral("USB, S meter")), -1)
                    << "a showing object reads the summary: " << iface->text(t).toStdString();
            }
        }
        for (int i = 0; i < iface->childCount(); ++i)
            pending.push_back(iface->child(i));
    }

    // The next time it says the radio as it is then.
    radio().setFrequency(qxsim::Vfo::A, 7'074'000);
    ASSERT_TRUE(PumpUntil([&] { return Value(idc::MainDigit0) == "7.074.000 MHz"; }));
    const std::string second = SpeakAndLeave();
    EXPECT_EQ(second.rfind("Main 7.074.000 MHz, USB", 0), 0u) << second;

    // Walking the panel with Tab and the speak key sends no setting.
    for (int i = 0; i < 30; ++i)
        Key(QApplication::focusWidget(), Qt::Key_Tab);
    SpeakAndLeave();
    PumpFor(200ms);
    EXPECT_TRUE(SetCommands().empty()) << SetCommands().front();
}

// ------------------------------------------------------- operation guard

TEST_F(ReaderTruthTest, AGuardedOperationKeepsTheFocusAndRaisesFewEvents) {
    QWidget* button = controls().widget(idc::AEqualsB);
    button->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), button);
    PumpFor(200ms);
    radio().clearReceived();
    bool guarded = false;
    const std::size_t from = heard.size();
    Key(button, Qt::Key_Return);
    ASSERT_TRUE(PumpUntil(
        [&] {
            guarded = guarded || state().busy != 0;
            return !radio().received().empty() && state().busy == 0;
        },
        5s));
    PumpFor(300ms);
    // The operation ran under the guard (its lock read went out).
    bool lockRead = false;
    for (const auto& r : radio().received())
        lockRead |= r.text.rfind("LK", 0) == 0;
    EXPECT_TRUE(lockRead);
    EXPECT_EQ(QApplication::focusWidget(), button);
    std::size_t stateChanges = 0;
    for (std::size_t i = from; i < heard.size(); ++i)
        stateChanges += heard[i].type == QAccessible::StateChanged;
    std::printf("accessibility events of A = B: %zu, state changes %zu\n", heard.size() - from,
                stateChanges);
    // Every control of the panel and every menu going grey and back would
    // be hundreds.
    EXPECT_LE(stateChanges, 10u);

    // While the operation runs the panel takes no press.
    radio().clearReceived();
    QWidget* other = controls().widget(idc::TuneUp);
    console->SetOperationBusy(true);
    QTest::mouseClick(other, Qt::LeftButton);
    Key(button, Qt::Key_Space);
    console->SetOperationBusy(false);
    PumpFor(300ms);
    EXPECT_TRUE(SetCommands().empty()) << SetCommands().front();
    EXPECT_EQ(QApplication::focusWidget(), button);
}

// ---------------------------------------------------------- display words

TEST_F(ReaderTruthTest, ADisplayWordTellsWhenItLightsAndGoesDark) {
    QWidget* split = controls().widget(idc::Split);
    auto told = [&](QAccessible::Event type, std::size_t from) {
        for (std::size_t i = from; i < heard.size(); ++i)
            if (heard[i].type == type && heard[i].object == split)
                return true;
        return false;
    };
    const std::size_t before = heard.size();
    radio().pressKey(qxsim::Key::Split);
    ASSERT_TRUE(PumpUntil([&] { return Value(idc::Split) == "on"; }));
    EXPECT_TRUE(told(QAccessible::ObjectShow, before));
    EXPECT_FALSE(told(QAccessible::ObjectHide, before));
    const std::size_t lit = heard.size();
    radio().pressKey(qxsim::Key::Split);
    ASSERT_TRUE(PumpUntil([&] { return Value(idc::Split) == "off"; }));
    EXPECT_TRUE(told(QAccessible::ObjectHide, lit));
    EXPECT_FALSE(told(QAccessible::ObjectShow, lit));
    EXPECT_TRUE(Of(split)->state().invisible);
}

TEST_F(ReaderTruthTest, WordsDarkWhenTheWindowShowsSayTheyAreNotShowing) {
    // The toolkit tells a reader each widget of a window that shows is
    // showing, lit or dark; the reader keeps that until told otherwise.
    console->hide();
    PumpFor(100ms);
    const std::size_t from = heard.size();
    console->show();
    QApplication::setActiveWindow(console.get());
    PumpFor(300ms);
    int dark = 0;
    int lit = 0;
    for (QWidget* word : console->findChildren<QWidget*>()) {
        if ((!word->property("accessibleLit").isValid() && !word->property("accessibleDarkWhenOff").toBool()) ||
            !word->isVisible())
            continue;
        QAccessible::Event last = QAccessible::ObjectCreated;
        for (std::size_t i = from; i < heard.size(); ++i)
            if (heard[i].object == word &&
                (heard[i].type == QAccessible::ObjectShow || heard[i].type == QAccessible::ObjectHide))
                last = heard[i].type;
        const bool showing = last == QAccessible::ObjectShow;
        if (Of(word)->state().invisible) {
            ++dark;
            EXPECT_FALSE(showing) << word->accessibleName().toStdString() << " dark, last told showing";
        } else {
            ++lit;
            EXPECT_TRUE(showing) << word->accessibleName().toStdString() << " lit, not told showing";
        }
    }
    EXPECT_GE(dark, 5);
    EXPECT_GE(lit, 1);

    // The channel display lights with a channel and goes dark without.
    QWidget* channel = controls().widget(idc::MainChDigit0);
    auto lastTold = [&](std::size_t since) {
        QAccessible::Event last = QAccessible::ObjectCreated;
        for (std::size_t i = since; i < heard.size(); ++i)
            if (heard[i].object == channel &&
                (heard[i].type == QAccessible::ObjectShow || heard[i].type == QAccessible::ObjectHide))
                last = heard[i].type;
        return last;
    };
    ASSERT_TRUE(Of(channel)->state().invisible);
    const std::size_t recall = heard.size();
    radio().pressKey(qxsim::Key::MemoryVfo);
    ASSERT_TRUE(PumpUntil([&] { return state().mainVfo == 2 && !accessibility().Channel(0).isEmpty(); }, 3s));
    EXPECT_FALSE(Of(channel)->state().invisible);
    EXPECT_EQ(lastTold(recall), QAccessible::ObjectShow);
    const std::size_t back = heard.size();
    radio().pressKey(qxsim::Key::MemoryVfo);
    ASSERT_TRUE(PumpUntil([&] { return state().mainVfo != 2 && accessibility().Channel(0).isEmpty(); }, 3s));
    EXPECT_TRUE(Of(channel)->state().invisible);
    EXPECT_EQ(lastTold(back), QAccessible::ObjectHide);
}

// ------------------------------------------------------------ flat review

TEST_F(ReaderTruthTest, NoObjectOfThePanelCoversTheFrequencyModeOrMeters) {
    radio().inject("SM00009;");
    ASSERT_TRUE(PumpUntil([&] { return Value(idc::MainMeter) == "S5"; }));
    QAccessibleInterface* panel = Of(console->client());
    for (const int reading :
         {idc::MainDigit0, idc::MainMode, idc::MainMeter, idc::SubDigit0, idc::SubMode}) {
        QAccessibleInterface* iface = Of(reading);
        // The sub band's readings while its receiver is off are dark.
        if (reading == idc::SubDigit0 || reading == idc::SubMode) {
            if (iface->state().invisible)
                continue;
        } else {
            ASSERT_FALSE(iface->state().invisible) << reading;
        }
        ASSERT_NE(iface->textInterface(), nullptr);
        EXPECT_FALSE(
            iface->textInterface()->text(0, iface->textInterface()->characterCount()).isEmpty())
            << reading;
        const QRect rect = iface->rect();
        for (int i = 0; i < panel->childCount(); ++i) {
            QAccessibleInterface* other = panel->child(i);
            if (other == iface || other->state().invisible ||
                other->role() == QAccessible::Grouping)
                continue;
            EXPECT_FALSE(other->rect().intersects(rect))
                << other->text(QAccessible::Name).toStdString() << " covers "
                << iface->text(QAccessible::Name).toStdString();
        }
    }
    // The list of lit words still reads, on a line of its own.
    EXPECT_FALSE(Of(idc::DisplayBack)->state().invisible);
    EXPECT_GT(Of(idc::DisplayBack)->rect().height(), 0);
}

// ------------------------------------------------------- Memory Channels

TEST_F(ReaderTruthTest, EnterPressesTheMemoryChannelsButtonsAndEmptyCellsSayEmpty) {
    console->OnCommand(cmd::MemoryChannels);
    QWidget* window = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == QLatin1String("MemoryChannels") && w->isVisible())
                window = w;
        return window != nullptr;
    }));
    // Before any read every cell but the channel's number is empty.
    QAccessibleInterface* table = nullptr;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (Of(w)->role() == QAccessible::Table)
            table = Of(w);
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    QAccessibleInterface* cell = table->tableInterface()->cellAt(0, 1);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->text(QAccessible::Name).toStdString(), "empty");
    EXPECT_NE(table->tableInterface()->cellAt(0, 0)->text(QAccessible::Name).toStdString(),
              "empty");

    QPushButton* read = nullptr;
    for (QPushButton* b : window->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("&Read from radio"))
            read = b;
    ASSERT_NE(read, nullptr);
    window->activateWindow();
    QApplication::setActiveWindow(window);
    read->setFocus(Qt::TabFocusReason);
    radio().clearReceived();
    Key(read, Qt::Key_Return);
    EXPECT_TRUE(PumpUntil(
        [&] {
            const auto got = radio().received();
            return std::any_of(got.begin(), got.end(),
                               [](const qxsim::Received& r) { return r.text.rfind("MR", 0) == 0; });
        },
        3s))
        << "Enter on Read from radio sent no MR";
    window->close();
    PumpFor(200ms);
}

// ----------------------------------------------------------------- Setup

TEST_F(ReaderTruthTest, SetupsDropDownsReadTheirChoiceUnderACaptionThatShows) {
    console->OnCommand(cmd::Setup);
    QWidget* setup = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->windowTitle() == QStringLiteral("Setup"))
                setup = w;
        return setup != nullptr;
    }));
    for (const char* id : {"24047", "24053"}) {
        auto* list = setup->findChild<QComboBox*>(QString::fromLatin1(id));
        ASSERT_NE(list, nullptr) << id;
        QAccessibleInterface* iface = Of(list);
        std::printf("%s: name \"%s\" value \"%s\" description \"%s\"\n", id,
                    iface->text(QAccessible::Name).toStdString().c_str(),
                    iface->text(QAccessible::Value).toStdString().c_str(),
                    iface->text(QAccessible::Description).toStdString().c_str());
        // The value is the choice.
        EXPECT_EQ(iface->text(QAccessible::Value), list->currentText()) << id;
        // The caption is a label that shows, where the caption is drawn.
        const auto labels = iface->relations(QAccessible::Label);
        ASSERT_FALSE(labels.isEmpty()) << id;
        QAccessibleInterface* label = labels.front().first;
        EXPECT_FALSE(label->state().invisible) << id;
        EXPECT_EQ(label->text(QAccessible::Name).toStdString(),
                  std::string(id) == "24047" ? "Port" : "Baud");
        EXPECT_TRUE(label->rect().isValid());
        EXPECT_LT(label->rect().right(), iface->rect().left() + 4)
            << id << ": the caption stands left of the list";
        // The caption is read once: no other showing object of the window
        // says it at the same place.
        int same = 0;
        for (QWidget* w : setup->findChildren<QWidget*>()) {
            QAccessibleInterface* other = Of(w);
            if (other && !other->state().invisible &&
                other->text(QAccessible::Name) == label->text(QAccessible::Name) &&
                other->rect().intersects(label->rect()))
                ++same;
        }
        EXPECT_EQ(same, 1) << id;
    }
}

// ---------------------------------------------------------- memory work

TEST_F(ReaderTruthTest, MemoryWorkSaysTheChannel) {
    QWidget* memoryIn = controls().widget(idc::MemoryIn);
    memoryIn->setFocus(Qt::TabFocusReason);
    Key(memoryIn, Qt::Key_Space);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 1; }, 5s));
    // The channel browsing starts on has come in full before the typing.
    ASSERT_TRUE(PumpUntil(
        [&] { return state().scrollTransmitShown != 0 && !accessibility().Channel(0).isEmpty(); },
        5s));
    PumpFor(ConsoleAccessibility::kAnnounceGap + 100ms);
    const std::size_t from = heard.size();
    // Typed at an operator's pace, each digit is said as it stands.
    for (const char* digit : {"0", "1", "0"}) {
        Digits(digit);
        PumpFor(ConsoleAccessibility::kAnnounceGap + 100ms);
    }
    ASSERT_TRUE(PumpUntil([&] { return Contains(Notified(from), "memory channel 010"); }, 3s))
        << Joined(Notified(from));
    EXPECT_TRUE(Contains(Notified(from), "channel entry 0 1")) << Joined(Notified(from));
    EXPECT_FALSE(Contains(Notified(from), "-")) << Joined(Notified(from));
    ASSERT_TRUE(PumpUntil(
        [&] { return state().scrollShown.channel == 10 && state().scrollTransmitShown; }, 3s));
    const std::string browsing = SpeakAndLeave();
    EXPECT_NE(browsing.find("memory channel 010"), std::string::npos) << browsing;
    EXPECT_EQ(browsing.find("no frequency"), std::string::npos) << browsing;

    // The second press stores, and says so.
    const std::size_t stored = heard.size();
    memoryIn->setFocus(Qt::TabFocusReason);
    Key(memoryIn, Qt::Key_Space);
    ASSERT_TRUE(PumpUntil([&] { return state().memoryScroll == 0; }, 5s));
    EXPECT_TRUE(PumpUntil([&] { return Contains(Notified(stored), "Stored in channel 010"); }, 2s))
        << Joined(Notified(stored));
    QObject* confirmation = nullptr;
    for (std::size_t i = stored; i < heard.size(); ++i)
        if (heard[i].type == QAccessible::ObjectShow && accessibility().IsAnnouncement(heard[i].object) &&
            heard[i].name.contains(QLatin1String("Stored in channel 010")))
            confirmation = heard[i].object;
    ASSERT_NE(confirmation, nullptr);

    // Recalled from the radio's side, the summary says the channel.
    radio().modify([](qxsim::State& s) {
        s.bank = 0;
        s.channel = 10;
    });
    radio().pressKey(qxsim::Key::MemoryVfo);
    ASSERT_TRUE(PumpUntil(
        [&] { return state().mainVfo == 2 && !accessibility().Channel(0).isEmpty(); }, 3s));
    const std::string recalled = SpeakAndLeave();
    EXPECT_NE(recalled.find("memory channel 010"), std::string::npos) << recalled;
    EXPECT_NE(recalled.find(" MHz"), std::string::npos) << recalled;
    // A reader reads a notification's words when it gets to it, after the
    // ones that followed (the recall's) have gone out: the confirmation's
    // words are still there.
    EXPECT_GT(Notified(stored).size(), 1u) << Joined(Notified(stored));
    EXPECT_EQ(QAccessible::queryAccessibleInterface(confirmation)->text(QAccessible::Name).toStdString(),
              "Stored in channel 010");
    // Nor is the memory group read as part of the mode.
    EXPECT_EQ(recalled.find("Group"), std::string::npos) << recalled;
    EXPECT_FALSE(Contains(Notified(stored), "Group")) << Joined(Notified(stored));
}

// ------------------------------------------------------------------ entry

TEST_F(ReaderTruthTest, AnEntrySaysTheDigitsAndThenOnlyTheNewFrequency) {
    radio().setFrequency(qxsim::Vfo::A, 14'195'000);
    ASSERT_TRUE(PumpUntil([&] { return Value(idc::MainDigit0) == "14.195.000 MHz"; }));
    PumpFor(ConsoleAccessibility::kAnnounceGap + 100ms);
    QWidget* ent = controls().widget(idc::Ent);
    ent->setFocus(Qt::TabFocusReason);
    const std::size_t from = heard.size();
    Key(ent, Qt::Key_Space);
    ASSERT_TRUE(PumpUntil([&] { return state().entryMode == 1; }));
    EXPECT_EQ(Value(idc::MainDigit0), "frequency entry");
    Digits("00007074");
    EXPECT_EQ(Value(idc::MainDigit0), "frequency entry 7 point 0 7 4");
    PumpFor(ConsoleAccessibility::kAnnounceGap + 100ms);
    const std::size_t entered = heard.size();
    ent->setFocus(Qt::TabFocusReason);
    // A radio slow to answer: the display shows the old frequency again for
    // a moment before the new one comes.
    qxsim::Faults slow;
    slow.delay = 250ms;
    radio().setFaults(slow);
    Key(ent, Qt::Key_Space);
    ASSERT_TRUE(PumpUntil([&] { return Value(idc::MainDigit0) == "7.074.000 MHz"; }, 3s));
    radio().setFaults(qxsim::Faults{});
    PumpFor(1500ms);
    const std::vector<std::string> after = Notified(entered);
    EXPECT_TRUE(Contains(after, "7.074.000 MHz")) << Joined(after);
    EXPECT_FALSE(Contains(after, "14.195.000 MHz"))
        << "the old frequency was said: " << Joined(after);
    EXPECT_FALSE(Contains(Notified(from), "-")) << Joined(Notified(from));

    // An entry cleared says the frequency that stays, after all.
    const std::size_t cleared = heard.size();
    Key(ent, Qt::Key_Space);
    ASSERT_TRUE(PumpUntil([&] { return state().entryMode == 1; }));
    Digits("00014");
    PumpFor(ConsoleAccessibility::kAnnounceGap + 100ms);
    QWidget* clear = controls().widget(idc::Clear);
    clear->setFocus(Qt::TabFocusReason);
    Key(clear, Qt::Key_Space);
    EXPECT_TRUE(PumpUntil([&] { return Contains(Notified(cleared), "7.074.000 MHz"); }, 3s))
        << Joined(Notified(cleared));
}

// ------------------------------------------------------------- Mode menu

TEST_F(ReaderTruthTest, TheModeMenuMarksTheModeOfTheControlBand) {
    QAction* usb = console->menuAction(cmd::ModeUsb);
    ASSERT_NE(usb, nullptr);
    QMenu* menu = console->menuHolding(cmd::ModeUsb);
    ASSERT_NE(menu, nullptr);
    auto marked = [&] {
        Q_EMIT menu->aboutToShow();
        std::vector<int> out;
        for (const int command : {cmd::ModeLsb, cmd::ModeUsb, cmd::ModeCw, cmd::ModeFsk,
                                  cmd::ModeReverse, cmd::ModeFm, cmd::ModeAm})
            if (console->menuAction(command)->isCheckable() &&
                console->menuAction(command)->isChecked())
                out.push_back(command);
        return out;
    };
    radio().setMode(2);
    ASSERT_TRUE(PumpUntil([&] { return state().mode[0] == 2; }));
    EXPECT_EQ(marked(), std::vector<int>{cmd::ModeUsb});
    radio().setMode(7);
    ASSERT_TRUE(PumpUntil([&] { return state().mode[0] == 7; }));
    EXPECT_EQ(marked(), (std::vector<int>{cmd::ModeCw, cmd::ModeReverse}));
    radio().setMode(5);
    ASSERT_TRUE(PumpUntil([&] { return state().mode[0] == 5; }));
    EXPECT_EQ(marked(), std::vector<int>{cmd::ModeAm});
    // The menu's own item says it is one to check.
    QAccessibleInterface* menuIface = QAccessible::queryAccessibleInterface(menu);
    ASSERT_NE(menuIface, nullptr);
    bool amChecked = false;
    for (int i = 0; i < menuIface->childCount(); ++i) {
        QAccessibleInterface* item = menuIface->child(i);
        if (item->text(QAccessible::Name).startsWith(QStringLiteral("AM")))
            amChecked = item->state().checkable && item->state().checked;
    }
    EXPECT_TRUE(amChecked);
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// reader_told_test.cpp - what a screen reader keeps of what it was told: a
// reader holds "showing" as last told and reads an announcement's text when
// it comes to the event, so a dark word must be told dark even when the
// window shows it, an announcement must keep its text while later ones go
// out, a closed drop-down must offer its choice as text, and the channel
// table must let Tab out. On the real console and the built-in simulator,
// through the toolkit's accessibility interface in this process.
#include "console_menu.h"
#include "reader_fixture.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <map>
#include <string>
#include <vector>

namespace {

using display_test::PumpFor;
using display_test::PumpUntil;
using namespace std::chrono_literals;

using reader_test::Joined;

class ReaderToldTest : public reader_test::ReaderTest {
protected:
    void SetUp() override {
        display_test::DisplayTest::SetUp();
        StartListening();
        console->show();
        Connect();
        ASSERT_TRUE(QAccessible::isActive()) << "no accessibility bridge: run under with_atspi.sh";
        QApplication::setActiveWindow(console.get());
    }
    // "showing" as a reader was last told it since `from`, per object;
    // objects told nothing are absent.
    std::map<QObject*, bool> LastShowing(std::size_t from = 0) {
        std::map<QObject*, bool> out;
        for (std::size_t i = from; i < told.size(); ++i) {
            if (told[i].type == QAccessible::ObjectShow)
                out[told[i].object] = true;
            else if (told[i].type == QAccessible::ObjectHide)
                out[told[i].object] = false;
        }
        return out;
    }
    // Every widget of `window` a reader was told showing that reads as not
    // showing, by name.
    std::vector<std::string> ToldShowingButHidden(QWidget* window, std::size_t from) {
        std::vector<std::string> out;
        const auto last = LastShowing(from);
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const auto it = last.find(w);
            QAccessibleInterface* iface = Of(w);
            if (it != last.end() && it->second && iface && iface->state().invisible)
                out.push_back(iface->text(QAccessible::Name).toStdString());
        }
        return out;
    }
    QWidget* Window(const char* title) {
        QWidget* found = nullptr;
        PumpUntil([&] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && (w->windowTitle() == QLatin1String(title) ||
                                       w->objectName() == QLatin1String(title)))
                    found = w;
            return found != nullptr;
        });
        return found;
    }
    // What a reader was told, as the tests below say it.
    std::vector<reader_test::Heard>& told = heard;
};

// ------------------------------------------------------------ dark words

TEST_F(ReaderToldTest, DarkWordsAreToldDarkWhenTheWindowShowsAndAsTheyLight) {
    PumpFor(300ms);
    // The window shown again (as at start): the toolkit tells every word
    // showing; those that are dark are then told they are not.
    console->hide();
    PumpFor(100ms);
    const std::size_t shown = told.size();
    console->show();
    ASSERT_TRUE(PumpUntil([&] { return ToldShowingButHidden(console.get(), shown).empty(); }, 2s))
        << "told showing but dark: " << Joined(ToldShowingButHidden(console.get(), shown));
    // A lit word stays told showing (the control band's CTRL).
    QWidget* control = controls().widget(idc::MainCtrl);
    ASSERT_FALSE(Of(control)->state().invisible);
    EXPECT_TRUE(LastShowing(shown).at(control));
    // The channel field is dark on the VFO, and told so.
    QWidget* channel = controls().widget(idc::MainChDigit0);
    ASSERT_TRUE(Of(channel)->state().invisible);
    ASSERT_TRUE(LastShowing(shown).count(channel));
    EXPECT_FALSE(LastShowing(shown).at(channel));

    // The channel lights when memory browsing shows it, and says so.
    const std::size_t browsing = told.size();
    QWidget* memoryIn = controls().widget(idc::MemoryIn);
    memoryIn->setFocus(Qt::TabFocusReason);
    QTest::keyClick(memoryIn, Qt::Key_Space);
    ASSERT_TRUE(PumpUntil([&] { return !Of(channel)->state().invisible; }, 5s));
    ASSERT_TRUE(PumpUntil([&] { return LastShowing(browsing).count(channel) != 0; }, 2s));
    EXPECT_TRUE(LastShowing(browsing).at(channel));
    EXPECT_TRUE(ToldShowingButHidden(console.get(), browsing).empty())
        << Joined(ToldShowingButHidden(console.get(), browsing));
}

TEST_F(ReaderToldTest, CaptionsLeftOutOfASecondaryWindowAreToldSo) {
    const std::size_t from = told.size();
    console->OnCommand(cmd::Setup);
    QWidget* setup = Window("Setup");
    ASSERT_NE(setup, nullptr);
    EXPECT_TRUE(PumpUntil([&] { return ToldShowingButHidden(setup, from).empty(); }, 2s))
        << "told showing but left out: " << Joined(ToldShowingButHidden(setup, from));
    setup->close();
    PumpFor(100ms);
}

// --------------------------------------------------------- announcements

TEST_F(ReaderToldTest, AnAnnouncementKeepsItsTextWhileLaterOnesGoOut) {
    PumpFor(ConsoleAccessibility::kAnnounceGap + 100ms);
    const std::size_t from = told.size();
    // Said in turns of the event loop close together, as an operation and
    // the readings after it are.
    const std::vector<QString> said{QStringLiteral("Stored in channel 010"), QStringLiteral("7.074.000 MHz"),
                                    QStringLiteral("USB"), QStringLiteral("memory channel 010")};
    for (const QString& text : said) {
        ConsoleAccessibility::Tell(console.get(), text);
        PumpFor(20ms);
    }
    PumpFor(50ms);
    // Each was shown on an object that still reads it: a reader coming to
    // the events only now reads each text, not the last one four times.
    std::vector<std::string> readNow;
    for (std::size_t i = from; i < told.size(); ++i)
        if (told[i].type == QAccessible::ObjectShow && accessibility().IsAnnouncement(told[i].object))
            readNow.push_back(Of(static_cast<QWidget*>(told[i].object))->text(QAccessible::Name).toStdString());
    std::vector<std::string> expected;
    for (const QString& text : said)
        expected.push_back(text.toStdString());
    EXPECT_EQ(readNow, expected);
    EXPECT_EQ(Of(accessibility().AnnouncementObject())->text(QAccessible::Name), said.back());
    EXPECT_EQ(Of(accessibility().AnnouncementObject())->role(), QAccessible::Notification);
}

// ------------------------------------------------------------- drop-downs

TEST_F(ReaderToldTest, AClosedDropDownOffersItsChoiceAsText) {
    console->OnCommand(cmd::Setup);
    QWidget* setup = Window("Setup");
    ASSERT_NE(setup, nullptr);
    auto* baud = setup->findChild<QComboBox*>(QStringLiteral("24053"));
    ASSERT_NE(baud, nullptr);
    int checked = 0;
    for (QComboBox* list : setup->findChildren<QComboBox*>()) {
        if (list->isEditable() || list->currentIndex() < 0)
            continue;
        QAccessibleInterface* iface = Of(list);
        ASSERT_EQ(iface->role(), QAccessible::ComboBox);
        QAccessibleTextInterface* text = iface->textInterface();
        ASSERT_NE(text, nullptr) << list->objectName().toStdString();
        EXPECT_EQ(text->text(0, text->characterCount()), list->currentText()) << list->objectName().toStdString();
        EXPECT_EQ(iface->text(QAccessible::Value), list->currentText());
        // The open list is still its child.
        ASSERT_EQ(iface->childCount(), 1);
        EXPECT_EQ(iface->child(0)->object(), list->view());
        ++checked;
    }
    EXPECT_GE(checked, 2);
    // A new choice is the new text.
    baud->setCurrentIndex(baud->currentIndex() == 0 ? 1 : 0);
    QAccessibleTextInterface* text = Of(baud)->textInterface();
    EXPECT_EQ(text->text(0, text->characterCount()), baud->currentText());
    setup->close();
    PumpFor(100ms);
}

// --------------------------------------------------------- channel table

TEST_F(ReaderToldTest, TabLeavesTheChannelTable) {
    console->OnCommand(cmd::MemoryChannels);
    QWidget* window = Window("MemoryChannels");
    ASSERT_NE(window, nullptr);
    auto* table = window->findChild<QTableWidget*>();
    ASSERT_NE(table, nullptr);
    window->activateWindow();
    QApplication::setActiveWindow(window);
    table->setFocus(Qt::TabFocusReason);
    table->setCurrentCell(0, 0);
    ASSERT_EQ(QApplication::focusWidget(), table);
    // Tab goes on to the next control; Shift+Tab back from there returns.
    QTest::keyClick(table, Qt::Key_Tab);
    QWidget* next = QApplication::focusWidget();
    EXPECT_NE(next, table);
    EXPECT_NE(qobject_cast<QPushButton*>(next), nullptr);
    QTest::keyClick(next, Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), table);
    // The arrows still walk the cells.
    QTest::keyClick(table, Qt::Key_Right);
    EXPECT_EQ(table->currentColumn(), 1);
    window->close();
    PumpFor(100ms);
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// accessibility_test.cpp - what a screen reader reads of the real console
// on the built-in simulator, through the toolkit's accessibility interface
// in this process: every object says something, the frequency, mode,
// S meter and AF GAIN bar read right and follow the radio when it is tuned
// from its own side, changes raise throttled events, Tab walks the groups,
// the speak key speaks, and nothing painted changes.
#include "console_menu.h"
#include "reader_fixture.h"

#include <glimra.h>
#include <pandor.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QImage>
#include <QAbstractSlider>
#include <QAbstractButton>
#include <QComboBox>
#include <QScrollBar>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace {

using display_test::PumpFor;
using display_test::PumpUntil;
using reader_test::Heard;
using namespace std::chrono_literals;

// ------------------------------------------------------------ the tree

bool Says(QAccessibleInterface* iface) {
    for (const auto t : {QAccessible::Name, QAccessible::Value, QAccessible::Description})
        if (!iface->text(t).trimmed().isEmpty())
            return true;
    if (auto* text = iface->textInterface())
        return !text->text(0, text->characterCount()).trimmed().isEmpty();
    return false;
}

struct Tree {
    int objects = 0;
    std::vector<std::string> silent;
};

std::string Describe(QAccessibleInterface* iface) {
    QObject* object = iface->object();
    if (!object)
        return "(no object, role " + std::to_string(iface->role()) + ")";
    std::string out = object->objectName().toStdString() + " " + object->metaObject()->className();
    const QRect r = iface->rect();
    return out + " at " + std::to_string(r.x()) + "," + std::to_string(r.y()) + " " +
           std::to_string(r.width()) + "x" + std::to_string(r.height());
}

void Walk(QAccessibleInterface* iface, Tree& tree, int depth = 0) {
    if (!iface || !iface->isValid() || depth > 20)
        return;
    ++tree.objects;
    // A separator says nothing by nature, an empty table cell reads as blank
    // under its column's header, and a table's corner button (the toolkit's
    // own, with no widget behind it) selects all; readers pass over them.
    const bool corner = iface->role() == QAccessible::Pane && iface->object() == nullptr;
    // What does not show (a dark word, a digit that a row's reading stands
    // for) a reader passes over too.
    if (!Says(iface) && iface->role() != QAccessible::Separator && iface->role() != QAccessible::Cell && !corner &&
        !iface->state().invisible)
        tree.silent.push_back(Describe(iface));
    for (int i = 0; i < iface->childCount(); ++i)
        Walk(iface->child(i), tree, depth + 1);
}

class AccessibilityTest : public reader_test::ReaderTest {
protected:
    void SetUp() override {
        display_test::DisplayTest::SetUp();
        console->show();
        Connect();
    }
    void StartListening() {
        ReaderTest::StartListening();
        // Events go out only while a bridge listens (see with_atspi.sh).
        ASSERT_TRUE(QAccessible::isActive()) << "no accessibility bridge: run under with_atspi.sh";
    }
    std::string Name(int id) { return Of(id)->text(QAccessible::Name).toStdString(); }
    // The text events raised on a control since `from`.
    std::vector<std::string> TextEvents(int id, std::size_t from = 0) {
        std::vector<std::string> out;
        for (std::size_t i = from; i < heard.size(); ++i)
            if (heard[i].type == QAccessible::TextUpdated && heard[i].object == controls().widget(id))
                out.push_back(heard[i].value.toStdString());
        return out;
    }
};

TEST_F(AccessibilityTest, EveryObjectOfTheConnectedConsoleSaysSomething) {
    Tree tree;
    Walk(QAccessible::queryAccessibleInterface(console.get()), tree);
    std::printf("accessible objects %d, silent %zu\n", tree.objects, tree.silent.size());
    for (const std::string& s : tree.silent)
        ADD_FAILURE() << "silent: " << s;
    // The digits, marks and scales behind a composite reading are not
    // children of the panel; the composite is.
    QAccessibleInterface* panel = QAccessible::queryAccessibleInterface(console->client());
    EXPECT_GE(panel->indexOfChild(Of(idc::MainDigit0)), 0);
    EXPECT_EQ(panel->indexOfChild(Of(idc::MainDigit0 + 5)), -1);
    EXPECT_EQ(panel->indexOfChild(Of(idc::MainScale)), -1);
    EXPECT_EQ(panel->child(panel->indexOfChild(Of(idc::AfMainBar)))->object(), controls().widget(idc::AfMainBar));
    // The frequency covers all its digits.
    const QRect first = Of(idc::MainDigit0 + 0)->rect();
    EXPECT_GE(first.width(), 200);
}

TEST_F(AccessibilityTest, FrequencyModeSMeterAndAfGainReadRightAndFollowTheRadio) {
    EXPECT_EQ(Name(idc::MainDigit0), "Main frequency");
    EXPECT_EQ(Name(idc::MainMode), "Main mode");
    EXPECT_EQ(Name(idc::MainMeter), "Main meter");
    EXPECT_EQ(Name(idc::AfMainBar), "Main AF gain");

    radio().setFrequency(qxsim::Vfo::A, 14'195'000);
    EXPECT_TRUE(PumpUntil([&] { return Value(idc::MainDigit0) == "14.195.000 MHz"; })) << Value(idc::MainDigit0);
    // The text interface reads the same, as a reader's review of the screen does.
    QAccessibleTextInterface* text = Of(idc::MainDigit0)->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(0, text->characterCount()).toStdString(), "14.195.000 MHz");

    radio().setFrequency(qxsim::Vfo::A, 7'012'340);
    EXPECT_TRUE(PumpUntil([&] { return Value(idc::MainDigit0) == "7.012.340 MHz"; })) << Value(idc::MainDigit0);

    radio().setMode(1);
    EXPECT_TRUE(PumpUntil([&] { return Value(idc::MainMode) == "LSB"; })) << Value(idc::MainMode);
    radio().setMode(3);
    EXPECT_TRUE(PumpUntil([&] { return Value(idc::MainMode) == "CW"; })) << Value(idc::MainMode);

    // The radio reports its meter: level 20 is 20 dB over S9, level 9 is S5.
    radio().inject("SM00020;");
    EXPECT_TRUE(PumpUntil([&] { return Value(idc::MainMeter) == "S9+20 dB"; })) << Value(idc::MainMeter);
    radio().inject("SM00009;");
    EXPECT_TRUE(PumpUntil([&] { return Value(idc::MainMeter) == "S5"; })) << Value(idc::MainMeter);

    // The radio's own AF knob.
    radio().inject("AG0077;");
    EXPECT_TRUE(PumpUntil([&] { return Value(idc::AfMainBar) == "77"; })) << Value(idc::AfMainBar);
    radio().inject("AG0200;");
    EXPECT_TRUE(PumpUntil([&] { return Value(idc::AfMainBar) == "200"; })) << Value(idc::AfMainBar);
    ASSERT_NE(Of(idc::AfMainBar)->valueInterface(), nullptr);
    EXPECT_EQ(Of(idc::AfMainBar)->valueInterface()->currentValue().toInt(), 200);
}

TEST_F(AccessibilityTest, TransmitReadsPowerAndStatusWordsReadLitOrOff) {
    EXPECT_EQ(Value(idc::Split), "off");
    // A dark word is not read with the window as if it were lit.
    EXPECT_TRUE(Of(idc::Split)->state().invisible);
    EXPECT_EQ(Name(idc::SubDigit0), "Sub frequency");
    radio().pressKey(qxsim::Key::Split);
    EXPECT_TRUE(PumpUntil([&] { return Value(idc::Split) == "on"; })) << Value(idc::Split);
    EXPECT_FALSE(Of(idc::Split)->state().invisible);
    // The right display shows the transmitting VFO and says so.
    EXPECT_TRUE(PumpUntil([&] { return Name(idc::SubDigit0) == "Transmit frequency, VFO B"; })) << Name(idc::SubDigit0);
    EXPECT_NE(Value(idc::DisplayBack).find("SPLIT"), std::string::npos) << Value(idc::DisplayBack);
    EXPECT_NE(Value(idc::VfoMark0).find("transmit"), std::string::npos) << Value(idc::VfoMark0);
    // A status word is not named like the button beside it; the antenna's
    // number says what it counts.
    EXPECT_EQ(Name(idc::Split), "SPLIT indicator");
    EXPECT_NE(Name(idc::Split), Name(idc::SplitButton));
    EXPECT_NE(Value(idc::DisplayBack).find("antenna 1"), std::string::npos) << Value(idc::DisplayBack);

    // Receiving a signal is not being on the air.
    radio().inject("BY10;");
    EXPECT_TRUE(PumpUntil([&] { return Value(idc::MainBusy) == "busy, signal received"; })) << Value(idc::MainBusy);
    EXPECT_EQ(Name(idc::MainBusy), "Main busy or on air");
    radio().inject("BY00;");
    EXPECT_TRUE(PumpUntil([&] { return Value(idc::MainBusy) == "off"; })) << Value(idc::MainBusy);

    // With RIT on the right display shows the offset, read as one in kHz.
    radio().pressKey(qxsim::Key::Split);
    radio().pressKey(qxsim::Key::Rit);
    EXPECT_TRUE(PumpUntil([&] { return Name(idc::SubDigit0) == "RIT offset"; })) << Name(idc::SubDigit0);
    EXPECT_TRUE(PumpUntil([&] { return Value(idc::SubDigit0).find(" kHz") != std::string::npos; }))
        << Value(idc::SubDigit0);
    EXPECT_EQ(accessibility().OffsetReading().toStdString(), Value(idc::SubDigit0));

    radio().transmit(true);
    EXPECT_TRUE(PumpUntil([&] { return Value(idc::MainBusy) == "on air"; })) << Value(idc::MainBusy);
    radio().inject("SM00017;");
    EXPECT_TRUE(PumpUntil([&] { return Value(idc::MainMeter) == "50 W"; })) << Value(idc::MainMeter);
    radio().transmit(false);
    EXPECT_TRUE(PumpUntil([&] { return Value(idc::MainBusy) == "off"; })) << Value(idc::MainBusy);
}

TEST_F(AccessibilityTest, FrequencyModeAndTransmitChangesRaiseThrottledEvents) {
    StartListening();
    radio().setFrequency(qxsim::Vfo::A, 14'000'000);
    ASSERT_TRUE(PumpUntil([&] { return !TextEvents(idc::MainDigit0).empty(); }));
    EXPECT_EQ(TextEvents(idc::MainDigit0).back(), "14.000.000 MHz");
    PumpFor(ConsoleAccessibility::kAnnounceGap + 100ms);

    // A dial spun from the radio's side for about a second: a report every
    // 20 ms, but only a few announcements, the last with the last frequency.
    const std::size_t from = heard.size();
    radio().setDialStep(1000);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 50; ++i) {
        radio().turnDial(1);
        PumpFor(20ms);
    }
    const auto spun = std::chrono::steady_clock::now() - start;
    PumpFor(ConsoleAccessibility::kAnnounceGap * 2);
    const std::vector<std::string> spoken = TextEvents(idc::MainDigit0, from);
    ASSERT_FALSE(spoken.empty());
    const long long allowed = spun / ConsoleAccessibility::kAnnounceGap + 2;
    EXPECT_LE(static_cast<long long>(spoken.size()), allowed) << spoken.size() << " announcements";
    EXPECT_EQ(spoken.back(), "14.050.000 MHz");
    EXPECT_EQ(Value(idc::MainDigit0), "14.050.000 MHz");
    // A reader passes over text changes of a control without the focus; the
    // notification object is spoken wherever the focus is, as often.
    ASSERT_NE(accessibility().AnnouncementObject(), nullptr);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(accessibility().AnnouncementObject())->role(),
              QAccessible::Notification);
    const std::vector<std::string> notified = Notified(from);
    ASSERT_FALSE(notified.empty());
    EXPECT_LE(static_cast<long long>(notified.size()), allowed) << notified.size() << " notifications";
    EXPECT_EQ(notified.back(), "14.050.000 MHz");

    auto lastNotified = [&] {
        const auto said = Notified(from);
        return said.empty() ? std::string() : said.back();
    };
    radio().setMode(1);
    EXPECT_TRUE(PumpUntil([&] {
        const auto events = TextEvents(idc::MainMode, from);
        return !events.empty() && events.back() == "LSB";
    }));
    EXPECT_TRUE(PumpUntil([&] { return lastNotified() == "LSB"; })) << lastNotified();
    radio().transmit(true);
    EXPECT_TRUE(PumpUntil([&] {
        const auto events = TextEvents(idc::MainBusy, from);
        return !events.empty() && events.back() == "on air";
    }));
    EXPECT_TRUE(PumpUntil([&] { return lastNotified() == "transmitting"; })) << lastNotified();
    radio().transmit(false);
    EXPECT_TRUE(PumpUntil([&] {
        const auto events = TextEvents(idc::MainBusy, from);
        return !events.empty() && events.back() == "off";
    }));
    EXPECT_TRUE(PumpUntil([&] { return lastNotified() == "receiving"; })) << lastNotified();
}

TEST_F(AccessibilityTest, TheSpeakKeyMovesTheFocusToTheSummaryAndTheNextKeyBringsItBack) {
    radio().setFrequency(qxsim::Vfo::A, 14'195'000);
    radio().setMode(2);
    ASSERT_TRUE(PumpUntil([&] { return Value(idc::MainDigit0) == "14.195.000 MHz" && Value(idc::MainMode) == "USB"; }));
    radio().inject("SM00015;");
    ASSERT_TRUE(PumpUntil([&] { return Value(idc::MainMeter) == "S9"; }));
    PumpFor(100ms);

    StartListening();
    QApplication::setActiveWindow(console.get());
    QWidget* tune = controls().widget(idc::TuneUp);
    tune->setFocus(Qt::TabFocusReason);
    radio().clearReceived();
    QTest::keyClick(console.get(), Qt::Key_F2);
    PumpFor(100ms);

    // A reader speaks the object the focus lands on: the summary.
    const std::string expected = "Main 14.195.000 MHz, USB, S meter S9";
    QWidget* summary = QApplication::focusWidget();
    ASSERT_NE(summary, nullptr);
    ASSERT_NE(summary, tune);
    EXPECT_EQ(summary, accessibility().SummaryObject());
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(summary);
    EXPECT_EQ(iface->text(QAccessible::Name).toStdString().rfind(expected, 0), 0u)
        << iface->text(QAccessible::Name).toStdString();
    EXPECT_TRUE(iface->state().focused);
    bool focusEvent = false;
    for (const Heard& h : heard)
        focusEvent |= h.type == QAccessible::Focus && h.object == summary &&
                      h.name.toStdString().rfind(expected, 0) == 0;
    EXPECT_TRUE(focusEvent);
    // Nothing went to the radio.
    EXPECT_TRUE(radio().received().empty());

    // Pressed again where it stands, it says the summary again.
    const std::size_t before = heard.size();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    PumpFor(100ms);
    const std::vector<std::string> again = Notified(before);
    ASSERT_FALSE(again.empty());
    EXPECT_EQ(again.back().rfind(expected, 0), 0u) << again.back();

    // Esc and Tab only go back; another key goes back and does its work
    // there (Space presses the button that had the focus).
    for (const int key : {int(Qt::Key_Escape), int(Qt::Key_Tab)}) {
        QTest::keyClick(console.get(), Qt::Key_F2);
        ASSERT_EQ(QApplication::focusWidget(), summary);
        QTest::keyClick(summary, static_cast<Qt::Key>(key));
        EXPECT_EQ(QApplication::focusWidget(), tune) << key;
    }
    EXPECT_TRUE(radio().received().empty());
    QTest::keyClick(console.get(), Qt::Key_F2);
    ASSERT_EQ(QApplication::focusWidget(), summary);
    QTest::keyClick(summary, Qt::Key_Space);
    EXPECT_EQ(QApplication::focusWidget(), tune);
    EXPECT_TRUE(PumpUntil([&] { return !radio().received().empty(); })) << "Space did not reach TUNE UP";
}

TEST_F(AccessibilityTest, TabWalksEveryControlGroupByGroupAndEachGroupIsNamed) {
    QApplication::setActiveWindow(console.get());
    QWidget* first = controls().widget(idc::Power);
    first->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), first);

    std::vector<QWidget*> visited{first};
    for (int i = 0; i < 200; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget* now = QApplication::focusWidget();
        if (now == first)
            break;
        visited.push_back(now);
    }
    // Every control that takes the focus is reached, once.
    std::set<QWidget*> reached(visited.begin(), visited.end());
    EXPECT_EQ(reached.size(), visited.size());
    for (const ControlRow& row : ConsoleTemplate()) {
        QWidget* w = controls().widget(row.id);
        if (w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
            EXPECT_TRUE(reached.count(w)) << "not reached by Tab: " << row.caption << " " << row.id;
        }
    }
    // Each control names its group, and a group once left is not met again.
    std::vector<std::string> runs;
    for (QWidget* w : visited) {
        const std::string group = w->accessibleDescription().toStdString();
        EXPECT_FALSE(group.empty()) << w->objectName().toStdString();
        if (runs.empty() || runs.back() != group)
            runs.push_back(group);
    }
    std::set<std::string> distinct(runs.begin(), runs.end());
    EXPECT_EQ(distinct.size(), runs.size());
    EXPECT_EQ(runs.front(), "Power group");
    // Every frame reads a name.
    for (const ControlRow& row : ConsoleTemplate()) {
        if (row.kind == ControlKind::Frame) {
            EXPECT_FALSE(Name(row.id).empty()) << row.id;
        }
    }
}

TEST_F(AccessibilityTest, TheSecondaryWindowsNameTheirControlsAndValues) {
    PandorView(console.get(), 2);
    RadioMchView(console.get());
    RadioAgcView(console.get());
    RadioMgrView(console.get());
    RadioSgrView(console.get());
    RadioSmnView(console.get());
    QuorelView(console.get());
    GlimraView(console.get());
    console->OnCommand(cmd::MemoryChannels);
    PumpFor(300ms);
    int windows = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window == console.get() || !window->isVisible())
            continue;
        ++windows;
        Tree tree;
        Walk(QAccessible::queryAccessibleInterface(window), tree);
        std::printf("%s: accessible objects %d, silent %zu\n", window->windowTitle().toStdString().c_str(),
                    tree.objects, tree.silent.size());
        for (const std::string& s : tree.silent)
            ADD_FAILURE() << window->windowTitle().toStdString() << ": silent: " << s;
        tree.silent.clear();
        // Every list and level bar, and every value field given a name, is
        // named after a caption, never after a number that happens to stand
        // beside it.
        for (QWidget* control : window->findChildren<QWidget*>()) {
            const bool namedValue = qobject_cast<CStaticEx*>(control) && !control->accessibleName().isEmpty();
            if (!qobject_cast<QComboBox*>(control) && !qobject_cast<QAbstractSlider*>(control) && !namedValue)
                continue;
            // The scroll bars of a list or table belong to it.
            if (control->window() != window ||
                control->parentWidget()->objectName().startsWith(QLatin1String("qt_scrollarea")))
                continue;
            const QString name = control->accessibleName();
            EXPECT_TRUE(std::any_of(name.cbegin(), name.cend(), [](QChar c) { return c.isLetter(); }))
                << window->windowTitle().toStdString() << ": " << control->metaObject()->className()
                << " named \"" << name.toStdString() << "\"";
        }
    }
    EXPECT_GE(windows, 9);
}

QWidget* WindowTitled(const QString& title) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle() == title)
            return window;
    return nullptr;
}

// The label that reads a row of digits, found by its name.
CStaticEx* RowNamed(QWidget* window, const QString& name) {
    for (CStaticEx* label : window->findChildren<CStaticEx*>())
        if (label->accessibleName() == name && label->width() < 30)
            return label;
    return nullptr;
}

QString ReadingOf(QWidget* widget) {
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Value);
}

TEST_F(AccessibilityTest, RowsOfDigitsReadOneValueAndEveryListItsOwnCaption) {
    RadioMchView(console.get());
    PandorView(console.get(), 2);
    QuorelView(console.get());
    GlimraView(console.get());
    PumpFor(300ms);

    // The memory editor: fourteen digit and dot boxes per row read as one
    // frequency, named for the row; tuned with the mouse on its digits.
    QWidget* memory = WindowTitled(QStringLiteral("Memory"));
    ASSERT_NE(memory, nullptr);
    CStaticEx* rx = RowNamed(memory, QStringLiteral("RX / Open Freq."));
    ASSERT_NE(rx, nullptr);
    ASSERT_NE(RowNamed(memory, QStringLiteral("TX / Close Freq.")), nullptr);
    std::vector<CStaticEx*> digits;
    for (CStaticEx* label : memory->findChildren<CStaticEx*>())
        if (label->y() == rx->y() && label->width() == rx->width())
            digits.push_back(label);
    std::sort(digits.begin(), digits.end(), [](CStaticEx* a, CStaticEx* b) { return a->x() < b->x(); });
    ASSERT_EQ(digits.size(), 11u);
    // 10 GHz digit first: 1 x 10 MHz, 4 x 1 MHz, 1 x 100 kHz, 9 x 10 kHz, 5 x 1 kHz.
    const int clicks[11] = {0, 0, 0, 1, 4, 1, 9, 5, 0, 0, 0};
    for (int d = 0; d < 11; ++d)
        for (int n = 0; n < clicks[d]; ++n) {
            QTest::mouseClick(digits[static_cast<std::size_t>(d)], Qt::RightButton);
            PumpFor(5ms);
        }
    EXPECT_TRUE(PumpUntil([&] { return ReadingOf(rx) == QStringLiteral("14.195.000 MHz"); }))
        << ReadingOf(rx).toStdString();
    // The boxes it stands for and the "Hz" after it are not shown to a reader.
    for (std::size_t d = 1; d < digits.size(); ++d)
        EXPECT_TRUE(QAccessible::queryAccessibleInterface(digits[d])->state().invisible) << d;

    // The lists of the TONE / CTCSS / DCS group each say which they are.
    std::set<std::string> toneNames;
    for (QComboBox* list : memory->findChildren<QComboBox*>())
        if (list->y() > 170 && list->y() < 240 && list->x() > 262)
            toneNames.insert(list->accessibleName().toStdString());
    EXPECT_EQ(toneNames, (std::set<std::string>{"TONE frequency", "CTCSS frequency", "DCS code"}));

    // Setup: each transverter line one value, its Ent button named for it.
    QWidget* setup = WindowTitled(QStringLiteral("Setup"));
    ASSERT_NE(setup, nullptr);
    for (const char* line : {"Main Band", "Sub Band", "SATL Down", "SATL Up"}) {
        CStaticEx* row = RowNamed(setup, QString::fromLatin1(line));
        ASSERT_NE(row, nullptr) << line;
        EXPECT_TRUE(ReadingOf(row).endsWith(QStringLiteral(" MHz"))) << line << ": " << ReadingOf(row).toStdString();
        bool ent = false;
        for (QAbstractButton* button : setup->findChildren<QAbstractButton*>())
            ent |= button->accessibleName() == QStringLiteral("Ent ") + QString::fromLatin1(line);
        EXPECT_TRUE(ent) << line;
    }

    // Visual Scan: a dialog with a title, its frequency one value, its dial named.
    QWidget* scan = WindowTitled(QStringLiteral("Visual Scan"));
    ASSERT_NE(scan, nullptr);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(scan)->role(), QAccessible::Dialog);
    CStaticEx* scanFrequency = RowNamed(scan, QStringLiteral("Frequency"));
    ASSERT_NE(scanFrequency, nullptr);
    EXPECT_TRUE(ReadingOf(scanFrequency).endsWith(QStringLiteral(" MHz"))) << ReadingOf(scanFrequency).toStdString();

    // In every window: no showing label reads a lone digit, a dot or
    // "blank", no list takes a unit as its caption, and every list has a
    // caption a reader finds through its label.
    const QStringList units{QStringLiteral("Hz"), QStringLiteral("ms"), QStringLiteral("kHz"), QStringLiteral("MHz")};
    for (QWidget* window : {memory, setup, scan, WindowTitled(QStringLiteral("MULTI"))}) {
        ASSERT_NE(window, nullptr);
        const std::string title = window->windowTitle().toStdString();
        for (CStaticEx* label : window->findChildren<CStaticEx*>()) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(label);
            if (label->isHidden() || iface->state().invisible)
                continue;
            const QString spoken = iface->text(QAccessible::Value).isEmpty() ? iface->text(QAccessible::Name)
                                                                              : iface->text(QAccessible::Value);
            EXPECT_FALSE(spoken == QStringLiteral("blank") || spoken == QStringLiteral(".") ||
                         (spoken.size() == 1 && spoken[0].isDigit()))
                << title << ": a label reads \"" << spoken.toStdString() << "\"";
            EXPECT_FALSE(label->text().trimmed().isEmpty() && units.contains(iface->text(QAccessible::Name)))
                << title << ": an empty label named " << iface->text(QAccessible::Name).toStdString();
        }
        for (QComboBox* list : window->findChildren<QComboBox*>()) {
            if (list->isHidden())
                continue;
            const auto labels = QAccessible::queryAccessibleInterface(list)->relations(QAccessible::Label);
            ASSERT_FALSE(labels.isEmpty()) << title << ": " << list->objectName().toStdString();
            const QString caption = labels.front().first->text(QAccessible::Name);
            EXPECT_FALSE(caption.isEmpty() || units.contains(caption))
                << title << ": " << list->objectName().toStdString() << " captioned \"" << caption.toStdString() << "\"";
        }
    }
    // MULTI: each list its own frame's caption.
    QWidget* multi = WindowTitled(QStringLiteral("MULTI"));
    QComboBox* micGain = multi->findChild<QComboBox*>(QStringLiteral("list24030"));
    ASSERT_NE(micGain, nullptr);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(micGain)->relations(QAccessible::Label).front().first->text(
                  QAccessible::Name),
              QStringLiteral("MIC GAIN"));
    QComboBox* breakIn = multi->findChild<QComboBox*>(QStringLiteral("list24040"));
    ASSERT_NE(breakIn, nullptr);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(breakIn)->relations(QAccessible::Label).front().first->text(
                  QAccessible::Name),
              QStringLiteral("CW BREAK-IN"));
}

TEST_F(AccessibilityTest, TheSatelliteChannelReadsTheNumberItShows) {
    radio().modify([](qxsim::State& s) {
        s.satelliteNames[0] = "AO-7";
        s.satellite = {1, 0, 0, 0, 0, 0, 0};
        s.satelliteName = "AO-7";
    });
    display().link.ConnSA("R", 0, 0, 0, 0, 0, 0, 0, "");
    ASSERT_TRUE(PumpUntil([&] { return state().satelliteMode == 1; }));
    ASSERT_EQ(Text(idc::MainChDigit0 + 2), "0");
    EXPECT_EQ(Value(idc::MainChDigit0), "0");
    EXPECT_FALSE(Of(idc::MainChDigit0)->state().invisible);
}

TEST_F(AccessibilityTest, ReadingTheConsoleChangesNothingOnScreen) {
    PumpFor(200ms);
    const QImage before = console->grab().toImage();
    StartListening();
    Tree tree;
    Walk(QAccessible::queryAccessibleInterface(console.get()), tree);
    QApplication::setActiveWindow(console.get());
    QTest::keyClick(console.get(), Qt::Key_F2);
    PumpFor(100ms);
    const QImage after = console->grab().toImage();
    EXPECT_TRUE(before == after);
}

} // namespace

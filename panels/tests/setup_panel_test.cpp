// SPDX-License-Identifier: GPL-3.0-or-later
// The setup panel as the operator uses it: the profile's values shown (and
// the defaults for values that are not numbers), the device list, sharing,
// a network address, and what OK and the reset buttons send to the virtual
// transceiver.
#include "setup_panel.h"
#include "on_the_radio.h"
#include "setup_panel_fixture.h"
#include "test_helpers.h"

#include <corvan.h>
#include <qxsim.h>

#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <chrono>
#include <memory>
#include <vector>

namespace pandor::test {
namespace {

using namespace std::chrono_literals;

// ------------------------------------------------------------ profile

TEST_F(SetupPanelTest, ShowsTheProfilesValues) {
    Store("PortName", StableName());
    platform::WriteProfileInt(kSetting, QStringLiteral("Baud"), 38400);
    platform::WriteProfileInt(kSetting, QStringLiteral("DialWait"), 3);
    Store("TransFreqMain", QStringLiteral("00116000000"));
    Store("TransFreqUp", QStringLiteral("10224000000"));
    CSetupPanel* panel = Open();
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(PortShown(), StableName());
    EXPECT_EQ(BaudList()->currentText(), "  38400bps");
    EXPECT_EQ(DialList()->currentText(), "    3");
    EXPECT_EQ(panel->frequency(0), 116'000'000);
    EXPECT_EQ(panel->frequency(3), 10'224'000'000);
    EXPECT_EQ(panel->rowShown(0), "   116.000.000");
    EXPECT_EQ(panel->rowShown(1), "             0");
    EXPECT_EQ(panel->rowShown(3), "10.224.000.000");
}

TEST_F(SetupPanelTest, ListsHaveTheirEntries) {
    Open();
    QStringList bauds, waits;
    for (int i = 0; i < BaudList()->count(); ++i) bauds << BaudList()->itemText(i);
    for (int i = 0; i < DialList()->count(); ++i) waits << DialList()->itemText(i);
    EXPECT_EQ(bauds, QStringList({"    4800bps", "    9600bps", "  19200bps", "  38400bps", "  57600bps"}));
    EXPECT_EQ(waits, QStringList({"    0", "    1", "    2", "    3", "    4", "    5", "    6", "    7", "    8",
                                  "    9"}));
    // The machine's devices, stable names first, then the built-in simulator;
    // one the user may not open says so.
    QStringList ports;
    for (int i = 0; i < PortList()->count(); ++i) ports << PortList()->itemText(i);
    EXPECT_EQ(ports, QStringList({StableName(), Dev("ttyUSB0"), Dev("ttyACM0"), Dev("ttyS0"),
                                  Dev("ttyS1") + "  (no access)", Dev("ttyS2"), "Network address...",
                                  "Built-in simulator"}));
}

struct DefaultCase {
    const char* name;
    const char* key;
    const char* stored; // nullptr: the key is missing
    int baudIndex;
    int dialWait;
    const char* dialWaitAfterOpen; // what the profile holds once the panel is open
};
void PrintTo(const DefaultCase& c, std::ostream* out) { *out << c.name; }

class SetupDefaults : public SetupPanelTest, public testing::WithParamInterface<DefaultCase> {};

TEST_P(SetupDefaults, ValuesThatAreNotNumbersShowTheDefaults) {
    const DefaultCase& c = GetParam();
    if (c.stored != nullptr) {
        Store(c.key, QString::fromLatin1(c.stored));
    }
    CSetupPanel* panel = Open();
    EXPECT_EQ(BaudList()->currentIndex(), c.baudIndex);
    EXPECT_EQ(DialList()->currentIndex(), c.dialWait);
    EXPECT_EQ(Stored("DialWait"), c.dialWaitAfterOpen);
    for (int row = 0; row < CSetupPanel::kRows; ++row) {
        EXPECT_EQ(panel->frequency(row), 0) << row;
    }
    EXPECT_EQ(PortList()->currentIndex(), -1) << "no port chosen";
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, SetupDefaults,
    testing::Values(DefaultCase{"NothingStored", "Baud", nullptr, 1, 5, "5"},
                    DefaultCase{"BaudLetters", "Baud", "fast", 1, 5, "5"},
                    DefaultCase{"BaudUnknownSpeed", "Baud", "1200", 1, 5, "5"},
                    DefaultCase{"BaudDigitsThenLetters", "Baud", "4800x", 1, 5, "5"},
                    DefaultCase{"DialWaitLetters", "DialWait", "seven", 1, 5, "seven"},
                    DefaultCase{"DialWaitTooLarge", "DialWait", "12", 1, 5, "12"},
                    DefaultCase{"DialWaitNegative", "DialWait", "-1", 1, 5, "-1"},
                    DefaultCase{"DialWaitZero", "DialWait", "0", 1, 0, "0"},
                    DefaultCase{"TransverterLetters", "TransFreqMain", "abc", 1, 5, "5"},
                    DefaultCase{"TransverterDigitsThenLetters", "TransFreqSub", "00144x", 1, 5, "5"},
                    DefaultCase{"PortNumberLetters", "PortNo", "COM3", 1, 5, "5"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(SetupPanelTest, DialWaitThatIsNotANumberIsWrittenOnlyByOk) {
    Store("DialWait", QStringLiteral("seven"));
    Open();
    EXPECT_EQ(Stored("DialWait"), "seven");
    Ok()->click();
    EXPECT_EQ(Stored("DialWait"), "5");
}

// ------------------------------------------------------------ port choice

struct PortCase {
    const char* name;
    const char* portName; // nullptr: missing
    const char* portNo;   // nullptr: missing
    const char* shown;    // device name under the test's folder, or the list text
};
void PrintTo(const PortCase& c, std::ostream* out) { *out << c.name; }

class SetupPorts : public SetupPanelTest, public testing::WithParamInterface<PortCase> {};

TEST_P(SetupPorts, SelectsTheStoredDevice) {
    const PortCase& c = GetParam();
    // Device names are under the test's folder; the simulator is named as it is.
    auto named = [this](const char* name) {
        const QString text = QString::fromLatin1(name);
        return text.startsWith(QLatin1String("Built-in")) ? text : Dev(name);
    };
    if (c.portName != nullptr) Store("PortName", named(c.portName));
    if (c.portNo != nullptr) Store("PortNo", QString::fromLatin1(c.portNo));
    Open();
    EXPECT_EQ(PortList()->currentText().toStdString(), named(c.shown).toStdString());
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, SetupPorts,
    testing::Values(PortCase{"PortNumberOne", nullptr, "1", "ttyS0"},
                    PortCase{"PortNumberThree", nullptr, "3", "ttyS2"},
                    PortCase{"PortNumberZero", nullptr, "0", "ttyS0"},
                    PortCase{"PortNumberNegative", nullptr, "-2", "ttyS0"},
                    PortCase{"DeviceNameWins", "ttyACM0", "3", "ttyACM0"},
                    PortCase{"DeviceWithoutAccess", "ttyS1", nullptr, "ttyS1  (no access)"},
                    PortCase{"UnpluggedDeviceStays", "ttyUSB4", "2", "ttyUSB4  (not found)"},
                    PortCase{"PortNumberOfAnAbsentDevice", nullptr, "9", "ttyS8  (not found)"},
                    PortCase{"Simulator", "Built-in simulator", "2", "Built-in simulator"}),
    [](const auto& p) { return std::string(p.param.name); });

TEST_F(SetupPanelTest, OkWritesTheDeviceAndItsTraditionalNumber) {
    Store("PortNo", QStringLiteral("1"));
    Open();
    PortList()->setCurrentIndex(PortList()->findData(Dev("ttyS2")));
    Ok()->click();
    EXPECT_EQ(Stored("PortName"), Dev("ttyS2"));
    EXPECT_EQ(Stored("PortNo"), "3");

    QuorelView(nullptr);
    PortList()->setCurrentIndex(PortList()->findData(StableName()));
    Ok()->click();
    EXPECT_EQ(Stored("PortName"), StableName());
    EXPECT_EQ(Stored("PortNo"), "3") << "a device without a number keeps the old one";

    QuorelView(nullptr);
    EXPECT_EQ(PortShown(), StableName());
    PortList()->setCurrentIndex(PortList()->count() - 1);
    Ok()->click();
    EXPECT_EQ(Stored("PortName"), "Built-in simulator");
}

// An adapter pulled and plugged in again comes back under another ttyUSBn;
// its lasting name stays the choice, and the connection follows that name.
TEST_F(SetupPanelTest, ALastingNameStaysTheChoiceWhenItsAdapterComesBackElsewhere) {
    Open();
    PortList()->setCurrentIndex(PortList()->findData(StableName()));
    Ok()->click();
    ASSERT_EQ(Stored("PortName"), StableName());

    // Unplugged: the name has gone, the choice stays.
    ASSERT_TRUE(QFile::remove(StableName()));
    QuorelView(nullptr);
    EXPECT_EQ(PortShown(), StableName());
    Ok()->click();
    EXPECT_EQ(Stored("PortName"), StableName());

    // Plugged in again as ttyUSB1.
    QFile usb1(Dev("ttyUSB1"));
    ASSERT_TRUE(usb1.open(QIODevice::WriteOnly));
    usb1.close();
    ASSERT_TRUE(QFile::link(QStringLiteral("../../ttyUSB1"), StableName()));
    QuorelView(nullptr);
    EXPECT_EQ(PortShown(), StableName());
    Ok()->click();
    EXPECT_EQ(Stored("PortName"), StableName()) << "kept by its lasting name, not by the tty it leads to";
}

// ------------------------------------------------------------ sharing

// Counts the setup panel's "OK wrote the profile" messages to the main window.
class SavedCounter : public QObject {
public:
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (static_cast<unsigned>(event->type()) == kUmSetupSaved) {
            ++count;
        }
        return false;
    }
};

struct ShareCase {
    const char* name;
    const char* rigctlOn; // as stored before the panel opens (nullptr: missing)
    const char* flrigOn;
    const char* rigctlPort;
    bool checkRigctl; // the boxes after the operator's clicks
    bool checkFlrig;
    bool ok; // OK, else Cancel
    bool shownRigctl; // the boxes when the panel opens
    bool shownFlrig;
    const char* rigctlText;
    const char* storedRigctl; // afterwards
    const char* storedFlrig;
};

class SetupSharing : public SetupPanelTest, public testing::WithParamInterface<ShareCase> {};

TEST_P(SetupSharing, BoxesShowTheProfileAndOnlyOkWritesThem) {
    const ShareCase& c = GetParam();
    QSettings(QStringLiteral("BRAVELL"), QStringLiteral("Zephyra")).remove(QStringLiteral("Sharing"));
    const QString section = QStringLiteral("Sharing");
    if (c.rigctlOn != nullptr) {
        platform::WriteProfileString(section, QStringLiteral("RigctlOn"), QString::fromLatin1(c.rigctlOn));
    }
    if (c.flrigOn != nullptr) {
        platform::WriteProfileString(section, QStringLiteral("FlrigOn"), QString::fromLatin1(c.flrigOn));
    }
    if (c.rigctlPort != nullptr) {
        platform::WriteProfileString(section, QStringLiteral("RigctlPort"), QString::fromLatin1(c.rigctlPort));
    }
    platform::WriteProfileInt(section, QStringLiteral("FlrigPort"), 12346);
    SavedCounter saved;
    sink.installEventFilter(&saved);
    Open();
    auto* rigctl = Control<QCheckBox>(24141);
    auto* flrig = Control<QCheckBox>(24142);
    ASSERT_NE(rigctl, nullptr);
    ASSERT_NE(flrig, nullptr);
    EXPECT_EQ(rigctl->isChecked(), c.shownRigctl);
    EXPECT_EQ(flrig->isChecked(), c.shownFlrig);
    EXPECT_EQ(rigctl->text(), QString::fromLatin1(c.rigctlText));
    EXPECT_EQ(flrig->text(), QStringLiteral("Share as &flrig (port 12346)"));
    if (rigctl->isChecked() != c.checkRigctl) {
        rigctl->click();
    }
    if (flrig->isChecked() != c.checkFlrig) {
        flrig->click();
    }
    (c.ok ? Ok() : Cancel())->click();
    Deliver();
    const QString missing = QStringLiteral("<missing>");
    EXPECT_EQ(platform::GetProfileString(section, QStringLiteral("RigctlOn"), missing), c.storedRigctl);
    EXPECT_EQ(platform::GetProfileString(section, QStringLiteral("FlrigOn"), missing), c.storedFlrig);
    EXPECT_EQ(saved.count, c.ok ? 1 : 0);
    sink.removeEventFilter(&saved);
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, SetupSharing,
    testing::Values(
        ShareCase{"OkSwitchesBothOn", nullptr, nullptr, nullptr, true, true, true, false, false,
                  "Share as &rigctld (port 4532)", "1", "1"},
        ShareCase{"OkSwitchesOneOff", "1", "1", "4600", false, true, true, true, true,
                  "Share as &rigctld (port 4600)", "0", "1"},
        ShareCase{"OkWithoutAChangeWritesWhatIsShown", "yes", "1", "99999", false, true, true, false, true,
                  "Share as &rigctld (port 4532)", "0", "1"},
        ShareCase{"CancelWritesNothing", nullptr, "1", nullptr, true, false, false, false, true,
                  "Share as &rigctld (port 4532)", "<missing>", "1"}),
    [](const testing::TestParamInfo<ShareCase>& row) { return std::string(row.param.name); });

// ------------------------------------------------------------ network address

// Answers the address box Setup opens: each text in turn, OK after each;
// `problems` gets what the box said about the texts it refused. Without
// texts, the box is cancelled.
void AnswerAddressBox(std::vector<QString> texts, QStringList* problems) {
    QTimer::singleShot(0, [texts, problems] {
        QWidget* box = QApplication::activeModalWidget();
        ASSERT_NE(box, nullptr) << "no address box";
        auto* field = box->findChild<QLineEdit*>();
        auto* buttons = box->findChild<QDialogButtonBox*>();
        ASSERT_NE(field, nullptr);
        ASSERT_NE(buttons, nullptr);
        if (texts.empty()) {
            buttons->button(QDialogButtonBox::Cancel)->click();
            return;
        }
        for (const QString& text : texts) {
            field->setText(text);
            buttons->button(QDialogButtonBox::Ok)->click();
            if (!box->isVisible())
                return;
            for (const QLabel* label : box->findChildren<QLabel*>())
                if (!label->text().isEmpty() && !label->text().contains(QLatin1String("e.g.")))
                    problems->append(label->text());
        }
        buttons->button(QDialogButtonBox::Cancel)->click();
    });
}

TEST_F(SetupPanelTest, ANetworkAddressTypedIsCheckedListedAndKept) {
    Store("PortName", StableName());
    Open();
    const int entry = PortList()->findText(QStringLiteral("Network address..."));
    ASSERT_GE(entry, 0);
    QStringList problems;
    AnswerAddressBox({QStringLiteral("rfc2217://radio.example"), QStringLiteral("/dev/ttyUSB0"),
                      QStringLiteral(" rfc2217+tls://radio.example:3334 ")},
                     &problems);
    PortList()->setCurrentIndex(entry);
    emit PortList()->activated(entry);
    EXPECT_EQ(problems.size(), 2) << problems.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(PortShown(), "rfc2217+tls://radio.example:3334");
    Ok()->click();
    EXPECT_EQ(Stored("PortName"), "rfc2217+tls://radio.example:3334");

    // Shown again as it is (no device to find), the device list unchanged.
    QuorelView(nullptr);
    EXPECT_EQ(PortShown(), "rfc2217+tls://radio.example:3334");
    EXPECT_EQ(PortList()->currentText(), "rfc2217+tls://radio.example:3334");
    EXPECT_GE(PortList()->findData(StableName()), 0);
    EXPECT_EQ(PortList()->itemText(PortList()->count() - 1), "Built-in simulator");

    // Cancelled: the choice before stays, and OK keeps the stored address.
    AnswerAddressBox({}, &problems);
    const int again = PortList()->findText(QStringLiteral("Network address..."));
    PortList()->setCurrentIndex(again);
    emit PortList()->activated(again);
    EXPECT_EQ(PortShown(), "rfc2217+tls://radio.example:3334");
    Ok()->click();
    EXPECT_EQ(Stored("PortName"), "rfc2217+tls://radio.example:3334");
}

TEST_F(SetupPanelTest, OkWithoutAPortChosenWritesNoPort) {
    Open();
    ASSERT_EQ(PortList()->currentIndex(), -1);
    Ok()->click();
    EXPECT_EQ(Stored("PortName"), "<missing>");
    EXPECT_EQ(Stored("PortNo"), "<missing>");
    EXPECT_EQ(Stored("Baud"), "9600");
    EXPECT_EQ(Stored("DialWait"), "5");
}

TEST_F(SetupPanelTest, ChoosingADeviceWithoutAccessSaysWhichGroupToJoin) {
    Open();
    const int refused = PortList()->findData(Dev("ttyS1"));
    const int usable = PortList()->findData(Dev("ttyS2"));
    ASSERT_GE(refused, 0);
    PortList()->setCurrentIndex(usable);
    emit PortList()->activated(usable);
    EXPECT_TRUE(dialogs->messages.empty());
    PortList()->setCurrentIndex(refused);
    emit PortList()->activated(refused);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    const platform::MessageBoxRequest& box = dialogs->messages[0];
    EXPECT_TRUE(box.text.contains(Dev("ttyS1"))) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(QLatin1String("\"dialout\""))) << box.text.toStdString();
    EXPECT_TRUE(box.text.contains(QLatin1String("usermod -aG dialout"))) << box.text.toStdString();
    EXPECT_EQ(box.caption, "Zephyra");
    EXPECT_EQ(box.flags & platform::MbIconWarning, platform::MbIconWarning);
    // The choice stays: the operator may fix the permissions first.
    Ok()->click();
    EXPECT_EQ(Stored("PortName"), Dev("ttyS1"));
}

TEST_F(SetupPanelTest, ViewAgainReadsTheProfileAndTheDevicesAgain) {
    Store("TransFreqMain", QStringLiteral("00050000000"));
    CSetupPanel* panel = Open();
    panel->PressDigit(0, 6, true);
    EXPECT_EQ(panel->frequency(0), 51'000'000);
    Cancel()->click();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(Stored("TransFreqMain"), "00050000000") << "Cancel saves nothing";
    QFile added(Dev("ttyUSB1"));
    ASSERT_TRUE(added.open(QIODevice::WriteOnly));
    QuorelView(nullptr);
    EXPECT_EQ(Panels().setup.data(), panel);
    EXPECT_EQ(panel->frequency(0), 50'000'000);
    EXPECT_GE(PortList()->findData(Dev("ttyUSB1")), 0) << "a device plugged in meanwhile is offered";
}

// ------------------------------------------------------------ the radio

class SetupOnTheRadio : public OnTheRadio<SetupPanelTest> {
protected:
    // Everything the radio received before a marker sent now.
    std::vector<std::string> Received() {
        link.ConnDirect("ID;");
        EXPECT_TRUE(radio.waitFor("ID", 5s));
        std::vector<std::string> texts;
        for (const auto& r : radio.received()) {
            if (r.text == "ID") break;
            texts.push_back(r.text);
        }
        return texts;
    }
};

TEST_F(SetupOnTheRadio, OkWithoutChangesRewritesTheSettingsButSendsNothing) {
    for (const char* key : {"TransFreqMain", "TransFreqSub", "TransFreqDown", "TransFreqUp"}) {
        Store(key, QStringLiteral("00000000000"));
    }
    Store("TransFreqSub", QStringLiteral("00028000000"));
    Store("PortNo", QStringLiteral("2"));
    Open();
    Ok()->click();
    EXPECT_TRUE(Received().empty());
    EXPECT_EQ(Stored("PortNo"), "2");
    EXPECT_EQ(Stored("PortName"), Dev("ttyS1"));
    EXPECT_EQ(Stored("Baud"), "9600");
    EXPECT_EQ(Stored("DialWait"), "5");
    EXPECT_EQ(Stored("TransFreqSub"), "00028000000");
}

TEST_F(SetupOnTheRadio, ChangedOffsetIsWrittenAndTheMenuReadAsked) {
    for (const char* key : {"TransFreqMain", "TransFreqSub", "TransFreqDown", "TransFreqUp"}) {
        Store(key, QStringLiteral("00000000000"));
    }
    CSetupPanel* panel = Open();
    Ent(2)->click();
    Type("432.");
    Ent(2)->click();
    ASSERT_EQ(panel->frequency(2), 432'000'000);
    Ok()->click();
    EXPECT_EQ(Stored("TransFreqDown"), "00432000000");
    EXPECT_EQ(Stored("TransFreqMain"), "00000000000");
    EXPECT_EQ(Received(), std::vector<std::string>{"EX0250000"});
}

TEST_F(SetupOnTheRadio, FullResetSelectsNineThousandSixHundredWithoutSaving) {
    platform::WriteProfileInt(kSetting, QStringLiteral("Baud"), 57600);
    Open();
    PandorMsgPS(1);
    EXPECT_EQ(BaudList()->currentText(), "  57600bps");
    dialogs->answers = {platform::IdNo, platform::IdYes};
    ResetAll()->click();
    EXPECT_EQ(BaudList()->currentText(), "  57600bps") << "answered No";
    ResetAll()->click();
    EXPECT_EQ(BaudList()->currentText(), "    9600bps");
    EXPECT_EQ(Stored("Baud"), "57600");
    ASSERT_GE(dialogs->messages.size(), 2u);
    EXPECT_EQ(dialogs->messages[1].text, "All Reset OK?");
    EXPECT_EQ(dialogs->messages[1].flags,
              platform::MbYesNo | platform::MbIconQuestion | platform::MbDefButton2);
    EXPECT_EQ(Received(), std::vector<std::string>{"SR2"});
    Deliver();
    EXPECT_EQ(sink.received, (std::vector<Posted>{{platform::kUmRadioReset, 2, 0}}));
}

TEST_F(SetupOnTheRadio, VfoResetKeepsTheSpeedList) {
    platform::WriteProfileInt(kSetting, QStringLiteral("Baud"), 19200);
    Open();
    PandorMsgPS(1);
    dialogs->answers = {platform::IdYes};
    ResetVfo()->click();
    EXPECT_EQ(dialogs->messages.at(0).text, "VFO Reset OK?");
    EXPECT_EQ(BaudList()->currentText(), "  19200bps");
    EXPECT_EQ(Received(), std::vector<std::string>{"SR1"});
}


} // namespace
} // namespace pandor::test

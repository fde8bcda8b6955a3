// SPDX-License-Identifier: GPL-3.0-or-later
// The setup panel as the operator uses it: the profile's values shown (and
// the defaults for values that are not numbers), the device list, typing and
// stepping the transverter rows, OK and Cancel, the reset buttons, and what
// reaches the virtual transceiver.
#include "setup_panel.h"
#include "test_helpers.h"

#include <corvan.h>
#include <qxsim.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>

#include <chrono>
#include <memory>

namespace pandor::test {
namespace {

using namespace std::chrono_literals;

const QString kSetting = QStringLiteral("Setting");

QString Stored(const char* key) {
    return platform::GetProfileString(kSetting, QString::fromLatin1(key), QStringLiteral("<missing>"));
}
void Store(const char* key, const QString& value) {
    platform::WriteProfileString(kSetting, QString::fromLatin1(key), value);
}

class SetupPanelTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        // The profile starts without a "Setting" section.
        QSettings(QStringLiteral("BRAVELL"), QStringLiteral("Zephyra")).remove(kSetting);
        ASSERT_TRUE(root.isValid());
        ASSERT_TRUE(QDir(root.path()).mkpath(QStringLiteral("dev/serial/by-id")));
        env.devDir = root.filePath(QStringLiteral("dev"));
        env.byIdDir = root.filePath(QStringLiteral("dev/serial/by-id"));
        env.sysTtyDir = root.filePath(QStringLiteral("sys"));
        for (const char* name : {"ttyS0", "ttyS1", "ttyS2", "ttyUSB0", "ttyACM0"}) {
            QFile file(QDir(env.devDir).filePath(QString::fromLatin1(name)));
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        }
        ASSERT_TRUE(QFile::link(QStringLiteral("../../ttyUSB0"), StableName()));
        env.access = [](const QString& path) {
            return path.endsWith(QLatin1String("ttyS1")) ? DeviceAccess{false, QStringLiteral("dialout")}
                                                         : DeviceAccess{};
        };
        SetSerialEnvironment(env);
        dialogs = std::make_shared<platform::ScriptedDialogs>();
        platform::SetDialogProvider(dialogs);
    }
    void TearDown() override {
        PanelTest::TearDown();
        SetSerialEnvironment(SerialEnvironment{});
    }

    CSetupPanel* Open() {
        QuorelView(nullptr);
        return Panels().setup.data();
    }
    QString Dev(const char* name) const { return QDir(env.devDir).filePath(QString::fromLatin1(name)); }
    QString StableName() const { return QDir(env.byIdDir).filePath(QStringLiteral("usb-Maker_Serial-if00-port0")); }

    template <class T>
    T* Control(int id) const {
        return Panels().setup->findChild<T*>(QString::number(id));
    }
    QComboBox* PortList() const { return Control<QComboBox>(24047); }
    QComboBox* BaudList() const { return Control<QComboBox>(24053); }
    QComboBox* DialList() const { return Control<QComboBox>(24128); }
    QPushButton* Ent(int row) const { return Control<QPushButton>(24130 + row); }
    QPushButton* Ok() const { return Control<QPushButton>(24134); }
    QPushButton* Cancel() const { return Control<QPushButton>(24007); }
    QPushButton* ResetAll() const { return Control<QPushButton>(24008); }
    QPushButton* ResetVfo() const { return Control<QPushButton>(24009); }
    QWidget* Digit(int row, int position) const {
        return Panels().setup->findChild<QWidget*>(QStringLiteral("digit%1_%2").arg(row).arg(position));
    }
    QString PortShown() const { return PortList()->currentData().toString(); }

    // Keys go to the widget with the focus, as the operator's do.
    void Type(const char* keys, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = Panels().setup->focusWidget() != nullptr ? Panels().setup->focusWidget()
                                                                    : Panels().setup.data();
        for (const char* k = keys; *k != '\0'; ++k) {
            const int key = *k == '.' ? Qt::Key_Period : Qt::Key_0 + (*k - '0');
            QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(QLatin1Char(*k)));
            QCoreApplication::sendEvent(target, &press);
            target = Panels().setup->focusWidget() != nullptr ? Panels().setup->focusWidget()
                                                               : Panels().setup.data();
        }
    }
    void Key(int key) {
        QWidget* target = Panels().setup->focusWidget() != nullptr ? Panels().setup->focusWidget()
                                                                    : Panels().setup.data();
        PressKey(target, key);
    }
    void Mouse(QWidget* widget, QEvent::Type type, Qt::MouseButton button) {
        const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
        QMouseEvent event(type, at, widget->mapToGlobal(at), button,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &event);
    }

    QTemporaryDir root;
    SerialEnvironment env;
    std::shared_ptr<platform::ScriptedDialogs> dialogs;
};

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
                                  Dev("ttyS1") + "  (no access)", Dev("ttyS2"), "Built-in simulator"}));
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
    [](const testing::TestParamInfo<ShareCase>& info) { return std::string(info.param.name); });

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

// ------------------------------------------------------------ entry

TEST_F(SetupPanelTest, TypedFrequencyWithThePeriodIsTakenByEnt) {
    CSetupPanel* panel = Open();
    PandorMsgPS(1);
    Ent(0)->click();
    ASSERT_TRUE(panel->inEntry());
    EXPECT_EQ(panel->rowShown(0), "--.---.---.---");
    EXPECT_EQ(panel->focusWidget(), Ent(0));
    for (int row = 1; row < 4; ++row) {
        EXPECT_FALSE(Ent(row)->isEnabled()) << row;
    }
    EXPECT_TRUE(Ent(0)->isEnabled());
    EXPECT_FALSE(Ok()->isEnabled());
    EXPECT_FALSE(Cancel()->isEnabled());
    EXPECT_FALSE(ResetAll()->isEnabled());
    EXPECT_FALSE(ResetVfo()->isEnabled());
    EXPECT_FALSE(PortList()->isEnabled());

    Type("144.1");
    EXPECT_EQ(panel->rowShown(0), "   144.1--.---");
    EXPECT_EQ(panel->frequency(0), 0) << "taken only when entry ends";
    Ent(0)->click();
    EXPECT_FALSE(panel->inEntry());
    EXPECT_EQ(panel->frequency(0), 144'100'000);
    EXPECT_EQ(panel->rowShown(0), "   144.100.000");
    for (int row = 0; row < 4; ++row) {
        EXPECT_TRUE(Ent(row)->isEnabled()) << row;
    }
    EXPECT_TRUE(Ok()->isEnabled() && Cancel()->isEnabled() && ResetAll()->isEnabled() && ResetVfo()->isEnabled());
    EXPECT_EQ(Stored("TransFreqMain"), "<missing>") << "the profile waits for OK";
}

TEST_F(SetupPanelTest, EleventhDigitEndsEntryAndKeypadKeysCount) {
    CSetupPanel* panel = Open();
    Ent(2)->click();
    Type("0043", Qt::KeypadModifier);
    Type("2");
    Type(".", Qt::KeypadModifier); // five digits typed: ignored
    Type("100000");
    EXPECT_FALSE(panel->inEntry());
    EXPECT_EQ(panel->frequency(2), 432'100'000);
}

TEST_F(SetupPanelTest, KeypadDecimalCommaActsAsThePeriod) {
    CSetupPanel* panel = Open();
    Ent(1)->click();
    Type("28");
    QKeyEvent comma(QEvent::KeyPress, Qt::Key_Comma, Qt::KeypadModifier, QStringLiteral(","));
    QCoreApplication::sendEvent(panel->focusWidget(), &comma);
    Type("5");
    Key(Qt::Key_Return);
    EXPECT_FALSE(panel->inEntry());
    EXPECT_TRUE(panel->isVisible()) << "Enter ends entry, it does not close the panel";
    EXPECT_EQ(panel->frequency(1), 28'500'000);
}

TEST_F(SetupPanelTest, EntWithoutTypingAndEscKeepTheFrequency) {
    Store("TransFreqSub", QStringLiteral("00028000000"));
    CSetupPanel* panel = Open();
    Ent(1)->click();
    Ent(1)->click();
    EXPECT_FALSE(panel->inEntry());
    EXPECT_EQ(panel->frequency(1), 28'000'000);

    Ent(1)->click();
    Type("5");
    Key(Qt::Key_Escape);
    EXPECT_FALSE(panel->inEntry());
    EXPECT_TRUE(panel->isVisible()) << "Esc ends entry, it does not cancel the panel";
    EXPECT_EQ(panel->frequency(1), 28'000'000);
    EXPECT_EQ(panel->rowShown(1), "    28.000.000");

    Key(Qt::Key_Escape);
    EXPECT_FALSE(panel->isVisible());
}

TEST_F(SetupPanelTest, OtherKeysDoNothingDuringEntry) {
    CSetupPanel* panel = Open();
    Ent(3)->click();
    Type("1");
    for (int key : {Qt::Key_A, Qt::Key_Minus, Qt::Key_Backspace, Qt::Key_Delete}) {
        PressKey(panel->focusWidget(), key);
    }
    EXPECT_TRUE(panel->inEntry());
    EXPECT_EQ(panel->rowShown(3), "1-.---.---.---");
    Ok()->click(); // disabled: nothing happens
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(Stored("Baud"), "<missing>");
}

TEST_F(SetupPanelTest, ResetButtonsStayOffAfterEntryWhileTheRadioIsOff) {
    CSetupPanel* panel = Open();
    Ent(0)->click();
    PandorMsgPS(1); // during entry: remembered, shown afterwards
    EXPECT_FALSE(ResetAll()->isEnabled());
    Key(Qt::Key_Escape);
    EXPECT_TRUE(ResetAll()->isEnabled() && ResetVfo()->isEnabled());
    PandorMsgPS(0);
    Ent(0)->click();
    Ent(0)->click();
    EXPECT_FALSE(panel->inEntry());
    EXPECT_FALSE(ResetAll()->isEnabled() || ResetVfo()->isEnabled());
}

TEST_F(SetupPanelTest, ClosingDuringEntryEndsItWithoutChange) {
    Store("TransFreqMain", QStringLiteral("00116000000"));
    CSetupPanel* panel = Open();
    Ent(0)->click();
    Type("5");
    panel->close();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_FALSE(panel->inEntry());
    EXPECT_EQ(panel->frequency(0), 116'000'000);
    QuorelView(nullptr);
    EXPECT_TRUE(Ok()->isEnabled());
}

// ------------------------------------------------------------ mouse

TEST_F(SetupPanelTest, MousePressesStepTheDigitUnderThePointer) {
    Store("TransFreqMain", QStringLiteral("00144000000"));
    CSetupPanel* panel = Open();
    // Position 4 is the 1 MHz digit: left steps down, right up.
    Mouse(Digit(0, 4), QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(panel->frequency(0), 143'000'000);
    EXPECT_TRUE(panel->stepTimerRunning(0));
    EXPECT_EQ(panel->stepTimerInterval(0), CSetupPanel::kFirstDelayMs);
    panel->OnStepTimer(0);
    EXPECT_EQ(panel->frequency(0), 142'000'000);
    EXPECT_EQ(panel->stepTimerInterval(0), CSetupPanel::kRepeatMs);
    panel->OnStepTimer(0);
    EXPECT_EQ(panel->frequency(0), 141'000'000);
    EXPECT_EQ(panel->rowShown(0), "   141.000.000");
    Mouse(Digit(0, 4), QEvent::MouseButtonRelease, Qt::LeftButton);
    EXPECT_FALSE(panel->stepTimerRunning(0));
    panel->OnStepTimer(0); // a tick already queued does nothing after the release
    EXPECT_EQ(panel->frequency(0), 141'000'000);

    Mouse(Digit(0, 10), QEvent::MouseButtonPress, Qt::RightButton);
    Mouse(Digit(0, 10), QEvent::MouseButtonDblClick, Qt::RightButton); // a quick second click
    Mouse(Digit(0, 10), QEvent::MouseButtonRelease, Qt::RightButton);
    EXPECT_EQ(panel->frequency(0), 141'000'002);
    EXPECT_EQ(Stored("TransFreqMain"), "00144000000") << "the profile waits for OK";
}

TEST_F(SetupPanelTest, ReleaseStopsEveryRowsTimerAndTheTopHolds) {
    Store("TransFreqUp", QStringLiteral("99999999999"));
    CSetupPanel* panel = Open();
    Mouse(Digit(3, 0), QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_EQ(panel->frequency(3), 99'999'999'999);
    panel->PressDigit(1, 0, true);
    EXPECT_TRUE(panel->stepTimerRunning(1) && panel->stepTimerRunning(3));
    Mouse(Digit(3, 0), QEvent::MouseButtonRelease, Qt::RightButton);
    for (int row = 0; row < 4; ++row) {
        EXPECT_FALSE(panel->stepTimerRunning(row)) << row;
    }
    Mouse(Digit(2, 0), QEvent::MouseButtonPress, Qt::LeftButton);
    EXPECT_EQ(panel->frequency(2), 0) << "nothing below zero";
}

TEST_F(SetupPanelTest, MouseDoesNothingDuringEntry) {
    CSetupPanel* panel = Open();
    Ent(0)->click();
    Mouse(Digit(1, 10), QEvent::MouseButtonPress, Qt::RightButton);
    EXPECT_EQ(panel->frequency(1), 0);
    EXPECT_FALSE(panel->stepTimerRunning(1));
}

// ------------------------------------------------------------ the radio

class SetupOnTheRadio : public SetupPanelTest {
protected:
    void SetUp() override {
        SetupPanelTest::SetUp();
        ASSERT_TRUE(radio.start()) << radio.lastError();
        ASSERT_EQ(link.Conn("QR-7730", radio.devicePath().c_str(), 9600, "n", 8, 1, 1), 1);
        radio.clearReceived();
    }
    void TearDown() override {
        SetupPanelTest::TearDown();
        link.Close();
        radio.stop();
    }
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

    qxsim::Radio radio;
    CCorvan link;
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

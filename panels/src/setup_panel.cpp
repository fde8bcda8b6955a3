// SPDX-License-Identifier: GPL-3.0-or-later
#include "setup_panel.h"

#include <corvan.h>
#include <kestrin.h>
#include <pandor.h>
#include <platform.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QShortcut>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include <algorithm>
#include <climits>
#include <pwd.h>
#include <unistd.h>

namespace pandor {

namespace {

constexpr int kComFrameId = 24045;
constexpr int kPortLabelId = 24046;
constexpr int kPortListId = 24047;
constexpr int kBaudLabelId = 24052;
constexpr int kBaudListId = 24053;
constexpr int kTransFrameId = 24050;
constexpr std::array<int, CSetupPanel::kRows> kRowLabelIds{24054, 24056, 24059, 24062};
constexpr std::array<int, CSetupPanel::kRows> kEntIds{24130, 24131, 24132, 24133};
constexpr int kResetFrameId = 24048;
constexpr int kResetAllId = 24008;
constexpr int kResetVfoId = 24009;
constexpr int kDialFrameId = 24049;
constexpr int kDialListId = 24128;
constexpr int kOkId = 24134;
constexpr int kCancelId = 24007;
constexpr int kShareFrameId = 24140;
constexpr std::array<int, CSetupPanel::kShares> kShareIds{24141, 24142};

// The sharing servers' switches and ports in section "Sharing", with the
// ports the console uses when none (or a damaged one) is stored.
struct ShareKeys {
    const char* on;
    const char* port;
    int defaultPort;
    const char* caption;
};
constexpr std::array<ShareKeys, CSetupPanel::kShares> kShareKeys{{
    {"RigctlOn", "RigctlPort", 4532, "Share as &rigctld (port %1)"},
    {"FlrigOn", "FlrigPort", 12345, "Share as &flrig (port %1)"},
}};

constexpr std::array<const char*, CSetupPanel::kRows> kRowCaptions{"&Main Band", "&Sub Band", "SATL &Down",
                                                                   "SATL &Up"};
constexpr std::array<const char*, CSetupPanel::kRows> kRowKeys{"TransFreqMain", "TransFreqSub", "TransFreqDown",
                                                               "TransFreqUp"};
constexpr std::array<int, 5> kBauds{4800, 9600, 19200, 38400, 57600};
constexpr std::array<const char*, 5> kBaudTexts{"    4800bps", "    9600bps", "  19200bps", "  38400bps",
                                                "  57600bps"};
constexpr int kDefaultBaudIndex = 1;
constexpr int kDefaultDialWait = 5;

// The rows' pixel layout: label, eleven digits with three dots, "Hz", "Ent".
constexpr int kRowTop = 96;
constexpr int kRowPitch = 27;
constexpr int kRowHeight = 26;
constexpr int kDigitLeft = 97;
constexpr int kDigitWidth = 13;
constexpr int kDotWidth = 5;

constexpr int kEntryPortRole = Qt::UserRole;
constexpr int kPermittedRole = Qt::UserRole + 1;
constexpr int kGroupRole = Qt::UserRole + 2;
// The list's last entry: type a network address.
constexpr int kAddressEntryRole = Qt::UserRole + 3;
const char* const kAddressEntryText = "Network address...";
// The help page about operating the radio over the network.
constexpr int kRemoteHelpContext = 404;

bool IsNetworkAddress(const QString& text) {
    std::string error;
    const auto address = corvan::ParsePortAddress(text.trimmed().toStdString(), &error);
    return address && address->kind != corvan::PortAddress::Kind::Device;
}

QString Setting() { return QStringLiteral("Setting"); }
QString Sharing() { return QStringLiteral("Sharing"); }

QString UserName() {
    if (const passwd* entry = ::getpwuid(::geteuid())) {
        return QString::fromLocal8Bit(entry->pw_name);
    }
    return qEnvironmentVariable("USER");
}

CStaticEx* BoldLabel(QWidget* parent, int id, const QRect& rect, unsigned size) {
    auto* label = new CStaticEx(parent, id, rect);
    label->SetTextSize(size);
    label->SetTextBold(1);
    label->setObjectName(QString::number(id));
    return label;
}

CButtonEx* Button(QWidget* parent, int id, const QRect& rect, const QString& caption) {
    auto* button = new CButtonEx(parent, id, rect, caption);
    button->setObjectName(QString::number(id));
    return button;
}

// A drop-down list whose closed box shortens a long entry in the middle, so
// that both the folder and the end of a device name stay readable.
class CDeviceList final : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
        option.currentText = fontMetrics().elidedText(option.currentText, Qt::ElideMiddle, field.width() - 4);
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
};

QComboBox* DropList(QWidget* parent, int id, const QRect& rect, QComboBox* list = nullptr) {
    if (list == nullptr) {
        list = new QComboBox(parent);
    }
    list->setGeometry(rect);
    list->setObjectName(QString::number(id));
    return list;
}

} // namespace

CSetupPanel::CSetupPanel(QWidget* parent) : CPanelBase(kSetupTraits, parent) {}

CSetupPanel::~CSetupPanel() = default;

// ------------------------------------------------------------ opening

void CSetupPanel::OnInitDialog() {
    m_entryRow = -1;
    for (Row& row : m_rows) {
        row.hz = 0;
    }
    m_timers = std::make_unique<platform::TimerTable>([this](int id) { OnStepTimer(id - 1); });
    CreateControls();
    LoadProfile();
    m_powerOn = false;
    ApplyEnabling();
}

void CSetupPanel::CreateControls() {
    auto* com = new CStaticFrameEx(this, kComFrameId, QRect(6, 4, 329, 72), QStringLiteral("Com Port"));
    com->SetTextSize(16);
    m_port = DropList(this, kPortListId, QRect(62, 22, 264, 22), new CDeviceList(this));
    m_baud = DropList(this, kBaudListId, QRect(62, 48, 110, 22));
    AttachMnemonic(BoldLabel(this, kPortLabelId, QRect(14, 22, 46, 22), 16), QStringLiteral("&Port"), m_port);
    AttachMnemonic(BoldLabel(this, kBaudLabelId, QRect(14, 48, 46, 22), 16), QStringLiteral("&Baud"), m_baud);
    for (const char* text : kBaudTexts) {
        m_baud->addItem(QString::fromLatin1(text));
    }
    connect(m_port, &QComboBox::activated, this, [this](int index) { OnPortChosen(index); });

    auto* trans = new CStaticFrameEx(this, kTransFrameId, QRect(6, 78, 329, 134),
                                     QStringLiteral("Transverter Freq."));
    trans->SetTextSize(16);
    for (int r = 0; r < kRows; ++r) {
        Row& row = m_rows[static_cast<std::size_t>(r)];
        const int top = kRowTop + r * kRowPitch;
        row.ent = Button(this, kEntIds[static_cast<std::size_t>(r)], QRect(282, top + 1, 44, kRowHeight - 2),
                         QStringLiteral("Ent"));
        connect(row.ent, &QPushButton::clicked, this, [this, r] { PressEnt(r); });
        AttachMnemonic(BoldLabel(this, kRowLabelIds[static_cast<std::size_t>(r)], QRect(10, top, 86, kRowHeight), 16),
                       QString::fromLatin1(kRowCaptions[static_cast<std::size_t>(r)]), row.ent);
        int x = kDigitLeft;
        std::size_t dot = 0;
        for (int i = 0; i < kRowDigits; ++i) {
            auto* digit = new CStaticEx(this, 0, QRect(x, top, kDigitWidth, kRowHeight), QString(),
                                        Qt::AlignCenter);
            digit->SetCharType(QStringLiteral("Arial"));
            digit->SetTextSize(22);
            digit->SetTextBold(1);
            digit->setObjectName(QStringLiteral("digit%1_%2").arg(r).arg(i));
            digit->installEventFilter(this);
            row.digits[static_cast<std::size_t>(i)] = digit;
            x += kDigitWidth;
            if (dot < kDotAfter.size() && kDotAfter[dot] == i) {
                auto* label = new CStaticEx(this, 0, QRect(x, top, kDotWidth, kRowHeight), QString(),
                                            Qt::AlignCenter);
                label->SetCharType(QStringLiteral("Arial"));
                label->SetTextSize(22);
                label->SetTextBold(1);
                row.dots[dot++] = label;
                x += kDotWidth;
            }
        }
        auto* hz = BoldLabel(this, 0, QRect(x + 2, top, 22, kRowHeight), 16);
        hz->setText(QStringLiteral("Hz"));
    }

    auto* reset = new CStaticFrameEx(this, kResetFrameId, QRect(6, 216, 128, 68), QStringLiteral("Reset"));
    reset->SetTextSize(16);
    m_resetAll = Button(this, kResetAllId, QRect(16, 242, 50, 30), QStringLiteral("&ALL"));
    m_resetVfo = Button(this, kResetVfoId, QRect(74, 242, 50, 30), QStringLiteral("&VFO"));
    connect(m_resetAll, &QPushButton::clicked, this, [this] { ResetRadio(Reset::Full); });
    connect(m_resetVfo, &QPushButton::clicked, this, [this] { ResetRadio(Reset::Vfo); });

    QChar marked;
    auto* dial = new CStaticFrameEx(this, kDialFrameId, QRect(140, 216, 84, 68),
                                    StripMnemonic(QStringLiteral("Dial &Wait"), &marked));
    dial->SetTextSize(16);
    m_dialWait = DropList(this, kDialListId, QRect(150, 246, 64, 22));
    for (int i = 0; i <= 9; ++i) {
        m_dialWait->addItem(QStringLiteral("    %1").arg(i));
    }
    auto* shortcut = new QShortcut(QKeySequence(QStringLiteral("Alt+") + marked.toUpper()), this);
    connect(shortcut, &QShortcut::activated, m_dialWait, [this] {
        if (m_dialWait != nullptr) m_dialWait->setFocus(Qt::ShortcutFocusReason);
    });

    m_ok = Button(this, kOkId, QRect(234, 222, 100, 28), QStringLiteral("&OK"));
    m_cancel = Button(this, kCancelId, QRect(234, 256, 100, 28), QStringLiteral("&Cancel"));
    connect(m_ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(m_cancel, &QPushButton::clicked, this, [this] { OnCancel(); });

    auto* share = new CStaticFrameEx(this, kShareFrameId, QRect(6, 288, 329, 66), QStringLiteral("Share the Radio"));
    share->SetTextSize(16);
    for (int i = 0; i < kShares; ++i) {
        auto* box = new QCheckBox(this);
        box->setObjectName(QString::number(kShareIds[static_cast<std::size_t>(i)]));
        box->setGeometry(16, 306 + i * 22, 310, 20);
        m_share[static_cast<std::size_t>(i)] = box;
    }
}

// ------------------------------------------------------------ profile

void CSetupPanel::FillPortList() {
    m_port->clear();
    int widest = 0;
    const QFontMetrics metrics(m_port->font());
    auto add = [&](const QString& text, const QString& path, const DeviceAccess& access) {
        m_port->addItem(text, path);
        const int index = m_port->count() - 1;
        m_port->setItemData(index, access.permitted, kPermittedRole);
        m_port->setItemData(index, access.group, kGroupRole);
        m_port->setItemData(index, path, Qt::ToolTipRole);
        widest = std::max(widest, metrics.horizontalAdvance(text));
    };
    for (const SerialDevice& device : ScanSerialDevices(CurrentSerialEnvironment())) {
        add(device.access.permitted ? device.path : device.path + QStringLiteral("  (no access)"), device.path,
            device.access);
    }
    // Typing an address adds it to the list; the device list stays.
    add(QString::fromLatin1(kAddressEntryText), QString(), {true, QString()});
    m_port->setItemData(m_port->count() - 1, true, kAddressEntryRole);
    m_port->setItemData(m_port->count() - 1,
                        QStringLiteral("A radio served on the network: rfc2217://HOST:PORT, tcp://HOST:PORT, "
                                       "rfc2217+tls://, tcp+tls://"),
                        Qt::ToolTipRole);
    const QString simulator = QString::fromLatin1(kBuiltInSimulatorChoice);
    add(simulator, simulator, {});
    // Long device names are shown whole in the open list.
    m_port->view()->setMinimumWidth(widest + 32);
}

void CSetupPanel::SelectStoredPort() {
    const SerialEnvironment& env = CurrentSerialEnvironment();
    QString path = platform::GetProfileString(Setting(), QStringLiteral("PortName"), QString()).trimmed();
    if (path.isEmpty()) {
        const int number = platform::GetProfileInt(Setting(), QStringLiteral("PortNo"), INT_MIN);
        if (number == INT_MIN) {
            m_port->setCurrentIndex(-1); // no port chosen yet
            return;
        }
        path = TraditionalPortPath(number, env.devDir);
    }
    int index = m_port->findData(path, kEntryPortRole);
    if (index < 0) {
        // The stored device is not on the machine now (an adapter unplugged):
        // it stays the choice, so that OK does not change the port behind
        // the operator's back.
        // A network address is kept as typed (there is no device to find).
        const bool present = QFileInfo::exists(path) || IsNetworkAddress(path);
        index = m_port->count() - 2; // before the address entry and the simulator
        m_port->insertItem(index, present ? path : path + QStringLiteral("  (not found)"), path);
        m_port->setItemData(index, true, kPermittedRole);
        m_port->setItemData(index, path, Qt::ToolTipRole);
    }
    m_port->setCurrentIndex(index);
    m_lastPortIndex = index;
}

void CSetupPanel::LoadProfile() {
    FillPortList();
    SelectStoredPort();

    const int baud = platform::GetProfileInt(Setting(), QStringLiteral("Baud"), kBauds[kDefaultBaudIndex]);
    const auto found = std::find(kBauds.begin(), kBauds.end(), baud);
    m_baud->setCurrentIndex(found != kBauds.end() ? static_cast<int>(found - kBauds.begin()) : kDefaultBaudIndex);

    // A missing key is written with its default at once; a value that is
    // not a number from 0 to 9 shows the default until OK writes it.
    const QString missing = QStringLiteral("\x01");
    if (platform::GetProfileString(Setting(), QStringLiteral("DialWait"), missing) == missing) {
        platform::WriteProfileInt(Setting(), QStringLiteral("DialWait"), kDefaultDialWait);
    }
    int dialWait = platform::GetProfileInt(Setting(), QStringLiteral("DialWait"), kDefaultDialWait);
    if (dialWait < 0 || dialWait > 9) {
        dialWait = kDefaultDialWait;
    }
    m_dialWait->setCurrentIndex(dialWait);

    for (int r = 0; r < kRows; ++r) {
        const QString key = QString::fromLatin1(kRowKeys[static_cast<std::size_t>(r)]);
        const QString text = platform::GetProfileString(Setting(), key, QStringLiteral("0"));
        m_rows[static_cast<std::size_t>(r)].hz = ParseTransverterText(text.toStdString());
        ShowRow(r);
    }

    for (int i = 0; i < kShares; ++i) {
        const ShareKeys& keys = kShareKeys[static_cast<std::size_t>(i)];
        int port = platform::GetProfileInt(Sharing(), QString::fromLatin1(keys.port), keys.defaultPort);
        if (port < 1 || port > 65535) {
            port = keys.defaultPort;
        }
        QCheckBox* box = m_share[static_cast<std::size_t>(i)];
        box->setText(QString::fromLatin1(keys.caption).arg(port));
        box->setChecked(platform::GetProfileInt(Sharing(), QString::fromLatin1(keys.on), 0) == 1);
    }
}

void CSetupPanel::SavePort() {
    const int index = m_port->currentIndex();
    if (index < 0) {
        return; // nothing chosen: the profile keeps what it has
    }
    if (m_port->itemData(index, kAddressEntryRole).toBool()) {
        return; // the address was not given
    }
    const QString path = m_port->itemData(index, kEntryPortRole).toString();
    platform::WriteProfileString(Setting(), QStringLiteral("PortName"), path);
    if (const auto number = TraditionalPortNumber(path, CurrentSerialEnvironment().devDir)) {
        platform::WriteProfileInt(Setting(), QStringLiteral("PortNo"), *number);
    }
}

void CSetupPanel::AskAddress() {
    QDialog ask(this);
    ask.setWindowTitle(QStringLiteral("Network address"));
    auto* layout = new QVBoxLayout(&ask);
    auto* caption = new QLabel(
        QStringLiteral("The radio's address on the network, e.g. rfc2217+tls://radio.example:3334\n"
                       "(rfc2217://, tcp://, rfc2217+tls:// or tcp+tls://, then HOST:PORT)."),
        &ask);
    auto* field = new QLineEdit(&ask);
    field->setAccessibleName(QStringLiteral("Network address"));
    const QString current = m_port->itemData(m_lastPortIndex, kEntryPortRole).toString();
    field->setText(IsNetworkAddress(current) ? current : QStringLiteral("rfc2217+tls://"));
    auto* problem = new QLabel(&ask);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help,
                                         &ask);
    layout->addWidget(caption);
    layout->addWidget(field);
    layout->addWidget(problem);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::helpRequested, &ask, [] { platform::ShowHelp(kRemoteHelpContext); });
    connect(buttons, &QDialogButtonBox::rejected, &ask, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, &ask, [&] {
        std::string error;
        const auto address = corvan::ParsePortAddress(field->text().trimmed().toStdString(), &error);
        if (!address || address->kind == corvan::PortAddress::Kind::Device) {
            problem->setText(address ? QStringLiteral("Not a network address: it begins with rfc2217://, tcp://, "
                                                      "rfc2217+tls:// or tcp+tls://.")
                                     : QString::fromStdString(error));
            return;
        }
        ask.accept();
    });
    if (ask.exec() != QDialog::Accepted) {
        m_port->setCurrentIndex(m_lastPortIndex);
        return;
    }
    std::string error;
    const auto address = corvan::ParsePortAddress(field->text().trimmed().toStdString(), &error);
    const QString text = QString::fromStdString(corvan::PortAddressText(*address));
    int index = m_port->findData(text, kEntryPortRole);
    if (index < 0) {
        index = m_port->count() - 2; // before the address entry and the simulator
        m_port->insertItem(index, text, text);
        m_port->setItemData(index, true, kPermittedRole);
        m_port->setItemData(index, text, Qt::ToolTipRole);
    }
    m_port->setCurrentIndex(index);
    m_lastPortIndex = index;
}

void CSetupPanel::OnPortChosen(int index) {
    if (index >= 0 && m_port->itemData(index, kAddressEntryRole).toBool()) {
        AskAddress();
        return;
    }
    m_lastPortIndex = index;
    if (index < 0 || m_port->itemData(index, kPermittedRole).toBool()) {
        return;
    }
    const QString path = m_port->itemData(index, kEntryPortRole).toString();
    const QString group = m_port->itemData(index, kGroupRole).toString();
    platform::MessageBox(PermissionMessage(path, group, UserName()), QStringLiteral("Zephyra"),
                         platform::MbOk | platform::MbIconWarning, this);
}

void CSetupPanel::OnViewAgain() {
    if (inEntry()) {
        EndEntry(false);
    }
    ReleaseDigits();
    LoadProfile();
    ApplyEnabling();
}

void CSetupPanel::OnOK() {
    if (inEntry()) {
        return;
    }
    ReleaseDigits();
    SavePort();
    const int baudIndex = m_baud->currentIndex();
    platform::WriteProfileInt(Setting(), QStringLiteral("Baud"),
                              baudIndex >= 0 && baudIndex < static_cast<int>(kBauds.size())
                                  ? kBauds[static_cast<std::size_t>(baudIndex)]
                                  : kBauds[kDefaultBaudIndex]);
    const int dialWait = m_dialWait->currentIndex();
    platform::WriteProfileInt(Setting(), QStringLiteral("DialWait"), dialWait >= 0 ? dialWait : kDefaultDialWait);

    bool written = false;
    for (int r = 0; r < kRows; ++r) {
        const QString key = QString::fromLatin1(kRowKeys[static_cast<std::size_t>(r)]);
        const QString text = QString::fromStdString(FormatTransverterText(m_rows[static_cast<std::size_t>(r)].hz));
        if (platform::GetProfileString(Setting(), key, QStringLiteral("0")) != text) {
            platform::WriteProfileString(Setting(), key, text);
            written = true;
        }
    }
    // The console takes the new offsets over when the menu's reply comes.
    if (written && link() != nullptr) {
        link()->ConnEX("R", 25, 0, 0, 0, "");
    }
    for (int i = 0; i < kShares; ++i) {
        platform::WriteProfileInt(Sharing(), QString::fromLatin1(kShareKeys[static_cast<std::size_t>(i)].on),
                                  m_share[static_cast<std::size_t>(i)]->isChecked() ? 1 : 0);
    }
    // The console switches its sharing servers as the profile now says.
    platform::PostToMainWindow(kUmSetupSaved, 0, 0);
    EndPanel(QDialog::Accepted);
}

void CSetupPanel::OnCancel() {
    if (inEntry()) {
        EndEntry(false);
    }
    ReleaseDigits();
    EndPanel(QDialog::Rejected);
}

// ------------------------------------------------------------ power, reset

void CSetupPanel::OnPowerState(std::uint32_t state) {
    if (state > 1 || (state == 1) == m_powerOn) {
        return;
    }
    m_powerOn = state == 1;
    ApplyEnabling();
}

bool CSetupPanel::ResetRadio(Reset kind) {
    const QString question = kind == Reset::Full ? QStringLiteral("All Reset OK?")
                                                 : QStringLiteral("VFO Reset OK?");
    // The question runs an event loop of its own, in which the console may
    // destroy this panel: nothing of it is touched after that.
    const QPointer<CSetupPanel> alive(this);
    const int answer = platform::MessageBox(
        question, QStringLiteral("Zephyra"),
        platform::MbYesNo | platform::MbIconQuestion | platform::MbDefButton2, this);
    if (alive.isNull() || answer != platform::IdYes || link() == nullptr) {
        return false;
    }
    // The console answers UM_RADIO_RESET by clearing the transverter
    // offsets and quick memories; a reset the link refused must not do that.
    const auto code = static_cast<std::uint32_t>(kind);
    if (link()->ConnSR(code) == 0) {
        return false;
    }
    platform::PostToMainWindow(platform::kUmRadioReset, code, 0);
    if (kind == Reset::Full && m_baud != nullptr) {
        // The radio comes back at 9600 bps; saved only by OK.
        m_baud->setCurrentIndex(kDefaultBaudIndex);
    }
    return true;
}

} // namespace pandor

// SPDX-License-Identifier: GPL-3.0-or-later
#include "memory_table.h"

#include "memory_channels.h"

#include <corvan.h>
#include <platform.h>

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace memory_table {

using memory_channels::Channel;
using memory_channels::LinkResult;
namespace mc = memory_channels;

namespace {

constexpr int kOperationRetryMs = 20;
const char* const kToneTypes[] = {"OFF", "TONE", "CTCSS", "DCS"};
const char* const kShifts[] = {"OFF", "+", "-", "="};

QString Q(const std::string& text) {
    return QString::fromLatin1(text.c_str());
}

std::string Upper(const QString& text) {
    return text.trimmed().toUpper().toStdString();
}

QString RadioModeName(int mode) {
    switch (mode) {
    case 6: return QStringLiteral("FSK");
    case 7: return QStringLiteral("CW-R");
    case 9: return QStringLiteral("FSK-R");
    default: return Q(mc::ModeName(mode));
    }
}

QString Megahertz(std::int64_t hz) {
    return hz == 0 ? QString() : Q(mc::FormatMegahertz(hz));
}

std::optional<int> OnOff(const QString& text) {
    const std::string t = Upper(text);
    if (t == "ON" || t == "1" || t == "YES" || t == "L.OUT") {
        return 1;
    }
    if (t == "OFF" || t == "0" || t == "NO" || t.empty()) {
        return 0;
    }
    return std::nullopt;
}

QString ToneValueText(const Channel& c) {
    switch (c.toneType) {
    case 1: return Q(mc::ToneText(c.toneNumber));
    case 2: return Q(mc::ToneText(c.ctcssNumber));
    case 3: return Q(mc::DcsText(c.dcsCode));
    default: return {};
    }
}

// A channel as MW writes it: every field of both halves, whether in use or
// not, so that no change the write makes is hidden.
QString Describe(const Channel& c) {
    if (c.empty()) {
        return QStringLiteral("(empty)");
    }
    const auto step = [](int mode, int index) {
        const bool listed = index >= 0 && index < static_cast<int>(mc::StepHundredths(mode).size());
        return listed ? Q(mc::StepText(mode, index)) : QStringLiteral("#%1").arg(index);
    };
    const auto value = [](const std::string& text, int number) {
        return text.empty() ? QStringLiteral("#%1").arg(number) : Q(text);
    };
    QString text = QStringLiteral("%1 %2 step %3").arg(Megahertz(c.rxFrequency), RadioModeName(c.rxMode),
                                                       step(c.rxMode, c.rxStep));
    if (c.txFrequency != 0) {
        text += QStringLiteral(" / TX %1 %2 step %3")
                    .arg(Megahertz(c.txFrequency), RadioModeName(c.txMode), step(c.txMode, c.txStep));
    } else {
        text += QStringLiteral(" / TX none");
    }
    text += QStringLiteral(" | %1 (tone %2, CTCSS %3, DCS %4)")
                .arg(QLatin1String(kToneTypes[std::clamp(c.toneType, 0, 3)]),
                     value(mc::ToneText(c.toneNumber), c.toneNumber), value(mc::ToneText(c.ctcssNumber), c.ctcssNumber),
                     value(mc::DcsText(c.dcsCode), c.dcsCode));
    text += QStringLiteral(" | shift %1 offset %2")
                .arg(QLatin1String(kShifts[std::clamp(c.shift, 0, 3)]), Q(mc::FormatMegahertz(c.offset)));
    text += QStringLiteral(" | REV %1 | grp %2 | L.OUT %3 | \"%4\"")
                .arg(c.reverse ? QStringLiteral("ON") : QStringLiteral("OFF"))
                .arg(c.group)
                .arg(c.lockout ? QStringLiteral("ON") : QStringLiteral("OFF"))
                .arg(Q(c.name));
    return text;
}

// The smaller family's MW carries frequency, mode, lock-out, tone on/off and
// the tone number (from 1) of each half, and nothing else.
bool SmallerFamily() {
    return CCorvan::GetModelType() == corvan::kModelQX410;
}

QString ChangeLine(const Channel& before, const Channel& after) {
    return QStringLiteral("%1: %2  ->  %3").arg(Q(mc::ChannelLabel(after.number)), Describe(before), Describe(after));
}

QString NumberList(const std::vector<int>& numbers) {
    QStringList labels;
    for (int number : numbers) {
        labels << Q(mc::ChannelLabel(number));
    }
    return labels.isEmpty() ? QStringLiteral("none") : labels.join(QStringLiteral(", "));
}

} // namespace

struct MemoryTableWindow::Data {
    std::vector<Channel> radio;
    std::vector<Channel> edited;
    // The running read or write.
    std::vector<int> rows;      // table rows to go through
    std::size_t position = 0;
    bool cancelRequested = false;
    // Before the first MW every channel to be written is read again; the
    // backup is made of what that read found.
    bool checking = false;
    std::vector<Channel> fresh;
    QString conflict;           // a channel changed in the radio since the table read it
    std::vector<int> written;   // channel numbers
    std::vector<int> differing;
    std::vector<int> refused;
    QString backupPath;
};

namespace {
// The waits of one channel's read: a device gone ends them at once.
mc::LinkTimes TimesOf(const ConsoleHooks& hooks) {
    mc::LinkTimes times;
    times.closedForGoneDevice = hooks.closeIfDeviceGone;
    return times;
}
} // namespace

MemoryTableWindow::MemoryTableWindow(ConsoleHooks hooks, QWidget* parent)
    : QDialog(parent), m_hooks(std::move(hooks)), m_data(std::make_unique<Data>()) {
    setWindowTitle(QStringLiteral("Memory Channels"));
    setObjectName(QStringLiteral("MemoryChannels"));
    setModal(false);
    m_backupFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
                     QStringLiteral("/memory-backups");
    const int count = ChannelCount();
    m_data->radio.resize(static_cast<std::size_t>(count));
    for (int row = 0; row < count; ++row) {
        m_data->radio[static_cast<std::size_t>(row)].number = row == mc::kChannelCount ? mc::kCallChannel : row;
    }
    m_data->edited = m_data->radio;
    BuildWindow();
    ShowAll();
    UpdateButtons();
}

MemoryTableWindow::~MemoryTableWindow() = default;

const std::vector<Channel>& MemoryTableWindow::radioChannels() const {
    return m_data->radio;
}

const std::vector<Channel>& MemoryTableWindow::editedChannels() const {
    return m_data->edited;
}

int MemoryTableWindow::ChannelCount() const {
    // The smaller family has channels 00..99 and no way to address the call
    // channel with MR or MW.
    const int identification = m_hooks.identification ? m_hooks.identification() : 19;
    return identification == 18 || identification == 17 ? 100 : mc::kChannelCount + 1;
}

int MemoryTableWindow::RowOf(int number) const {
    for (std::size_t row = 0; row < m_data->edited.size(); ++row) {
        if (m_data->edited[row].number == number) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

CCorvan* MemoryTableWindow::Link() const {
    return m_hooks.link ? m_hooks.link() : nullptr;
}

std::uint32_t MemoryTableWindow::VersionType() const {
    CCorvan* link = Link();
    return link != nullptr ? link->GetType() : 0;
}

void MemoryTableWindow::BuildWindow() {
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QHBoxLayout;
    m_readButton = new QPushButton(QStringLiteral("&Read from radio"), this);
    m_writeButton = new QPushButton(QStringLiteral("&Write to radio"), this);
    m_importButton = new QPushButton(QStringLiteral("&Import CSV..."), this);
    m_exportButton = new QPushButton(QStringLiteral("&Export CSV..."), this);
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    for (QPushButton* button : {m_readButton, m_writeButton, m_importButton, m_exportButton, m_cancelButton}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    m_progress = new QProgressBar(this);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    buttons->addWidget(m_progress, 1);
    layout->addLayout(buttons);

    m_table = new QTableWidget(ChannelCount(), kColumnCount, this);
    m_table->setHorizontalHeaderLabels({QStringLiteral("Channel"), QStringLiteral("RX MHz"), QStringLiteral("TX MHz"),
                                        QStringLiteral("Mode"), QStringLiteral("Tone"), QStringLiteral("Tone value"),
                                        QStringLiteral("Shift"), QStringLiteral("Offset MHz"),
                                        QStringLiteral("Reverse"), QStringLiteral("Step kHz"),
                                        QStringLiteral("Group"), QStringLiteral("Lock-out"), QStringLiteral("Name")});
    m_table->verticalHeader()->setVisible(false);
    m_table->verticalHeader()->setDefaultSectionSize(22);
    m_table->setAlternatingRowColors(true);
    m_table->setSelectionMode(QAbstractItemView::ContiguousSelection);
    layout->addWidget(m_table, 1);
    m_status = new QLabel(QStringLiteral("Read the radio's channels to begin."), this);
    layout->addWidget(m_status);

    const int widths[kColumnCount] = {58, 96, 96, 58, 58, 74, 46, 84, 60, 66, 46, 62, 90};
    for (int column = 0; column < kColumnCount; ++column) {
        m_table->setColumnWidth(column, widths[column]);
    }
    resize(960, 560);

    m_stepTimer = new QTimer(this);
    m_stepTimer->setSingleShot(true);
    connect(m_stepTimer, &QTimer::timeout, this, [this] { Step(); });
    connect(m_readButton, &QPushButton::clicked, this, [this] { ReadFromRadio(); });
    connect(m_writeButton, &QPushButton::clicked, this, [this] { WriteToRadio(); });
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { CancelActivity(); });
    connect(m_importButton, &QPushButton::clicked, this, [this] {
        platform::FileDialogRequest request;
        request.title = QStringLiteral("Import channels");
        request.filter = QStringLiteral("Channel lists (*.csv);;All files (*)");
        if (const auto path = platform::FileDialog(request, this)) {
            ImportCsv(*path);
        }
    });
    connect(m_exportButton, &QPushButton::clicked, this, [this] {
        platform::FileDialogRequest request;
        request.save = true;
        request.title = QStringLiteral("Export channels");
        request.fileName = QStringLiteral("channels.csv");
        request.filter = QStringLiteral("Channel lists (*.csv)");
        request.defaultSuffix = QStringLiteral("csv");
        if (const auto path = platform::FileDialog(request, this)) {
            ExportCsv(*path);
        }
    });
    connect(m_table, &QTableWidget::cellChanged, this, [this](int row, int column) { OnCellChanged(row, column); });
}

QString MemoryTableWindow::statusText() const {
    return m_status->text();
}

void MemoryTableWindow::ShowChannel(int row) {
    const Channel& c = m_data->edited[static_cast<std::size_t>(row)];
    const Channel& radio = m_data->radio[static_cast<std::size_t>(row)];
    const bool showing = m_showing;
    m_showing = true;
    QStringList texts(kColumnCount);
    texts[kChannel] = Q(mc::ChannelLabel(c.number));
    if (!c.empty()) {
        texts[kRxFreq] = Megahertz(c.rxFrequency);
        texts[kTxFreq] = Megahertz(c.txFrequency);
        texts[kMode] = RadioModeName(c.rxMode);
        texts[kToneType] = QLatin1String(kToneTypes[std::clamp(c.toneType, 0, 3)]);
        texts[kToneValue] = ToneValueText(c);
        texts[kShift] = QLatin1String(kShifts[std::clamp(c.shift, 0, 3)]);
        texts[kOffset] = c.offset == 0 ? QStringLiteral("0.000000") : Megahertz(c.offset);
        texts[kReverse] = c.reverse ? QStringLiteral("ON") : QStringLiteral("OFF");
        texts[kStep] = Q(mc::StepText(c.rxMode, c.rxStep));
        texts[kGroup] = QString::number(c.group);
        texts[kLockout] = c.lockout ? QStringLiteral("ON") : QStringLiteral("OFF");
        texts[kName] = QString::fromLatin1(c.name.c_str());
    }
    const bool changed = m_read && !(c == radio);
    for (int column = 0; column < kColumnCount; ++column) {
        QTableWidgetItem* item = m_table->item(row, column);
        if (item == nullptr) {
            item = new QTableWidgetItem;
            m_table->setItem(row, column, item);
        }
        item->setText(texts[column]);
        if (column == kRxFreq || column == kTxFreq || column == kOffset || column == kStep || column == kToneValue) {
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        }
        Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (column != kChannel && m_read && m_activity == Activity::Idle) {
            flags |= Qt::ItemIsEditable;
        }
        item->setFlags(flags);
        item->setBackground(changed ? QBrush(QColor(0xFF, 0xF0, 0xA0)) : QBrush());
    }
    m_showing = showing;
}

void MemoryTableWindow::ShowAll() {
    for (int row = 0; row < m_table->rowCount(); ++row) {
        ShowChannel(row);
    }
}

void MemoryTableWindow::UpdateButtons() {
    const bool idle = m_activity == Activity::Idle;
    m_readButton->setEnabled(idle);
    m_writeButton->setEnabled(idle && m_read);
    m_importButton->setEnabled(idle && m_read);
    m_exportButton->setEnabled(idle && m_read);
    m_cancelButton->setEnabled(!idle);
}

std::vector<int> MemoryTableWindow::ChangedChannels() const {
    std::vector<int> rows;
    for (std::size_t row = 0; row < m_data->edited.size(); ++row) {
        if (!(m_data->edited[row] == m_data->radio[row])) {
            rows.push_back(static_cast<int>(row));
        }
    }
    return rows;
}

// ------------------------------------------------------------ read

void MemoryTableWindow::ReadFromRadio() {
    if (m_activity != Activity::Idle) {
        return;
    }
    if (Link() == nullptr || !CCorvan::IsOpen()) {
        platform::MessageBox(QStringLiteral("The radio is not connected."), QStringLiteral("Zephyra"),
                             platform::MbOk | platform::MbIconWarning, this);
        return;
    }
    if (m_hooks.operationRunning && m_hooks.operationRunning()) {
        platform::MessageBox(QStringLiteral("The console is busy with an operation. Try again when it has ended."),
                             QStringLiteral("Zephyra"), platform::MbOk | platform::MbIconWarning, this);
        return;
    }
    if (m_read && !ChangedChannels().empty() &&
        platform::MessageBox(QStringLiteral("Reading replaces the changes not yet written to the radio.\n"
                                            "Read anyway?"),
                             QStringLiteral("Zephyra"), platform::MbOkCancel | platform::MbIconQuestion |
                                                            platform::MbDefButton2,
                             this) != platform::IdOk) {
        return;
    }
    m_data->rows.clear();
    for (int row = 0; row < m_table->rowCount(); ++row) {
        m_data->rows.push_back(row);
    }
    m_data->position = 0;
    m_data->cancelRequested = false;
    m_read = false;
    m_activity = Activity::Reading;
    m_progress->setRange(0, static_cast<int>(m_data->rows.size()));
    m_progress->setValue(0);
    m_status->setText(QStringLiteral("Reading the channels..."));
    UpdateButtons();
    ShowAll();
    ScheduleStep(0);
}

void MemoryTableWindow::ScheduleStep(int milliseconds) {
    m_stepTimer->start(milliseconds);
}

void MemoryTableWindow::Step() {
    if (m_activity == Activity::Idle) {
        return;
    }
    if (m_data->cancelRequested) {
        Finish(m_activity == Activity::Reading ? QStringLiteral("The read was cancelled.")
                                               : QStringLiteral("The write was cancelled."));
        return;
    }
    // The console's operation goes first; a step starts once it has ended.
    if (m_hooks.operationRunning && m_hooks.operationRunning()) {
        ScheduleStep(kOperationRetryMs);
        return;
    }
    if (Link() == nullptr) {
        Finish(m_activity == Activity::Reading ? QStringLiteral("The link to the radio closed during the read.")
                                               : QStringLiteral("The link to the radio closed during the write."));
        return;
    }
    if (m_activity == Activity::Reading) {
        ReadStep();
    } else {
        WriteStep();
    }
}

void MemoryTableWindow::ReadStep() {
    const int row = m_data->rows[m_data->position];
    Channel channel;
    const LinkResult result =
        mc::ReadChannel(*Link(), m_data->radio[static_cast<std::size_t>(row)].number, channel, TimesOf(m_hooks));
    if (result != LinkResult::Ok) {
        const QString label = Q(mc::ChannelLabel(m_data->radio[static_cast<std::size_t>(row)].number));
        Finish(result == LinkResult::LinkClosed
                   ? QStringLiteral("The link to the radio closed during the read (at channel %1).").arg(label)
                   : QStringLiteral("Channel %1 did not answer; the read stopped.").arg(label));
        return;
    }
    channel = mc::Normalised(channel);
    m_data->radio[static_cast<std::size_t>(row)] = channel;
    m_data->edited[static_cast<std::size_t>(row)] = channel;
    ShowChannel(row);
    ++m_data->position;
    m_progress->setValue(static_cast<int>(m_data->position));
    if (m_data->position >= m_data->rows.size()) {
        m_read = true;
        int used = 0;
        for (const Channel& c : m_data->radio) {
            used += c.empty() ? 0 : 1;
        }
        Finish(QStringLiteral("%1 channels read, %2 in use.").arg(m_data->radio.size()).arg(used));
        return;
    }
    ScheduleStep(0);
}

// ------------------------------------------------------------ write

std::unique_ptr<QDialog> MakeWritePreview(const QString& changes, const QString& backupPath, QWidget* parent) {
    auto preview = std::make_unique<QDialog>(parent);
    preview->setWindowTitle(QStringLiteral("Write to radio"));
    auto* layout = new QVBoxLayout(preview.get());
    const QStringList lines = changes.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    layout->addWidget(new QLabel(QStringLiteral("%1 channels will be written.\n"
                                                "A backup of the old channels goes to:\n%2")
                                     .arg(lines.size())
                                     .arg(backupPath),
                                 preview.get()));
    // One row a channel: its number, what the radio holds now, what it will hold.
    auto* list = new QTableWidget(static_cast<int>(lines.size()), 3, preview.get());
    list->setHorizontalHeaderLabels(
        {QStringLiteral("Channel"), QStringLiteral("In the radio now"), QStringLiteral("Will be written")});
    list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    list->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    list->verticalHeader()->setVisible(false);
    // Every field of both halves must be readable: cells wrap, never elide,
    // and each row grows to its text.
    list->setWordWrap(true);
    list->setTextElideMode(Qt::ElideNone);
    list->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    for (int i = 0; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(QStringLiteral(": "));
        const QString rest = colon >= 0 ? lines[i].mid(colon + 2) : lines[i];
        const qsizetype arrow = rest.indexOf(QStringLiteral("  ->  "));
        const QString cells[3] = {colon >= 0 ? lines[i].left(colon) : QString(),
                                  arrow >= 0 ? rest.left(arrow) : rest,
                                  arrow >= 0 ? rest.mid(arrow + 6) : QString()};
        for (int column = 0; column < 3; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            item->setFlags(Qt::ItemIsEnabled);
            list->setItem(i, column, item);
        }
    }
    list->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(list, 1);
    auto* row = new QHBoxLayout;
    auto* write = new QPushButton(QStringLiteral("Write"), preview.get());
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), preview.get());
    cancel->setDefault(true);
    row->addStretch(1);
    row->addWidget(write);
    row->addWidget(cancel);
    layout->addLayout(row);
    QObject::connect(write, &QPushButton::clicked, preview.get(), &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, preview.get(), &QDialog::reject);
    preview->resize(900, 420);
    return preview;
}

bool MemoryTableWindow::ConfirmWrite(const QString& changes, const QString& backupPath) {
    if (m_confirm) {
        return m_confirm(changes, backupPath);
    }
    const std::unique_ptr<QDialog> preview = MakeWritePreview(changes, backupPath, this);
    return preview->exec() == QDialog::Accepted;
}

void MemoryTableWindow::WriteToRadio() {
    if (m_activity != Activity::Idle || !m_read) {
        return;
    }
    if (Link() == nullptr || !CCorvan::IsOpen()) {
        platform::MessageBox(QStringLiteral("The radio is not connected."), QStringLiteral("Zephyra"),
                             platform::MbOk | platform::MbIconWarning, this);
        return;
    }
    if (m_hooks.operationRunning && m_hooks.operationRunning()) {
        platform::MessageBox(QStringLiteral("The console is busy with an operation. Try again when it has ended."),
                             QStringLiteral("Zephyra"), platform::MbOk | platform::MbIconWarning, this);
        return;
    }
    const std::vector<int> rows = ChangedChannels();
    if (rows.empty()) {
        platform::MessageBox(QStringLiteral("No channel differs from the radio; nothing to write."),
                             QStringLiteral("Zephyra"), platform::MbOk | platform::MbIconInformation, this);
        return;
    }
    if (SmallerFamily()) {
        // What goes out is what the preview shows: tone number 1 where the
        // channel holds 0 (the builder takes no 0 here).
        for (int row : rows) {
            Channel& wanted = m_data->edited[static_cast<std::size_t>(row)];
            if (!wanted.empty() && wanted.toneNumber == 0) {
                wanted.toneNumber = 1;
                ShowChannel(row);
            }
        }
    }
    QString changes;
    for (int row : rows) {
        changes += ChangeLine(m_data->radio[static_cast<std::size_t>(row)], m_data->edited[static_cast<std::size_t>(row)]) +
                   QLatin1Char('\n');
    }
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString backupPath = QDir(m_backupFolder).filePath(QStringLiteral("channels-before-write-%1.csv").arg(stamp));
    if (!ConfirmWrite(changes, backupPath)) {
        return;
    }
    m_data->rows = rows;
    m_data->position = 0;
    m_data->cancelRequested = false;
    m_data->checking = true;
    m_data->fresh.clear();
    m_data->conflict.clear();
    m_data->written.clear();
    m_data->differing.clear();
    m_data->refused.clear();
    m_data->backupPath = backupPath;
    m_activity = Activity::Writing;
    m_progress->setRange(0, static_cast<int>(rows.size()));
    m_progress->setValue(0);
    m_status->setText(QStringLiteral("Checking %1 channels before the write...").arg(rows.size()));
    UpdateButtons();
    ShowAll();
    ScheduleStep(0);
}

// Reads a channel about to be written and compares it with what the table
// (and the write preview) showed as in the radio. False, with the conflict
// noted, when the radio holds something else or did not answer.
bool MemoryTableWindow::StillAsShown(int row, Channel& now) {
    const auto index = static_cast<std::size_t>(row);
    const Channel& shown = m_data->radio[index];
    const LinkResult result = mc::ReadChannel(*Link(), shown.number, now, TimesOf(m_hooks));
    if (result == LinkResult::LinkClosed) {
        Finish(QStringLiteral("The link to the radio closed during the write."));
        return false;
    }
    if (result != LinkResult::Ok) {
        m_data->conflict = QStringLiteral("Channel %1 did not answer before it was to be written.")
                               .arg(Q(mc::ChannelLabel(shown.number)));
        Finish(QStringLiteral("The write stopped at channel %1.").arg(Q(mc::ChannelLabel(shown.number))));
        return false;
    }
    now = mc::Normalised(now);
    if (mc::HoldsWhatWasShown(now, shown, mc::Seen::WholeChannel)) {
        return true;
    }
    ChangedInTheRadio(row, now);
    return false;
}

// The radio's channel is no longer what the table showed: the write stops,
// the table shows what the radio holds now, and the operator's edit keeps
// only the fields the operator changed, on top of the radio's new contents.
void MemoryTableWindow::ChangedInTheRadio(int row, const Channel& now) {
    const auto index = static_cast<std::size_t>(row);
    const Channel shown = m_data->radio[index];
    m_data->conflict = QStringLiteral("Channel %1 changed in the radio since the table read it.\n"
                                      "Shown as in the radio:  %2\nIn the radio now:  %3\n"
                                      "Nothing more was written. Your changes to it are kept on top of what "
                                      "the radio holds now; check them and write again.")
                           .arg(Q(mc::ChannelLabel(shown.number)), Describe(shown), Describe(now));
    Channel rebased = mc::ApplyChange(shown, m_data->edited[index], now);
    rebased.number = shown.number;
    m_data->radio[index] = now;
    m_data->edited[index] = rebased;
    ShowChannel(row);
    Finish(QStringLiteral("The write stopped: channel %1 changed in the radio.").arg(Q(mc::ChannelLabel(shown.number))));
}

bool MemoryTableWindow::SaveBackup() {
    QSaveFile backup(m_data->backupPath);
    // Empty channels too: restoring the backup empties them again.
    const std::string bytes = mc::ExportCsv(m_data->fresh, true);
    if (!QDir().mkpath(m_backupFolder) || !backup.open(QIODevice::WriteOnly) ||
        backup.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !backup.commit()) {
        return false;
    }
    m_lastBackup = m_data->backupPath;
    return true;
}

void MemoryTableWindow::WriteStep() {
    const int row = m_data->rows[m_data->position];
    const auto index = static_cast<std::size_t>(row);
    const Channel wanted = m_data->edited[index];
    if (m_data->checking) {
        Channel now;
        if (!StillAsShown(row, now)) {
            return;
        }
        m_data->fresh.push_back(now);
        if (++m_data->position < m_data->rows.size()) {
            ScheduleStep(0);
            return;
        }
        // The backup first: without it nothing is written.
        if (!SaveBackup()) {
            const QString path = m_data->backupPath;
            m_data->backupPath.clear();
            m_data->conflict = QStringLiteral("The backup could not be saved to\n%1").arg(path);
            Finish(QStringLiteral("Nothing was written."));
            return;
        }
        m_data->checking = false;
        m_data->position = 0;
        m_status->setText(QStringLiteral("Writing %1 channels...").arg(m_data->rows.size()));
        ScheduleStep(0);
        return;
    }
    // One channel a step, through the writer: read again right before its
    // MW (a change made meanwhile on the radio or from the console is not
    // overwritten), written, read back.
    const Channel shown = m_data->radio[index];
    const mc::WriteResult result = mc::WriteChange(*Link(), shown, mc::Seen::WholeChannel, wanted);
    switch (result.status) {
    case mc::WriteStatus::LinkClosed:
        Finish(QStringLiteral("The link to the radio closed during the write."));
        return;
    case mc::WriteStatus::NotRead:
        m_data->conflict = QStringLiteral("Channel %1 did not answer before it was to be written.")
                               .arg(Q(mc::ChannelLabel(shown.number)));
        Finish(QStringLiteral("The write stopped at channel %1.").arg(Q(mc::ChannelLabel(shown.number))));
        return;
    case mc::WriteStatus::Changed:
        ChangedInTheRadio(row, result.before);
        return;
    case mc::WriteStatus::Refused:
        m_data->refused.push_back(wanted.number);
        break;
    case mc::WriteStatus::NotConfirmed:
        m_data->differing.push_back(wanted.number);
        break;
    case mc::WriteStatus::Written:
        m_data->written.push_back(wanted.number);
        break;
    }
    if (result.readBack) {
        // What the radio holds now, as read back.
        Channel after = result.after;
        after.number = shown.number;
        m_data->radio[index] = after;
        if (result.status == mc::WriteStatus::Written) {
            m_data->edited[index] = after;
        }
    }
    ++m_data->position;
    ShowChannel(row);
    m_progress->setValue(static_cast<int>(m_data->position));
    if (m_data->position >= m_data->rows.size()) {
        Finish(QStringLiteral("The write has ended."));
        return;
    }
    ScheduleStep(0);
}

void MemoryTableWindow::CancelActivity() {
    if (m_activity != Activity::Idle) {
        m_data->cancelRequested = true;
        ScheduleStep(0);
    }
}

void MemoryTableWindow::Finish(const QString& status) {
    const Activity ended = m_activity;
    m_stepTimer->stop();
    m_activity = Activity::Idle;
    m_status->setText(status);
    if (ended == Activity::Writing) {
        std::vector<int> notWritten;
        for (std::size_t i = 0; i < m_data->rows.size(); ++i) {
            const int number = m_data->edited[static_cast<std::size_t>(m_data->rows[i])].number;
            if (std::find(m_data->written.begin(), m_data->written.end(), number) == m_data->written.end()) {
                notWritten.push_back(number);
            }
        }
        QString report = status + QStringLiteral("\n\nWritten: %1").arg(NumberList(m_data->written));
        if (!notWritten.empty()) {
            report += QStringLiteral("\nNot written: %1").arg(NumberList(notWritten));
        }
        if (!m_data->refused.empty()) {
            report += QStringLiteral("\nRefused by the link: %1").arg(NumberList(m_data->refused));
        }
        if (!m_data->differing.empty()) {
            report += QStringLiteral("\nRead back different from what was written: %1")
                          .arg(NumberList(m_data->differing));
        }
        if (!m_data->backupPath.isEmpty() && !m_data->checking) {
            report += QStringLiteral("\n\nThe old channels are saved in\n%1").arg(m_data->backupPath);
        }
        if (!m_data->conflict.isEmpty()) {
            report = m_data->conflict + QStringLiteral("\n\n") + report;
        }
        m_lastReport = report;
        const bool clean = notWritten.empty() && m_data->differing.empty() && m_data->refused.empty() &&
                           m_data->conflict.isEmpty();
        m_status->setText(clean ? QStringLiteral("%1 channels written and read back.").arg(m_data->written.size())
                                : status);
        ShowAll();
        UpdateButtons();
        platform::MessageBox(report, QStringLiteral("Zephyra"),
                             platform::MbOk | (clean ? platform::MbIconInformation : platform::MbIconWarning), this);
    } else {
        ShowAll();
        UpdateButtons();
    }
    emit activityEnded();
}

void MemoryTableWindow::RunToEnd() {
    while (m_activity != Activity::Idle) {
        if (m_stepTimer->isActive()) {
            m_stepTimer->stop();
        }
        Step();
    }
}

// ------------------------------------------------------------ editing

void MemoryTableWindow::OnCellChanged(int row, int column) {
    if (m_showing) {
        return;
    }
    QTableWidgetItem* item = m_table->item(row, column);
    EditCell(row, static_cast<Column>(column), item != nullptr ? item->text() : QString());
}

bool MemoryTableWindow::EditCell(int row, Column column, const QString& text) {
    if (row < 0 || row >= static_cast<int>(m_data->edited.size()) || !m_read || m_activity != Activity::Idle) {
        return false;
    }
    Channel c = m_data->edited[static_cast<std::size_t>(row)];
    const std::string value = text.trimmed().toStdString();
    QString problem;
    const auto refuse = [&problem](const QString& why) { problem = why; };
    if (c.empty() && column != kRxFreq && column != kChannel) {
        refuse(QStringLiteral("Enter the receive frequency first."));
    } else if (SmallerFamily() && (column == kShift || column == kOffset || column == kReverse || column == kStep ||
                                   column == kGroup || column == kName)) {
        refuse(QStringLiteral("This radio's channels hold only frequency, mode, lock-out and tone; "
                              "the %1 cannot be written to them.")
                   .arg(column == kShift    ? QStringLiteral("shift")
                        : column == kOffset   ? QStringLiteral("offset")
                        : column == kReverse  ? QStringLiteral("reverse setting")
                        : column == kStep     ? QStringLiteral("step")
                        : column == kGroup    ? QStringLiteral("group")
                                              : QStringLiteral("name")));
    } else if (SmallerFamily() && column == kToneType && Upper(text) != "OFF" && Upper(text) != "TONE" &&
               Upper(text) != "0" && Upper(text) != "1") {
        refuse(QStringLiteral("This radio's channels hold the tone type OFF or TONE only."));
    } else {
        switch (column) {
        case kChannel:
            refuse(QStringLiteral("The channel number cannot be changed."));
            break;
        case kRxFreq:
            if (value.empty()) {
                c = Channel{};
                c.number = m_data->edited[static_cast<std::size_t>(row)].number;
            } else if (const auto hz = mc::ParseMegahertz(value)) {
                c.rxFrequency = *hz;
            } else {
                refuse(QStringLiteral("The frequency is a number of megahertz, such as 145.500."));
            }
            break;
        case kTxFreq:
            if (value.empty()) {
                c.txFrequency = 0;
            } else if (const auto hz = mc::ParseMegahertz(value)) {
                c.txFrequency = *hz;
            } else {
                refuse(QStringLiteral("The frequency is a number of megahertz, such as 145.500."));
            }
            break;
        case kMode:
            if (const auto mode = mc::ModeFromName(Upper(text))) {
                c.rxMode = *mode;
                // As in the channel editor: the step index stays, cut to the list.
                c.rxStep = std::min(c.rxStep, static_cast<int>(mc::StepHundredths(c.rxMode).size()) - 1);
            } else {
                refuse(QStringLiteral("The mode is one of LSB, USB, CW, FM, AM, FSK, CW-R, FSK-R."));
            }
            break;
        case kToneType: {
            const std::string t = Upper(text);
            int type = -1;
            for (int i = 0; i < 4; ++i) {
                if (t == kToneTypes[i] || t == std::to_string(i)) {
                    type = i;
                }
            }
            if (type < 0) {
                refuse(QStringLiteral("The tone type is OFF, TONE, CTCSS or DCS."));
            } else {
                c.toneType = type;
                // Choosing a kind with no tone chosen yet takes its first tone (shown in the table).
                if (type == 1 && c.toneNumber == 0) {
                    c.toneNumber = 1;
                } else if (type == 2 && c.ctcssNumber == 0) {
                    c.ctcssNumber = 1;
                }
            }
            break;
        }
        case kToneValue:
            if (c.toneType == 1) {
                if (const auto n = mc::ToneNumberOf(value)) {
                    c.toneNumber = *n;
                } else {
                    refuse(QStringLiteral("The radio has no tone %1 Hz.").arg(text.trimmed()));
                }
            } else if (c.toneType == 2) {
                if (const auto n = mc::CtcssNumberOf(value)) {
                    c.ctcssNumber = *n;
                } else {
                    refuse(QStringLiteral("The radio has no CTCSS tone %1 Hz.").arg(text.trimmed()));
                }
            } else if (c.toneType == 3) {
                if (const auto n = mc::DcsCodeOf(value)) {
                    c.dcsCode = *n;
                } else {
                    refuse(QStringLiteral("The radio has no DCS code %1.").arg(text.trimmed()));
                }
            } else {
                refuse(QStringLiteral("Choose a tone type first."));
            }
            break;
        case kShift: {
            const std::string t = Upper(text);
            int shift = -1;
            for (int i = 0; i < 4; ++i) {
                if (t == kShifts[i]) {
                    shift = i;
                }
            }
            if (shift < 0) {
                refuse(QStringLiteral("The shift is OFF, +, - or =."));
            } else {
                c.shift = shift;
            }
            break;
        }
        case kOffset:
            if (const auto hz = mc::ParseMegahertz(value.empty() ? "0" : value)) {
                c.offset = *hz;
            } else {
                refuse(QStringLiteral("The offset is a number of megahertz, such as 0.600."));
            }
            break;
        case kReverse:
        case kLockout:
            if (const auto on = OnOff(text)) {
                (column == kReverse ? c.reverse : c.lockout) = *on;
            } else {
                refuse(QStringLiteral("Enter ON or OFF."));
            }
            break;
        case kStep:
            if (const auto step = mc::StepIndexOf(c.rxMode, value)) {
                c.rxStep = *step;
            } else {
                QStringList steps;
                for (std::size_t i = 0; i < mc::StepHundredths(c.rxMode).size(); ++i) {
                    steps << Q(mc::StepText(c.rxMode, static_cast<int>(i)));
                }
                refuse(QStringLiteral("The steps of this mode are %1 kHz.").arg(steps.join(QStringLiteral(", "))));
            }
            break;
        case kGroup:
            if (value.size() == 1 && value[0] >= '0' && value[0] <= '9') {
                c.group = value[0] - '0';
            } else {
                refuse(QStringLiteral("The group is 0 to 9."));
            }
            break;
        case kName: {
            const QString name = text;
            bool latin1 = true;
            for (QChar ch : name) {
                latin1 = latin1 && ch.unicode() <= 0xFF;
            }
            if (!latin1) {
                refuse(QStringLiteral("The name holds a character the radio cannot show."));
            } else {
                c.name = name.toLatin1().toStdString();
            }
            break;
        }
        case kColumnCount:
            refuse(QStringLiteral("No such column."));
            break;
        }
    }
    if (problem.isEmpty()) {
        c = mc::Normalised(c);
        CCorvan fallback;
        CCorvan& link = Link() != nullptr ? *Link() : fallback;
        const std::string why = mc::CheckChannel(c, mc::LinkBandCheck(link), VersionType());
        if (!why.empty()) {
            problem = Q(why);
            problem[0] = problem[0].toUpper();
            problem += QLatin1Char('.');
        }
    }
    if (!problem.isEmpty()) {
        ShowChannel(row); // the cell shows the channel's value again
        platform::MessageBox(QStringLiteral("Channel %1: %2\nThe value was not taken.")
                                 .arg(Q(mc::ChannelLabel(c.number)), problem),
                             QStringLiteral("Zephyra"), platform::MbOk | platform::MbIconWarning, this);
        return false;
    }
    m_data->edited[static_cast<std::size_t>(row)] = c;
    ShowChannel(row);
    ShowPending();
    return true;
}

void MemoryTableWindow::ShowPending() {
    const std::size_t changed = ChangedChannels().size();
    m_status->setText(changed == 0 ? QStringLiteral("The table holds what the radio holds.")
                                   : QStringLiteral("%1 channels changed, not yet written to the radio.").arg(changed));
}

// ------------------------------------------------------------ CSV

void MemoryTableWindow::ImportCsv(const QString& path) {
    if (m_activity != Activity::Idle) {
        return;
    }
    if (!m_read) {
        platform::MessageBox(QStringLiteral("Read the radio's channels first: the import changes the table, and "
                                            "\"Write to radio\" compares it with what the radio holds."),
                             QStringLiteral("Zephyra"), platform::MbOk | platform::MbIconWarning, this);
        return;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        platform::MessageBox(QStringLiteral("The file %1 cannot be read.").arg(path), QStringLiteral("Zephyra"),
                             platform::MbOk | platform::MbIconError, this);
        return;
    }
    // A channel list is a few tens of kilobytes; anything far beyond is not one.
    constexpr qint64 kLargestList = 4 * 1024 * 1024;
    if (file.size() > kLargestList) {
        platform::MessageBox(QStringLiteral("%1 was not imported: it is too large to be a channel list.").arg(path),
                             QStringLiteral("Zephyra"), platform::MbOk | platform::MbIconError, this);
        return;
    }
    const QByteArray bytes = file.readAll();
    CCorvan fallback;
    CCorvan& link = Link() != nullptr ? *Link() : fallback;
    // A field the file carries no column for keeps what the radio holds.
    const auto radioHolds = [this](int number) {
        const int row = RowOf(number);
        return row < 0 ? Channel{} : m_data->radio[static_cast<std::size_t>(row)];
    };
    mc::CsvImport result = mc::ImportCsv(bytes.toStdString(), mc::LinkBandCheck(link), VersionType(), radioHolds);
    if (!result.error.empty()) {
        platform::MessageBox(QStringLiteral("%1 was not imported: %2.").arg(path, Q(result.error)),
                             QStringLiteral("Zephyra"), platform::MbOk | platform::MbIconError, this);
        return;
    }
    int imported = 0;
    std::vector<int> emptied;
    std::vector<int> leftOut; // names, offsets and the like this radio's channels cannot hold
    for (const Channel& channel : result.channels) {
        const int row = RowOf(channel.number);
        if (row < 0) {
            result.skipped.push_back({0, std::to_string(channel.number), "this radio has no such channel"});
            continue;
        }
        Channel wanted = mc::Normalised(channel);
        if (SmallerFamily()) {
            const Channel& held = m_data->radio[static_cast<std::size_t>(row)];
            const Channel carried = mc::AsSmallerFamilyWrites(wanted, held);
            if (!wanted.empty() && !(carried == mc::AsSmallerFamilyWrites(wanted, wanted))) {
                leftOut.push_back(channel.number);
            }
            wanted = carried;
        }
        if (wanted.empty() && !m_data->radio[static_cast<std::size_t>(row)].empty()) {
            emptied.push_back(channel.number);
        }
        m_data->edited[static_cast<std::size_t>(row)] = wanted;
        ShowChannel(row);
        ++imported;
    }
    QString summary = QStringLiteral("%1 channels imported from %2; they go to the radio with \"Write to radio\".")
                          .arg(imported)
                          .arg(QFileInfo(path).fileName());
    if (!result.ignoredColumns.empty()) {
        QStringList columns;
        for (const std::string& column : result.ignoredColumns) {
            columns << QString::fromStdString(column);
        }
        summary += QStringLiteral("\n\nColumns this radio cannot hold, ignored: %1").arg(columns.join(QStringLiteral(", ")));
    }
    if (!emptied.empty()) {
        summary += QStringLiteral("\n\nChannels the file gives as empty, to be emptied by the write: %1")
                       .arg(NumberList(emptied));
    }
    if (!result.missingColumns.empty()) {
        QStringList columns;
        for (const std::string& column : result.missingColumns) {
            columns << QString::fromStdString(column);
        }
        summary += QStringLiteral("\n\nColumns the file lacks (those fields keep what the radio holds): %1")
                       .arg(columns.join(QStringLiteral(", ")));
    }
    if (!result.notes.empty()) {
        summary += QStringLiteral("\n\nValues not taken:");
        for (const mc::CsvRowProblem& note : result.notes) {
            summary += QStringLiteral("\n  line %1 (Location %2): %3")
                           .arg(note.line)
                           .arg(QString::fromStdString(note.location), QString::fromStdString(note.reason));
        }
    }
    if (!leftOut.empty()) {
        summary += QStringLiteral("\n\nThis radio's channels hold only frequency, mode, lock-out and tone; the "
                                  "other values of these channels were left as the radio holds them: %1")
                       .arg(NumberList(leftOut));
    }
    if (!result.skipped.empty()) {
        summary += QStringLiteral("\n\nRows skipped (%1):").arg(result.skipped.size());
        for (const mc::CsvRowProblem& problem : result.skipped) {
            summary += problem.line > 0 ? QStringLiteral("\n  line %1").arg(problem.line) : QStringLiteral("\n ");
            summary += QStringLiteral(" (Location %1): %2")
                           .arg(QString::fromStdString(problem.location), QString::fromStdString(problem.reason));
        }
    }
    m_lastReport = summary;
    ShowPending();
    platform::MessageBox(summary, QStringLiteral("Zephyra"),
                         platform::MbOk | (result.skipped.empty() ? platform::MbIconInformation : platform::MbIconWarning),
                         this);
}

void MemoryTableWindow::ExportCsv(const QString& path) {
    const std::string bytes = mc::ExportCsv(m_data->edited);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        platform::MessageBox(QStringLiteral("The file %1 cannot be written.").arg(path), QStringLiteral("Zephyra"),
                             platform::MbOk | platform::MbIconError, this);
        return;
    }
    m_status->setText(QStringLiteral("Channels exported to %1.").arg(path));
}

// Esc: the window goes as with Close, and so does a running read or write.
void MemoryTableWindow::reject() {
    if (m_activity != Activity::Idle) {
        m_data->cancelRequested = true;
        Step();
    }
    QDialog::reject();
}

void MemoryTableWindow::closeEvent(QCloseEvent* event) {
    // Closing ends a running read or write between two channels.
    if (m_activity != Activity::Idle) {
        m_data->cancelRequested = true;
        Step();
    }
    event->accept();
}

} // namespace memory_table

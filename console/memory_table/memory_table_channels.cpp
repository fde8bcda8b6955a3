// SPDX-License-Identifier: GPL-3.0-or-later
// The "Memory Channels" window's channels: as the radio holds them and as
// edited, a cell's text taken under the channel rules, and CSV files
// imported into the table and exported from it.
#include "memory_table_parts.h"

#include <corvan.h>
#include <platform.h>

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QSaveFile>
#include <QStringList>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>

namespace memory_table {

namespace {

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

// The position of `name` in `names` (or, where `byNumber`, the position it
// gives as a number); -1 where it is neither.
template <std::size_t N>
int PositionOf(const std::string& name, const char* const (&names)[N], bool byNumber = false) {
    int found = -1;
    for (int i = 0; i < static_cast<int>(N); ++i) {
        if (name == names[i] || (byNumber && name == std::to_string(i))) {
            found = i;
        }
    }
    return found;
}

} // namespace

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

std::vector<int> MemoryTableWindow::ChangedChannels() const {
    std::vector<int> rows;
    for (std::size_t row = 0; row < m_data->edited.size(); ++row) {
        if (!(m_data->edited[row] == m_data->radio[row])) {
            rows.push_back(static_cast<int>(row));
        }
    }
    return rows;
}

// ------------------------------------------------------------ editing
bool MemoryTableWindow::EditCell(int row, Column column, const QString& text) {
    if (row < 0 || row >= static_cast<int>(m_data->edited.size()) || !m_read || m_activity != Activity::Idle) {
        return false;
    }
    Channel c = m_data->edited[static_cast<std::size_t>(row)];
    const std::string value = text.trimmed().toStdString();
    QString problem;
    const auto refuse = [&problem](const QString& why) { problem = why; };
    // A frequency typed in megahertz, into `hz` or refused.
    const auto takeMegahertz = [&](std::int64_t& hz) {
        if (const auto parsed = mc::ParseMegahertz(value)) {
            hz = *parsed;
        } else {
            refuse(QStringLiteral("The frequency is a number of megahertz, such as 145.500."));
        }
    };
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
            } else {
                takeMegahertz(c.rxFrequency);
            }
            break;
        case kTxFreq:
            if (value.empty()) {
                c.txFrequency = 0;
            } else {
                takeMegahertz(c.txFrequency);
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
            const int type = PositionOf(Upper(text), kToneTypes, true);
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
            const int shift = PositionOf(Upper(text), kShifts);
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

} // namespace memory_table

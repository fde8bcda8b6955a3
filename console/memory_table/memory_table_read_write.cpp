// SPDX-License-Identifier: GPL-3.0-or-later
// The "Memory Channels" window's reads and writes of the radio, one channel
// a step: the read of every channel, and the write of the changed ones (a
// check of each, the backup, then each channel through the channel writer,
// channel_writer.cpp, which alone makes an MW), and the report of a write.
#include "memory_table_parts.h"

#include <corvan.h>
#include <platform.h>

#include <QDateTime>
#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QSaveFile>
#include <QTableWidget>
#include <QTimer>

#include <algorithm>

namespace memory_table {

namespace {

constexpr int kOperationRetryMs = 20;

// The waits of one channel's read: a device gone ends them at once.
mc::LinkTimes TimesOf(const ConsoleHooks& hooks) {
    mc::LinkTimes times;
    times.closedForGoneDevice = hooks.closeIfDeviceGone;
    return times;
}

// A read or write starts on a connected radio while the console runs no
// operation; false, and the operator told why, otherwise.
bool ReadyToStart(const ConsoleHooks& hooks, CCorvan* link, QWidget* parent) {
    if (link == nullptr || !CCorvan::IsOpen()) {
        platform::MessageBox(QStringLiteral("The radio is not connected."), QStringLiteral("Zephyra"),
                             platform::MbOk | platform::MbIconWarning, parent);
        return false;
    }
    if (hooks.operationRunning && hooks.operationRunning()) {
        platform::MessageBox(QStringLiteral("The console is busy with an operation. Try again when it has ended."),
                             QStringLiteral("Zephyra"), platform::MbOk | platform::MbIconWarning, parent);
        return false;
    }
    return true;
}

} // namespace

// ------------------------------------------------------------ read

void MemoryTableWindow::ReadFromRadio() {
    if (m_activity != Activity::Idle) {
        return;
    }
    if (!ReadyToStart(m_hooks, Link(), this)) {
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
    if (!ReadyToStart(m_hooks, Link(), this)) {
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

} // namespace memory_table

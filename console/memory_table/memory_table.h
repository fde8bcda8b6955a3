// SPDX-License-Identifier: GPL-3.0-or-later
// memory_table.h - the "Memory Channels" window: every memory channel of the
// radio and its call channel in one table.
//
// "Read from radio" reads every channel with MR through the console's link,
// one channel (both halves) per step, so the console handles its messages
// between channels; a progress bar shows the read and Cancel ends it. Cells
// are edited in place under the channel editor's ranges and name check;
// values the radio cannot hold are refused with a message. CSV files in
// CHIRP's column layout are imported and exported. "Write to radio" shows
// what will change (every field MW writes, both halves), reads those
// channels again and stops without writing when one no longer holds what the
// preview showed, saves a backup CSV of what that read found, writes only
// the changed channels with MW (each read once more right before), reads
// each back and reports a channel whose read-back differs, and which
// channels were written when the write is interrupted.
//
// The console owns the link; the window borrows it. A step never starts
// while the console's operation runs (it waits), and the console runs no
// operation inside a step: a step is one channel's MR or MW pair and its
// answers, done without handling window messages.
//
// Threading: UI thread only.
#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CCorvan;
class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QTimer;

namespace memory_channels {
struct Channel;
}

namespace memory_table {

struct ConsoleHooks {
    // The console's link object; null while there is none (the console
    // deletes it at its end).
    std::function<CCorvan*()> link;
    std::function<bool()> operationRunning;   // the console's operation guard
    // The channels the radio has: 300 and the call channel for
    // identification 19 (and without one), 00..99 for 17 and 18.
    std::function<int()> identification;
    // Closes the link when its device has gone and says so; true when it
    // did (the console's look at the device, asked during a long wait).
    std::function<bool()> closeIfDeviceGone;
};

// What a write asks the operator before it starts: the changes and where
// the backup goes. True writes.
using WriteConfirmation = std::function<bool(const QString& changes, const QString& backupPath)>;

// The dialog that "Write to radio" shows before it writes: one line a
// channel (old -> new), the backup path, Write and Cancel (the default).
std::unique_ptr<QDialog> MakeWritePreview(const QString& changes, const QString& backupPath, QWidget* parent);

class MemoryTableWindow : public QDialog {
    Q_OBJECT
public:
    enum Column {
        kChannel, kRxFreq, kTxFreq, kMode, kToneType, kToneValue, kShift, kOffset,
        kReverse, kStep, kGroup, kLockout, kName, kColumnCount
    };
    enum class Activity { Idle, Reading, Writing };

    explicit MemoryTableWindow(ConsoleHooks hooks, QWidget* parent = nullptr);
    ~MemoryTableWindow() override;

    // ---- the operator's commands (the buttons)
    void ReadFromRadio();
    void WriteToRadio();
    void ImportCsv(const QString& path);
    void ExportCsv(const QString& path);
    void CancelActivity();

    // ---- state, for the console and tests
    Activity activity() const { return m_activity; }
    bool HasRead() const { return m_read; }
    // Channels as the radio holds them (last read or read back) and as edited.
    const std::vector<memory_channels::Channel>& radioChannels() const;
    const std::vector<memory_channels::Channel>& editedChannels() const;
    // Sets one cell as the operator would; false (and a message) when refused.
    bool EditCell(int row, Column column, const QString& text);
    QTableWidget* table() const { return m_table; }
    QProgressBar* progress() const { return m_progress; }
    QString statusText() const;
    // The last write's report: channels written, read-back differences.
    QString lastReport() const { return m_lastReport; }
    QString lastBackupPath() const { return m_lastBackup; }

    void SetWriteConfirmation(WriteConfirmation confirm) { m_confirm = std::move(confirm); }
    void SetBackupFolder(const QString& folder) { m_backupFolder = folder; }
    // Runs the steps of a read or write to their end (tests, scripts).
    void RunToEnd();
    // Esc ends a running read or write as Close does.
    void reject() override;

signals:
    void activityEnded();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Enter on a button presses it, as Space does; elsewhere (the table's
    // editor) Enter is the editor's.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildWindow();
    void ShowChannel(int row);
    void ShowAll();
    void UpdateButtons();
    void ShowPending();
    void ScheduleStep(int milliseconds);
    void Step();
    void ReadStep();
    void WriteStep();
    bool StillAsShown(int row, memory_channels::Channel& now);
    void ChangedInTheRadio(int row, const memory_channels::Channel& now);
    bool SaveBackup();
    void Finish(const QString& status);
    void OnCellChanged(int row, int column);
    bool ConfirmWrite(const QString& changes, const QString& backupPath);
    std::vector<int> ChangedChannels() const;
    int ChannelCount() const;
    int RowOf(int number) const; // -1: the radio has no such channel
    CCorvan* Link() const;
    std::uint32_t VersionType() const;

    ConsoleHooks m_hooks;
    struct Data;
    std::unique_ptr<Data> m_data;
    Activity m_activity = Activity::Idle;
    bool m_read = false;
    bool m_showing = false;
    QTableWidget* m_table = nullptr;
    QProgressBar* m_progress = nullptr;
    QLabel* m_status = nullptr;
    QPushButton* m_readButton = nullptr;
    QPushButton* m_writeButton = nullptr;
    QPushButton* m_importButton = nullptr;
    QPushButton* m_exportButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QTimer* m_stepTimer = nullptr;
    WriteConfirmation m_confirm;
    QString m_backupFolder;
    QString m_lastReport;
    QString m_lastBackup;
};

} // namespace memory_table

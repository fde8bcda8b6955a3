// SPDX-License-Identifier: GPL-3.0-or-later
// The "Memory Channels" window against the virtual transceiver: the whole
// memory read, edited, written and read back; a repeater list imported and
// written; the console's operation going first; interrupted writes.
#include "memory_table_fixture.h"

#include <corvan.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QDialog>
#include <QFile>
#include <QFontMetrics>
#include <QProgressBar>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <ostream>
#include <memory>
#include <thread>

namespace memory_table {
namespace {

using memory_channels::Channel;
using namespace std::chrono_literals;

class MemoryTableOnTheRadio : public memory_test::TableTest {
protected:
    // Tone numbers stay 0, as a radio reports them before any was chosen.
    void Store(int index, std::int64_t hz, int mode, const std::string& name, std::int64_t txHz = 0) {
        qxsim::MemoryChannel ch = memory_test::Recorded(hz, mode, name);
        if (txHz != 0)
            memory_test::AddTransmitHalf(ch, txHz);
        memory_test::Put(radio, index, ch);
    }
    static int Row(int number) { return number == memory_channels::kCallChannel ? 300 : number; }
};

TEST_F(MemoryTableOnTheRadio, WholeMemoryReadEditedWrittenAndReadBackEqual) {
    Store(0, 145'500'000, 4, "SIMPLEX");
    Store(123, 433'500'000, 4, "UHF");
    Store(295, 144'000'000, 4, "SCAN", 146'000'000);
    Store(memory_channels::kCallChannel, 145'000'000, 4, "CALL");
    ReadAll();
    ASSERT_EQ(window->table()->rowCount(), 301);
    EXPECT_EQ(window->progress()->value(), 301);
    EXPECT_EQ(window->table()->item(123, MemoryTableWindow::kName)->text(), QStringLiteral("UHF"));
    EXPECT_EQ(window->table()->item(295, MemoryTableWindow::kTxFreq)->text(), QStringLiteral("146.000000"));
    EXPECT_EQ(window->table()->item(300, MemoryTableWindow::kChannel)->text(), QStringLiteral("CALL"));
    EXPECT_TRUE(window->table()->item(7, MemoryTableWindow::kRxFreq)->text().isEmpty());

    // Edits: a new channel, a changed one, a removed transmit half, the call channel.
    struct Edit {
        int row;
        MemoryTableWindow::Column column;
        const char* text;
    };
    const Edit accepted[] = {
        {7, MemoryTableWindow::kRxFreq, "146.52"},   {7, MemoryTableWindow::kName, "CALLING"},
        {123, MemoryTableWindow::kToneType, "ctcss"}, {123, MemoryTableWindow::kToneValue, "100.0"},
        {123, MemoryTableWindow::kShift, "+"},        {123, MemoryTableWindow::kOffset, "5"},
        {295, MemoryTableWindow::kTxFreq, ""},        {300, MemoryTableWindow::kLockout, "ON"},
    };
    for (const Edit& e : accepted)
        ASSERT_TRUE(window->EditCell(e.row, e.column, QLatin1String(e.text))) << e.row << " " << e.text;
    // Refused: each leaves the channel as it was and says why.
    const Channel before = window->editedChannels()[123];
    dialogs->messages.clear();
    const Edit refused[] = {
        {123, MemoryTableWindow::kName, "A;B"},     {123, MemoryTableWindow::kToneValue, "69.3"},
        {123, MemoryTableWindow::kRxFreq, "88.1"},  {123, MemoryTableWindow::kOffset, "0.625"},
        {123, MemoryTableWindow::kStep, "7.5"},     {8, MemoryTableWindow::kName, "EMPTY"},
    };
    for (const Edit& e : refused)
        EXPECT_FALSE(window->EditCell(e.row, e.column, QLatin1String(e.text))) << e.row << " " << e.text;
    EXPECT_EQ(dialogs->messages.size(), 6u);
    EXPECT_EQ(window->editedChannels()[123], before);
    EXPECT_EQ(window->table()->item(123, MemoryTableWindow::kName)->text(), QStringLiteral("UHF"));

    radio.clearReceived();
    window->WriteToRadio();
    window->RunToEnd();
    EXPECT_EQ(shownChanges.count(QLatin1Char('\n')), 4) << shownChanges.toStdString();
    EXPECT_TRUE(shownChanges.contains(QStringLiteral("007: (empty)  ->  146.520000 FM")));
    EXPECT_EQ(radio.countOf("MW0"), 4u) << "only the changed channels are written";
    EXPECT_EQ(radio.countOf("MW1"), 3u) << "123, 295 and the call channel held something: each transmit half is "
                                            "written too (the receive half again where there is none), so no old "
                                            "one stays behind; 007 was empty";
    EXPECT_FALSE(window->lastReport().contains(QStringLiteral("different"))) << window->lastReport().toStdString();

    const qxsim::State s = radio.state();
    EXPECT_EQ(s.memory[7].half[0].frequency, 146'520'000);
    EXPECT_EQ(s.memory[7].half[0].name, "CALLING");
    EXPECT_EQ(s.memory[123].half[0].toneType, 2);
    EXPECT_EQ(s.memory[123].half[0].ctcss, 12);
    EXPECT_EQ(s.memory[123].half[0].shift, 1);
    EXPECT_EQ(s.memory[123].half[0].offset, 5'000'000);
    EXPECT_EQ(s.memory[300].half[0].lockout, 1);
    EXPECT_EQ(s.memory[0].half[0].name, "SIMPLEX") << "unchanged channels are not touched";

    // A fresh read gives back exactly what the table holds.
    const std::vector<Channel> edited = window->editedChannels();
    ReadAll();
    EXPECT_EQ(window->radioChannels(), edited);

    // The backup holds the old channels that were overwritten.
    QFile backup(shownBackup);
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    const memory_channels::CsvImport old =
        memory_channels::ImportCsv(backup.readAll().toStdString(), memory_channels::InSomeBand, 0);
    ASSERT_EQ(old.channels.size(), 4u) << "007 (empty, so that restoring empties it), 123, 295, the call channel";
    EXPECT_TRUE(old.channels[0].empty());
    EXPECT_EQ(old.channels[0].number, 7);
    EXPECT_EQ(old.channels[1].name, "UHF");
    EXPECT_EQ(old.channels[2].txFrequency, 146'000'000);
}

TEST_F(MemoryTableOnTheRadio, ChirpRepeaterListImportsWritesAndReadsBackEqual) {
    ReadAll();
    const QString path = QDir(folder.path()).filePath(QStringLiteral("repeaters.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xEF\xBB\xBF"
               "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
               "CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\r\n"
               "10,W1AW,146.940000,-,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,FM,5.00,,50W,\"Newington, CT\",,,,\r\n"
               "11,K1ABC,147.120000,+,0.600000,TSQL,88.5,123.0,023,NN,023,Tone->Tone,FM,5.00,S,50W,,,,,\r\n"
               "12,UHF RPT,442.050000,+,5.000000,DTCS,88.5,88.5,073,NN,073,Tone->Tone,NFM,12.50,,50W,,,,,\r\n"
               "13,DSTAR,145.670000,-,0.600000,,88.5,88.5,023,NN,023,Tone->Tone,DV,5.00,,50W,,CQCQCQ,,,\r\n"
               "14,BADTONE,146.610000,-,0.600000,Tone,69.3,88.5,023,NN,023,Tone->Tone,FM,5.00,,50W,,,,,\r\n");
    file.close();
    window->ImportCsv(path);
    EXPECT_TRUE(window->lastReport().contains(QStringLiteral("3 channels imported")));
    EXPECT_TRUE(window->lastReport().contains(QStringLiteral("Power, Comment")));
    EXPECT_TRUE(window->lastReport().contains(QStringLiteral("mode DV")));
    EXPECT_TRUE(window->lastReport().contains(QStringLiteral("tone 69.3")));
    EXPECT_TRUE(window->editedChannels()[13].empty());

    window->WriteToRadio();
    window->RunToEnd();
    const qxsim::State s = radio.state();
    EXPECT_EQ(s.memory[10].half[0].frequency, 146'940'000);
    EXPECT_EQ(s.memory[10].half[0].shift, 2);
    EXPECT_EQ(s.memory[10].half[0].toneType, 1);
    EXPECT_EQ(s.memory[10].half[0].toneNumber, 12);
    EXPECT_EQ(s.memory[11].half[0].lockout, 1);
    EXPECT_EQ(s.memory[11].half[0].ctcss, 18);
    EXPECT_EQ(s.memory[12].half[0].toneType, 3);
    EXPECT_EQ(s.memory[12].half[0].dcs, 14) << "073 is the fifteenth DCS code";
    EXPECT_EQ(s.memory[12].half[0].name, "UHF RPT");
    EXPECT_EQ(s.memory[13].half[0].frequency, 0) << "refused rows write nothing";

    const std::vector<Channel> edited = window->editedChannels();
    ReadAll();
    EXPECT_EQ(window->radioChannels(), edited);
    EXPECT_EQ(window->radioChannels()[12].rxStep, 3);
}

TEST_F(MemoryTableOnTheRadio, ExportedMemoryImportsBackWithoutAChange) {
    Store(3, 145'500'000, 4, "THREE");
    Store(291, 14'000'000, 3, "SCAN", 14'350'000);
    radio.modify([](qxsim::State& s) {
        s.memory[3].half[0].shift = 3;      // "=", which CHIRP's columns cannot say
        s.memory[3].half[0].reverse = 1;
        s.memory[3].half[0].group = 7;
        s.memory[3].half[0].offset = 1'600'000;
        s.memory[291].half[1].mode = 7;
    });
    const QString path = QDir(folder.path()).filePath(QStringLiteral("export.csv"));
    window->ImportCsv(path);
    EXPECT_EQ(window->activity(), MemoryTableWindow::Activity::Idle);
    ASSERT_EQ(dialogs->messages.size(), 1u) << "no import before a read";
    ReadAll();
    window->ExportCsv(path);
    ASSERT_TRUE(QFile::exists(path));
    window->ImportCsv(path);
    EXPECT_TRUE(window->lastReport().contains(QStringLiteral("2 channels imported"))) << window->lastReport().toStdString();
    EXPECT_EQ(window->editedChannels(), window->radioChannels());
    radio.clearReceived();
    dialogs->messages.clear();
    window->WriteToRadio();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(dialogs->messages[0].text.contains(QStringLiteral("nothing to write")));
    EXPECT_EQ(radio.countOf("MW"), 0u);
}

TEST_F(MemoryTableOnTheRadio, ConsoleOperationGoesFirst) {
    operationRunning = true;
    window->ReadFromRadio();
    EXPECT_EQ(window->activity(), MemoryTableWindow::Activity::Idle) << "no read starts inside an operation";
    ASSERT_EQ(dialogs->messages.size(), 1u);

    operationRunning = false;
    radio.clearReceived();
    window->ReadFromRadio();
    ASSERT_EQ(window->activity(), MemoryTableWindow::Activity::Reading);
    ASSERT_TRUE(PumpUntil([this] { return radio.countOf("MR") >= 4; }));
    operationRunning = true; // the console starts an operation between two channels
    // A step that started before runs to its end; after it no MR goes out.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const std::size_t asked = radio.countOf("MR");
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 150) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    std::this_thread::sleep_for(20ms);
    EXPECT_EQ(radio.countOf("MR"), asked);
    EXPECT_EQ(window->activity(), MemoryTableWindow::Activity::Reading);
    operationRunning = false;
    ASSERT_TRUE(PumpUntil([this] { return window->activity() == MemoryTableWindow::Activity::Idle; }));
    EXPECT_TRUE(window->HasRead());
}

TEST_F(MemoryTableOnTheRadio, CancelledWriteReportsWhatWasWrittenAndKeepsTheBackup) {
    Store(1, 145'100'000, 4, "ONE");
    ReadAll();
    for (int number : {1, 2, 3, 4}) {
        ASSERT_TRUE(window->EditCell(number, MemoryTableWindow::kRxFreq, QStringLiteral("145.%1").arg(number * 25)));
    }
    // Each read-back waits for its answer: the write is still running when cancelled.
    AnswerLate(30ms);
    radio.clearReceived();
    window->WriteToRadio();
    ASSERT_EQ(window->activity(), MemoryTableWindow::Activity::Writing);
    ASSERT_TRUE(PumpUntil([this] { return radio.countOf("MW") >= 1; }));
    window->CancelActivity();
    ASSERT_TRUE(PumpUntil([this] { return window->activity() == MemoryTableWindow::Activity::Idle; }));
    const QString report = window->lastReport();
    EXPECT_TRUE(report.contains(QStringLiteral("cancelled"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("Written: 001"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("Not written:"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("004"))) << report.toStdString();
    EXPECT_TRUE(QFile::exists(window->lastBackupPath()));
    EXPECT_LT(radio.countOf("MW"), 4u);
    // The operator's edits stay in the table for the next write.
    EXPECT_EQ(window->editedChannels()[4].rxFrequency, 145'100'000);
}

TEST_F(MemoryTableOnTheRadio, LinkLostDuringTheWriteIsReportedNotTakenForSuccess) {
    ReadAll();
    for (int number : {20, 21, 22}) {
        ASSERT_TRUE(window->EditCell(number, MemoryTableWindow::kRxFreq, QStringLiteral("433.%1").arg(number * 25)));
    }
    AnswerLate(30ms);
    radio.clearReceived();
    window->WriteToRadio();
    ASSERT_TRUE(PumpUntil([this] { return radio.countOf("MW") >= 1; }));
    link.Close();
    ASSERT_TRUE(PumpUntil([this] { return window->activity() == MemoryTableWindow::Activity::Idle; }));
    const QString report = window->lastReport();
    EXPECT_TRUE(report.contains(QStringLiteral("link to the radio closed"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("Not written:"))) << report.toStdString();
    EXPECT_TRUE(report.contains(window->lastBackupPath()));
}

TEST_F(MemoryTableOnTheRadio, DeclinedPreviewWritesNothingAndSavesNoBackup) {
    ReadAll();
    ASSERT_TRUE(window->EditCell(9, MemoryTableWindow::kRxFreq, QStringLiteral("145.3")));
    confirmWrite = false;
    radio.clearReceived();
    window->WriteToRadio();
    EXPECT_EQ(window->activity(), MemoryTableWindow::Activity::Idle);
    EXPECT_FALSE(shownChanges.isEmpty());
    EXPECT_FALSE(QFile::exists(shownBackup));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(radio.countOf("MW"), 0u);
}

TEST_F(MemoryTableOnTheRadio, BackupThatCannotBeSavedStopsTheWrite) {
    ReadAll();
    ASSERT_TRUE(window->EditCell(9, MemoryTableWindow::kRxFreq, QStringLiteral("145.3")));
    QFile blocker(QDir(folder.path()).filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    window->SetBackupFolder(blocker.fileName() + QStringLiteral("/below"));
    radio.clearReceived();
    dialogs->messages.clear();
    window->WriteToRadio();
    window->RunToEnd();
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(dialogs->messages[0].text.contains(QStringLiteral("Nothing was written")));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(radio.countOf("MW"), 0u);
}

// The radio's channel changed after the table read it (from the front
// panel, or from the console): the write stops before its first MW, says
// which channel and both versions, and the table shows what the radio now
// holds. Whether the change came before the preview or while it was shown.
struct ChangedRow {
    const char* name;
    bool duringPreview;
};
std::ostream& operator<<(std::ostream& out, const ChangedRow& row) { return out << row.name; }

class ChangedInTheRadio : public MemoryTableOnTheRadio, public ::testing::WithParamInterface<ChangedRow> {};

TEST_P(ChangedInTheRadio, WriteStopsAndWritesNothing) {
    Store(6, 145'500'000, 4, "SIX");
    Store(7, 145'600'000, 4, "OLD");
    ReadAll();
    ASSERT_TRUE(window->EditCell(6, MemoryTableWindow::kName, QStringLiteral("SIXTY")));
    ASSERT_TRUE(window->EditCell(7, MemoryTableWindow::kName, QStringLiteral("NEW")));
    const auto change = [this] {
        memory_test::PutReceiveHalf(radio, 7, {.frequency = 14'195'000, .mode = 2, .lockout = 1, .name = ""});
    };
    if (GetParam().duringPreview) {
        window->SetWriteConfirmation([&](const QString&, const QString& backup) {
            shownBackup = backup;
            change();
            return true;
        });
    } else {
        change();
    }
    radio.clearReceived();
    window->WriteToRadio();
    window->RunToEnd();
    EXPECT_EQ(radio.countOf("MW"), 0u) << "not even the channel before it";
    const qxsim::State s = radio.state();
    EXPECT_EQ(s.memory[7].half[0].frequency, 14'195'000);
    EXPECT_EQ(s.memory[7].half[0].mode, 2);
    EXPECT_EQ(s.memory[7].half[0].lockout, 1);
    EXPECT_EQ(s.memory[6].half[0].name, "SIX");
    const QString report = window->lastReport();
    EXPECT_TRUE(report.contains(QStringLiteral("Channel 007 changed in the radio"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("145.600000 FM"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("14.195000 USB"))) << report.toStdString();
    EXPECT_FALSE(report.contains(QStringLiteral("written and read back")));
    EXPECT_FALSE(QFile::exists(shownBackup)) << "no backup of a record that was never the radio's";
    EXPECT_EQ(window->radioChannels()[7].rxFrequency, 14'195'000) << "the table shows the radio now";
    EXPECT_EQ(window->editedChannels()[7].name, "NEW") << "the operator's edit stays";

    // Written again, the preview says what the radio holds and the backup
    // keeps it.
    window->SetWriteConfirmation([this](const QString& changes, const QString& backup) {
        shownChanges = changes;
        shownBackup = backup;
        return true;
    });
    window->WriteToRadio();
    window->RunToEnd();
    EXPECT_TRUE(shownChanges.contains(QStringLiteral("007: 14.195000 USB"))) << shownChanges.toStdString();
    EXPECT_EQ(radio.state().memory[7].half[0].name, "NEW");
    QFile backup(shownBackup);
    ASSERT_TRUE(backup.open(QIODevice::ReadOnly));
    const memory_channels::CsvImport old =
        memory_channels::ImportCsv(backup.readAll().toStdString(), memory_channels::InSomeBand, 0);
    ASSERT_EQ(old.channels.size(), 2u);
    EXPECT_EQ(old.channels[1].rxFrequency, 14'195'000);
    EXPECT_EQ(old.channels[1].lockout, 1);
}

const ChangedRow kChanges[] = {{"BeforeThePreview", false}, {"WhileThePreviewIsShown", true}};
INSTANTIATE_TEST_SUITE_P(When, ChangedInTheRadio, ::testing::ValuesIn(kChanges),
                         [](const ::testing::TestParamInfo<ChangedRow>& row) { return std::string(row.param.name); });

// Every field the write changes shows in the preview, the ones not in use
// too (an offset with shift off, the CTCSS and DCS values of a tone type not
// chosen, the step): "in the radio now" and "will be written" differ.
TEST_F(MemoryTableOnTheRadio, PreviewShowsEveryFieldTheWriteChanges) {
    for (int number = 20; number <= 25; ++number) {
        Store(number, 146'940'000, 4, "BASE");
    }
    radio.modify([](qxsim::State& s) {
        for (int number = 20; number <= 25; ++number) {
            auto& half = s.memory[static_cast<std::size_t>(number)].half[0];
            half.toneNumber = 1;
            half.ctcss = 1;
        }
    });
    ReadAll();
    const QString path = QDir(folder.path()).filePath(QStringLiteral("quiet.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // Against the channels as stored (tone off, 67.0 Hz, DCS 023, 5 kHz, no offset).
    file.write("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,Mode,TStep\r\n"
               "20,BASE,146.940000,,0.600000,,67.0,67.0,023,FM,5.00\r\n"   // offset, shift off
               "21,BASE,146.940000,,0.000000,,67.0,100.0,023,FM,5.00\r\n"  // CTCSS, tone off
               "22,BASE,146.940000,,0.000000,,67.0,67.0,073,FM,5.00\r\n"   // DCS, tone off
               "23,BASE,146.940000,,0.000000,,67.0,67.0,023,FM,12.50\r\n"  // step
               "24,BASE,146.940000,,0.000000,,100.0,67.0,023,FM,5.00\r\n"  // tone, tone off
               "25,BASE,146.940000,,0.000000,,67.0,67.0,023,FM,5.00\r\n"); // nothing
    file.close();
    window->ImportCsv(path);
    confirmWrite = false;
    window->WriteToRadio();
    const QStringList lines = shownChanges.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << shownChanges.toStdString();
    for (const QString& line : lines) {
        const qsizetype colon = line.indexOf(QStringLiteral(": "));
        const qsizetype arrow = line.indexOf(QStringLiteral("  ->  "));
        ASSERT_GT(arrow, colon) << line.toStdString();
        EXPECT_NE(line.mid(colon + 2, arrow - colon - 2), line.mid(arrow + 6)) << line.toStdString();
    }
    EXPECT_TRUE(lines[0].contains(QStringLiteral("offset 0.600000"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains(QStringLiteral("CTCSS 100.0"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].contains(QStringLiteral("DCS 073"))) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].contains(QStringLiteral("step 12.50"))) << lines[3].toStdString();
    EXPECT_TRUE(lines[4].contains(QStringLiteral("tone 100.0"))) << lines[4].toStdString();
}

// A tone number the radio holds as 0 (none chosen) is written back as 0 when
// the operator changed something else, and the preview shows it as it is.
TEST_F(MemoryTableOnTheRadio, UnchangedToneNumbersAreWrittenAsTheRadioHoldsThem) {
    Store(5, 145'000'000, 4, "RPT");
    ReadAll();
    ASSERT_TRUE(window->EditCell(5, MemoryTableWindow::kName, QStringLiteral("RPT2")));
    window->WriteToRadio();
    window->RunToEnd();
    EXPECT_TRUE(shownChanges.contains(QStringLiteral("tone #0, CTCSS #0"))) << shownChanges.toStdString();
    EXPECT_FALSE(shownChanges.contains(QStringLiteral("67.0"))) << shownChanges.toStdString();
    std::string mw;
    for (const qxsim::Received& r : radio.received()) {
        if (r.text.rfind("MW", 0) == 0) {
            mw = r.text;
        }
    }
    // MW, half, bank, slot, 11 frequency digits, mode, lock-out, tone type, then the two tone numbers.
    ASSERT_GE(mw.size(), 24u) << mw;
    EXPECT_EQ(mw.substr(20, 4), "0000") << mw;
    const qxsim::State s = radio.state();
    EXPECT_EQ(s.memory[5].half[0].toneNumber, 0);
    EXPECT_EQ(s.memory[5].half[0].ctcss, 0);
    EXPECT_EQ(s.memory[5].half[0].name, "RPT2");
    EXPECT_FALSE(window->lastReport().contains(QStringLiteral("Read back different"))) << window->lastReport().toStdString();
}

// The preview shows every field of both halves readable at the size it
// opens with: no cell is cut short.
TEST(MemoryTablePreview, EveryCellIsReadableAtTheDefaultSize) {
    const Channel before{.number = 2, .rxFrequency = 147'120'000, .rxMode = 4, .toneType = 2, .ctcssNumber = 18,
                         .shift = 1, .offset = 600'000, .name = "K1ABC"};
    const QString line =
        QStringLiteral("002: 147.120000 FM step 5.00 / TX 147.720000 FM step 5.00 | CTCSS (tone 88.5, CTCSS 123.0, "
                       "DCS 023) | shift + offset 0.600000 | REV OFF | grp 0 | L.OUT OFF | \"K1ABC\"  ->  "
                       "147.120000 FM step 5.00 / TX 147.720000 FM step 5.00 | CTCSS (tone 88.5, CTCSS 123.0, "
                       "DCS 023) | shift + offset 0.600000 | REV OFF | grp 0 | L.OUT ON | \"K1ABC/R\"\n");
    const auto preview = MakeWritePreview(line + line, QStringLiteral("/tmp/backup.csv"), nullptr);
    preview->show();
    QCoreApplication::processEvents();
    auto* list = preview->findChild<QTableWidget*>();
    ASSERT_NE(list, nullptr);
    for (int row = 0; row < list->rowCount(); ++row) {
        for (int column = 1; column < 3; ++column) {
            const QString text = list->item(row, column)->text();
            ASSERT_TRUE(text.contains(QStringLiteral("L.OUT"))) << text.toStdString();
            const int width = list->columnWidth(column) - 8; // the cell's margins
            const QRect needed = QFontMetrics(list->font()).boundingRect(QRect(0, 0, width, 10000),
                                                                         Qt::TextWordWrap, text);
            EXPECT_GE(list->rowHeight(row), needed.height()) << "row " << row << " column " << column;
            EXPECT_LE(needed.width(), list->columnWidth(column));
        }
    }
    EXPECT_EQ(list->textElideMode(), Qt::ElideNone);
}

} // namespace
} // namespace memory_table

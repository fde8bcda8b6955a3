// SPDX-License-Identifier: GPL-3.0-or-later
// The "Memory Channels" window loses nothing unseen: Esc stops a write as
// Close does, a backup brings back every channel written (empty ones too),
// a CSV without some columns changes only the fields it carries, values of
// tone kinds not in use that a file gives wrongly keep the radio's, and an
// edit stopped by a change in the radio keeps only the operator's fields.
#include "memory_table_fixture.h"

#include <corvan.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>

namespace memory_table {
namespace {

using memory_channels::Channel;
using namespace std::chrono_literals;

class TableSafety : public memory_test::TableTest {
protected:
    void Store(int number, std::int64_t hz, int mode, const std::string& name, int group = 0, int step = 0) {
        qxsim::MemoryChannel ch = memory_test::Recorded(hz, mode, name);
        ch.half[0].group = group;
        ch.half[0].step = step;
        memory_test::Put(radio, number, ch);
    }
    qxsim::MemoryHalf Held(int number) const { return memory_test::Held(radio, number).half[0]; }
};

// Esc while twenty channels are written: the window goes, the write stops
// after the channel in progress, and the report names what was written.
TEST_F(TableSafety, EscStopsAWriteAsCloseDoes) {
    ReadAll();
    for (int number = 100; number < 120; ++number)
        ASSERT_TRUE(window->EditCell(number, MemoryTableWindow::kRxFreq, QStringLiteral("145.%1").arg(number * 5)));
    AnswerLate(40ms);
    window->show();
    radio.clearReceived();
    window->WriteToRadio();
    ASSERT_TRUE(PumpUntil([&] { return radio.countOf("MW0") >= 5; }, 20000));
    QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(window.get(), &esc);
    const std::size_t atEsc = radio.countOf("MW0");
    PumpUntil([] { return false; }, 600);
    radio.setFaults(qxsim::Faults{});
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->activity(), MemoryTableWindow::Activity::Idle);
    EXPECT_LE(radio.countOf("MW0"), atEsc + 1) << "the write went on out of sight";
    EXPECT_LT(radio.countOf("MW0"), 20u);
    const QString report = window->lastReport();
    EXPECT_TRUE(report.contains(QStringLiteral("cancelled"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("Not written:"))) << report.toStdString();
    // What the report calls written is in the radio, and nothing else changed.
    QStringList written;
    for (const QString& line : report.split(QLatin1Char('\n')))
        if (line.startsWith(QStringLiteral("Written: ")))
            written = line.mid(9).split(QStringLiteral(", "));
    for (int number = 100; number < 120; ++number) {
        const bool named = written.contains(QString::number(number));
        EXPECT_EQ(Held(number).frequency != 0, named) << number << "\n" << report.toStdString();
    }
    ASSERT_FALSE(dialogs->messages.empty());
    EXPECT_EQ(dialogs->messages.back().text, report);
}

// A write into 020 (in use), 025 and 027 (empty) undone from its backup: the
// preview shows the two clears, and the radio holds what it held before.
TEST_F(TableSafety, TheBackupBringsBackEveryChannelWrittenEmptyOnesToo) {
    Store(20, 145'500'000, 4, "TWENTY");
    ReadAll();
    for (const int number : {20, 25, 27})
        ASSERT_TRUE(window->EditCell(number, MemoryTableWindow::kRxFreq, QStringLiteral("433.%1").arg(number * 25)));
    WriteAll();
    ASSERT_EQ(Held(25).frequency, 433'625'000);
    ASSERT_TRUE(QFile::exists(shownBackup));
    const QString backup = shownBackup;

    window->ImportCsv(backup);
    WriteAll();
    EXPECT_TRUE(shownChanges.contains(QStringLiteral("025: 433.625000 FM"))) << shownChanges.toStdString();
    EXPECT_TRUE(shownChanges.contains(QStringLiteral("->  (empty)"))) << shownChanges.toStdString();
    EXPECT_EQ(Held(20).frequency, 145'500'000);
    EXPECT_EQ(Held(20).name, "TWENTY");
    EXPECT_EQ(Held(25).frequency, 0) << "the channel that was empty is empty again";
    EXPECT_EQ(Held(27).frequency, 0);
    EXPECT_FALSE(radio.state().memory[25].hasTransmitHalf);
}

// A file with only Location and Frequency changes the frequency and
// nothing else, and the summary names the columns it lacks.
TEST_F(TableSafety, ACsvWithoutSomeColumnsKeepsTheFieldsItDoesNotCarry) {
    Store(12, 7'050'000, 1, "SEVEN", 4, 2);
    ReadAll();
    const Channel before = window->radioChannels()[12];
    window->ImportCsv(File(QStringLiteral("same.csv"), "Location,Frequency\r\n12,7.050000\r\n"));
    EXPECT_EQ(window->editedChannels()[12], before) << "the row says what the radio holds";
    const QString summary = window->lastReport();
    for (const char* column : {"Mode", "TStep", "Name", "Tone", "Skip", "Group"})
        EXPECT_TRUE(summary.contains(QLatin1String(column))) << column << "\n" << summary.toStdString();

    window->ImportCsv(File(QStringLiteral("moved.csv"), "Location,Frequency\r\n12,7.060000\r\n"));
    WriteAll();
    const qxsim::MemoryHalf held = Held(12);
    EXPECT_EQ(held.frequency, 7'060'000);
    EXPECT_EQ(held.mode, 1);
    EXPECT_EQ(held.step, 2);
    EXPECT_EQ(held.group, 4);
    EXPECT_EQ(held.name, "SEVEN");
}

// Values a file gives wrongly for tone kinds not in use: the row is taken
// and those values stay as the radio holds them; the summary says so.
TEST_F(TableSafety, WrongValuesOfAToneNotInUseKeepTheRadios) {
    Store(12, 145'050'000, 4, "TONES");
    radio.modify([](qxsim::State& s) {
        s.memory[12].half[0].toneNumber = 9;
        s.memory[12].half[0].ctcss = 11;
        s.memory[12].half[0].dcs = 17;
    });
    ReadAll();
    window->ImportCsv(File(QStringLiteral("tones.csv"),
                           "Location,Frequency,Mode,Tone,rToneFreq,cToneFreq,DtcsCode\r\n"
                           "12,145.050000,FM,,abc,,999\r\n"));
    const Channel edited = window->editedChannels()[12];
    EXPECT_EQ(edited.toneNumber, 9);
    EXPECT_EQ(edited.dcsCode, 17);
    EXPECT_EQ(edited.ctcssNumber, 0) << "an empty value is a tone never chosen";
    const QString summary = window->lastReport();
    EXPECT_TRUE(summary.contains(QStringLiteral("rToneFreq \"abc\""))) << summary.toStdString();
    EXPECT_TRUE(summary.contains(QStringLiteral("DtcsCode \"999\""))) << summary.toStdString();
}

// A write stopped because the radio's channel changed: the pending edit is
// the operator's one field on top of the radio's new channel, and Write
// again sends that, not the old row.
TEST_F(TableSafety, WriteAgainAfterAConflictSendsOnlyTheOperatorsChange) {
    Store(7, 145'600'000, 4, "OLD");
    ReadAll();
    ASSERT_TRUE(window->EditCell(7, MemoryTableWindow::kName, QStringLiteral("NEW")));
    memory_test::PutReceiveHalf(radio, 7, {.frequency = 14'195'000, .mode = 2, .lockout = 1, .name = "RADIO"});
    WriteAll();
    ASSERT_EQ(radio.countOf("MW"), 0u);
    const Channel pending = window->editedChannels()[7];
    EXPECT_EQ(pending.rxFrequency, 14'195'000);
    EXPECT_EQ(pending.name, "NEW");
    WriteAll();
    const qxsim::MemoryHalf held = Held(7);
    EXPECT_EQ(held.frequency, 14'195'000) << "the old row went over the radio's new channel";
    EXPECT_EQ(held.mode, 2);
    EXPECT_EQ(held.lockout, 1);
    EXPECT_EQ(held.name, "NEW");
}

} // namespace
} // namespace memory_table

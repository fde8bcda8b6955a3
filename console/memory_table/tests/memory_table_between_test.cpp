// SPDX-License-Identifier: GPL-3.0-or-later
// The "Memory Channels" window when the radio's own panel stores into a
// channel between the window's read and its write: whatever path writes
// (the call channel's row, a channel with a transmit half, a backup put
// back, a CSV file without some columns, a write made again after a
// conflict), a channel the radio changed is never written over unseen.
#include "memory_table_fixture.h"

namespace memory_table {
namespace {

using memory_channels::Channel;

class TableBetween : public memory_test::TableTest {
protected:
    void Store(int number, std::int64_t hz, int mode, const std::string& name, int group = 0) {
        memory_test::Put(radio, number, memory_test::PanelChannel(false, hz, mode, name, group));
    }
    qxsim::MemoryChannel Held(int number) const { return memory_test::Held(radio, number); }
    void ExpectConflictSaid(int number) {
        const QString report = window->lastReport();
        EXPECT_TRUE(report.contains(QStringLiteral("%1 changed in the radio")
                                        .arg(QString::fromStdString(memory_channels::ChannelLabel(number)))))
            << report.toStdString();
    }
};

// The call channel's row: the radio stores a new call channel after the
// read; the operator's rename of the old one is not written over it.
TEST_F(TableBetween, CallChannelChangedInTheRadioIsNotWrittenOver) {
    Store(memory_channels::kCallChannel, 145'500'000, 4, "CALL");
    ReadAll();
    ASSERT_TRUE(window->EditCell(memory_channels::kCallChannel, MemoryTableWindow::kName, QStringLiteral("MINE")));
    Store(memory_channels::kCallChannel, 433'500'000, 4, "RADIO");
    WriteAll();
    EXPECT_EQ(radio.countOf("MW"), 0u);
    EXPECT_EQ(Held(memory_channels::kCallChannel).half[0].frequency, 433'500'000);
    EXPECT_EQ(Held(memory_channels::kCallChannel).half[0].name, "RADIO");
    ExpectConflictSaid(memory_channels::kCallChannel);
}

// Only the transmit half changes in the radio after the read: the write of
// a rename stops, and the radio's transmit half stays.
TEST_F(TableBetween, TransmitHalfStoredInTheRadioStopsTheWrite) {
    Store(12, 145'000'000, 4, "SIMPLEX");
    ReadAll();
    ASSERT_TRUE(window->EditCell(12, MemoryTableWindow::kName, QStringLiteral("MINE")));
    radio.modify([](qxsim::State& s) {
        qxsim::MemoryChannel& ch = s.memory[12];
        ch.half[1] = ch.half[0];
        ch.half[1].frequency = 145'600'000;
        ch.hasTransmitHalf = true;
    });
    WriteAll();
    EXPECT_EQ(radio.countOf("MW"), 0u);
    EXPECT_TRUE(Held(12).hasTransmitHalf);
    EXPECT_EQ(Held(12).half[1].frequency, 145'600'000);
    EXPECT_EQ(Held(12).half[0].name, "SIMPLEX");
    ExpectConflictSaid(12);
}

// The backup put back after the radio stored into a channel the write had
// filled: that channel keeps the radio's new contents; the others go back.
TEST_F(TableBetween, BackupPutBackKeepsAChannelTheRadioStoredSince) {
    Store(20, 145'500'000, 4, "TWENTY");
    ReadAll();
    ASSERT_TRUE(window->EditCell(20, MemoryTableWindow::kName, QStringLiteral("MINE")));
    ASSERT_TRUE(window->EditCell(25, MemoryTableWindow::kRxFreq, QStringLiteral("433.625")));
    WriteAll();
    ASSERT_EQ(Held(25).half[0].frequency, 433'625'000);
    ASSERT_TRUE(QFile::exists(shownBackup));
    const QString backup = shownBackup;

    Store(25, 146'000'000, 4, "RADIO");
    window->ImportCsv(backup);
    WriteAll();
    EXPECT_EQ(Held(25).half[0].frequency, 146'000'000) << "the radio's store was cleared unseen";
    EXPECT_EQ(Held(25).half[0].name, "RADIO");
    ExpectConflictSaid(25);
    if (Held(20).half[0].name != "TWENTY") {
        EXPECT_TRUE(window->lastReport().contains(QStringLiteral("Not written: 020")))
            << window->lastReport().toStdString();
    }

    // Written again, the clear is shown against what the radio holds now.
    WriteAll();
    EXPECT_TRUE(shownChanges.contains(QStringLiteral("025: 146.000000 FM"))) << shownChanges.toStdString();
    EXPECT_EQ(Held(20).half[0].name, "TWENTY");
}

// A file without the Name column, imported after the radio renamed the
// channel: the radio's new name is not lost to the window's old copy.
TEST_F(TableBetween, CsvWithoutANameKeepsTheNameTheRadioStoredSince) {
    Store(12, 7'050'000, 1, "SEVEN", 4);
    ReadAll();
    radio.modify([](qxsim::State& s) { s.memory[12].half[0].name = "EIGHT"; });
    window->ImportCsv(File(QStringLiteral("moved.csv"), "Location,Frequency\r\n12,7.060000\r\n"));
    WriteAll();
    EXPECT_EQ(Held(12).half[0].name, "EIGHT");
    if (Held(12).half[0].frequency == 7'050'000)
        ExpectConflictSaid(12);
}

// Write again after a conflict, once the radio changed the channel a second
// time: the re-based edit is not written over the second change either.
TEST_F(TableBetween, WriteAgainStopsWhenTheRadioChangedTheChannelOnceMore) {
    Store(7, 145'600'000, 4, "OLD");
    ReadAll();
    ASSERT_TRUE(window->EditCell(7, MemoryTableWindow::kName, QStringLiteral("NEW")));
    Store(7, 14'195'000, 2, "RADIO");
    WriteAll();
    ASSERT_EQ(radio.countOf("MW"), 0u);
    Store(7, 50'125'000, 2, "AGAIN", 5);
    WriteAll();
    EXPECT_EQ(radio.countOf("MW"), 0u);
    EXPECT_EQ(Held(7).half[0].frequency, 50'125'000);
    EXPECT_EQ(Held(7).half[0].name, "AGAIN");
    EXPECT_EQ(Held(7).half[0].group, 5);
    ExpectConflictSaid(7);
}

} // namespace
} // namespace memory_table

// SPDX-License-Identifier: GPL-3.0-or-later
// The "Memory Channels" window on radios that hold less: a channel outside
// every band the radio's version has is refused by the import, the cell and
// the radio alike; the smaller family has a hundred channels and no call
// channel, and its MW carries frequency, mode, lock-out and tone only.
#include "memory_table_fixture.h"

#include <corvan.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <ostream>
#include <thread>

namespace memory_table {
namespace {

using memory_channels::Channel;
using namespace std::chrono_literals;

// A channel at a frequency no receiver of the radio has a band for: a CSV
// row is skipped with the reason, a typed value is refused, and the radio
// itself refuses the MW. Which bands there are follows the radio's version
// (its TY reply): the wide sub receiver of the first versions hears the
// 1.25 m band, the narrow one of version 5 does not.
struct BandRow {
    const char* name;
    const char* typeCode;
    const char* megahertz;
    bool receivable;
};
std::ostream& operator<<(std::ostream& out, const BandRow& row) { return out << row.name; }

class BandOnTheRadio : public ::testing::TestWithParam<BandRow> {};

TEST_P(BandOnTheRadio, OutOfBandChannelsAreRefusedEverywhere) {
    const BandRow& row = GetParam();
    qxsim::Options options;
    options.typeCode = row.typeCode;
    qxsim::Radio radio(options);
    ASSERT_TRUE(radio.start()) << radio.lastError();
    CCorvan link;
    ASSERT_EQ(link.Conn("QR-7730", radio.devicePath().c_str(), 9600, "n", 8, 1, 1), 1);
    link.ConnTY();
    ASSERT_TRUE(radio.waitForSent("TY", 2s));
    std::uint32_t bits[8] = {}, digit = 0;
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    while (link.RcvDataTY(&bits[0], &bits[1], &bits[2], &bits[3], &bits[4], &bits[5], &bits[6], &bits[7], &digit) != 1 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(5ms);
    }
    auto dialogs = std::make_shared<platform::ScriptedDialogs>();
    platform::SetDialogProvider(dialogs);
    QTemporaryDir folder;
    {
        ConsoleHooks hooks;
        hooks.link = [&link] { return &link; };
        hooks.identification = [] { return 19; };
        MemoryTableWindow window(hooks);
        window.SetBackupFolder(folder.path());
        window.SetWriteConfirmation([](const QString&, const QString&) { return true; });
        window.ReadFromRadio();
        window.RunToEnd();
        ASSERT_TRUE(window.HasRead());

        const QString path = QDir(folder.path()).filePath(QStringLiteral("list.csv"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,Mode,TStep\r\n"
                                  "5,RPT,%1,-,1.600000,Tone,100.0,FM,20.00\r\n"
                                  "6,23CM,1293.000000,,0.000000,,88.5,FM,25.00\r\n")
                       .arg(QLatin1String(row.megahertz))
                       .toLatin1());
        file.close();
        window.ImportCsv(path);
        const QString report = window.lastReport();
        EXPECT_EQ(!window.editedChannels()[5].empty(), row.receivable) << report.toStdString();
        EXPECT_EQ(report.contains(QStringLiteral("outside every band")), !row.receivable) << report.toStdString();
        EXPECT_EQ(window.editedChannels()[6].rxFrequency, 1'293'000'000) << report.toStdString();
        EXPECT_EQ(window.EditCell(7, MemoryTableWindow::kRxFreq, QLatin1String(row.megahertz)), row.receivable);
        window.WriteToRadio();
        window.RunToEnd();
    }
    const std::int64_t hz = *memory_channels::ParseMegahertz(row.megahertz);
    const qxsim::State s = radio.state();
    EXPECT_EQ(s.memory[5].half[0].frequency, row.receivable ? hz : 0);
    EXPECT_EQ(s.memory[7].half[0].frequency, row.receivable ? hz : 0);
    EXPECT_EQ(s.memory[6].half[0].frequency, 1'293'000'000);

    // The radio's own answer to such an MW.
    const std::string text = std::to_string(hz);
    const std::string padded = std::string(11 - text.size(), '0') + text;
    radio.clearSent();
    ASSERT_EQ(link.ConnMW(0, 0, 9, padded.c_str(), 4, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, "X"), 1);
    std::this_thread::sleep_for(150ms);
    const std::vector<std::string> sent = radio.sent();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), std::string("?")), row.receivable ? 0 : 1);
    EXPECT_EQ(radio.state().memory[9].half[0].frequency, row.receivable ? hz : 0);
    platform::SetDialogProvider(nullptr);
    link.Close();
}

const BandRow kBands[] = {
    {"SixMetres", "000", "50.620000", true},
    {"FourMetres", "000", "70.450000", false},
    {"OnePointTwoFiveMetresWithTheWideSubReceiver", "000", "224.940000", true},
    {"OnePointTwoFiveMetresOnVersionFive", "220", "224.940000", false},
    {"TwoMetresOnVersionFive", "220", "145.500000", true},
};
INSTANTIATE_TEST_SUITE_P(Bands, BandOnTheRadio, ::testing::ValuesIn(kBands),
                         [](const ::testing::TestParamInfo<BandRow>& row) { return std::string(row.param.name); });

// The smaller family's radio (identity 18) on the link, dialogs scripted,
// and the console's hooks for a window on it.
class MemoryTableSmallerFamily : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(memory_test::StartAndConnect(radio, link));
        ASSERT_EQ(CCorvan::GetModelType(), corvan::kModelQX410);
        dialogs = std::make_shared<platform::ScriptedDialogs>();
        platform::SetDialogProvider(dialogs);
        hooks.link = [this] { return &link; };
        hooks.identification = [] { return 18; };
    }
    void TearDown() override {
        platform::SetDialogProvider(nullptr);
        link.Close();
    }
    static qxsim::Options SmallerFamily() {
        qxsim::Options options;
        options.identity = 18;
        return options;
    }

    qxsim::Radio radio{SmallerFamily()};
    CCorvan link;
    std::shared_ptr<platform::ScriptedDialogs> dialogs;
    ConsoleHooks hooks;
};

TEST_F(MemoryTableSmallerFamily, HundredChannelsWithoutTheCallChannel) {
    radio.modify([](qxsim::State& s) {
        s.memory[42].half[0].frequency = 14'074'000;
        s.memory[42].half[0].mode = 2;
    });
    {
        MemoryTableWindow window(hooks);
        EXPECT_EQ(window.table()->rowCount(), 100);
        window.ReadFromRadio();
        window.RunToEnd();
        ASSERT_TRUE(window.HasRead()) << window.statusText().toStdString();
        EXPECT_EQ(window.radioChannels()[42].rxFrequency, 14'074'000);
        EXPECT_EQ(window.radioChannels()[42].rxMode, 2);
        EXPECT_EQ(radio.countOf("MR0300"), 0u);
        QTemporaryDir folder;
        const QString path = QDir(folder.path()).filePath(QStringLiteral("list.csv"));
        ASSERT_TRUE(memory_test::WriteFile(path, "Location,Frequency\n7,14.2\n150,14.3\n300,145.5\n"));
        window.ImportCsv(path);
        EXPECT_TRUE(window.lastReport().contains(QStringLiteral("1 channels imported"))) << window.lastReport().toStdString();
        EXPECT_EQ(window.lastReport().count(QStringLiteral("no such channel")), 2);
    }
}

// The smaller family's MW carries frequency, mode, lock-out and tone only:
// edits of anything else are refused with the reason, and a tone number
// held as 0 goes out as 1 (the only value it takes), shown so in the preview.
TEST_F(MemoryTableSmallerFamily, WritesOnlyWhatItsMwCarriesAndShowsIt) {
    radio.modify([](qxsim::State& s) {
        s.memory[5].half[0].frequency = 14'074'000;
        s.memory[5].half[0].mode = 2;
    });
    {
        MemoryTableWindow window(hooks);
        QString shown;
        window.SetWriteConfirmation([&shown](const QString& changes, const QString&) {
            shown = changes;
            return true;
        });
        window.ReadFromRadio();
        window.RunToEnd();
        ASSERT_TRUE(window.HasRead()) << window.statusText().toStdString();
        ASSERT_EQ(window.radioChannels()[5].toneNumber, 0);
        const Channel before = window.editedChannels()[5];
        const struct {
            MemoryTableWindow::Column column;
            const char* value;
        } refused[] = {{MemoryTableWindow::kName, "FT8"},     {MemoryTableWindow::kOffset, "0.6"},
                       {MemoryTableWindow::kShift, "+"},      {MemoryTableWindow::kReverse, "ON"},
                       {MemoryTableWindow::kGroup, "3"},      {MemoryTableWindow::kToneType, "CTCSS"}};
        for (const auto& edit : refused) {
            dialogs->messages.clear();
            EXPECT_FALSE(window.EditCell(5, edit.column, QString::fromLatin1(edit.value))) << edit.value;
            ASSERT_EQ(dialogs->messages.size(), 1u) << edit.value;
            EXPECT_TRUE(dialogs->messages[0].text.contains(QStringLiteral("This radio's channels hold")))
                << dialogs->messages[0].text.toStdString();
        }
        EXPECT_EQ(window.editedChannels()[5], before);
        ASSERT_TRUE(window.EditCell(5, MemoryTableWindow::kMode, QStringLiteral("LSB")));
        window.WriteToRadio();
        window.RunToEnd();
        const QStringList lines = shown.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 1) << shown.toStdString();
        const qsizetype arrow = lines[0].indexOf(QStringLiteral("  ->  "));
        EXPECT_TRUE(lines[0].left(arrow).contains(QStringLiteral("tone #0"))) << lines[0].toStdString();
        EXPECT_TRUE(lines[0].mid(arrow).contains(QStringLiteral("tone 67.0"))) << lines[0].toStdString();
        EXPECT_EQ(radio.state().memory[5].half[0].mode, 1);
        EXPECT_EQ(radio.state().memory[5].half[0].toneNumber, 1);
        EXPECT_FALSE(window.lastReport().contains(QStringLiteral("Read back different")))
            << window.lastReport().toStdString();

        // An imported name, shift and offset cannot go out either: they are left out, and said so.
        QTemporaryDir folder;
        const QString path = QDir(folder.path()).filePath(QStringLiteral("net.csv"));
        ASSERT_TRUE(memory_test::WriteFile(
            path, "Location,Name,Frequency,Duplex,Offset,Mode,TStep\n6,NET,7.100000,+,0.600000,LSB,2.50\n"));
        window.ImportCsv(path);
        const Channel net = window.editedChannels()[6];
        EXPECT_EQ(net.rxFrequency, 7'100'000);
        EXPECT_EQ(net.rxMode, 1);
        EXPECT_EQ(net.name, "");
        EXPECT_EQ(net.shift, 0);
        EXPECT_EQ(net.offset, 0);
        EXPECT_EQ(net.rxStep, 0);
        EXPECT_TRUE(window.lastReport().contains(QStringLiteral("left as the radio holds them: 006")))
            << window.lastReport().toStdString();
    }
}

} // namespace
} // namespace memory_table

// The "Memory Channels" window against the virtual transceiver: the whole
// memory read, edited, written and read back; a repeater list imported and
// written; the console's operation going first; interrupted writes.
#include <memory_channels.h>
#include <memory_table.h>

#include <corvan.h>
#include <platform.h>
#include <qxsim.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <QTableWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

namespace memory_table {
namespace {

using memory_channels::Channel;
using namespace std::chrono_literals;

class MemoryTableOnTheRadio : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(radio.start()) << radio.lastError();
        ASSERT_EQ(link.Conn("QR-7730", radio.devicePath().c_str(), 9600, "n", 8, 1, 1), 1);
        dialogs = std::make_shared<platform::ScriptedDialogs>();
        platform::SetDialogProvider(dialogs);
        ASSERT_TRUE(backups.isValid());
        ConsoleHooks hooks;
        hooks.link = [this] { return &link; };
        hooks.operationRunning = [this] { return operationRunning; };
        hooks.identification = [] { return 19; };
        window = std::make_unique<MemoryTableWindow>(hooks);
        window->SetBackupFolder(backups.path());
        window->SetWriteConfirmation([this](const QString& changes, const QString& backup) {
            shownChanges = changes;
            shownBackup = backup;
            return confirmWrite;
        });
    }
    void TearDown() override {
        window.reset();
        platform::SetDialogProvider(nullptr);
        link.Close();
        radio.stop();
    }

    void Store(int index, std::int64_t hz, int mode, const std::string& name, std::int64_t txHz = 0) {
        radio.modify([&](qxsim::State& s) {
            qxsim::MemoryChannel& ch = s.memory[static_cast<std::size_t>(index)];
            ch = qxsim::MemoryChannel{};
            ch.half[0].frequency = hz;
            ch.half[0].mode = mode;
            // Tone numbers stay 0, as a radio reports them before any was chosen.
            ch.half[0].name = name;
            if (txHz != 0) {
                ch.half[1] = ch.half[0];
                ch.half[1].frequency = txHz;
                ch.hasTransmitHalf = true;
            }
        });
    }
    void ReadAll() {
        window->ReadFromRadio();
        window->RunToEnd();
        ASSERT_TRUE(window->HasRead()) << window->statusText().toStdString();
    }
    // Pumps the window's steps until `done` holds or a second passes.
    bool PumpUntil(const std::function<bool()>& done) {
        QElapsedTimer timer;
        timer.start();
        while (!done() && timer.elapsed() < 5000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        return done();
    }
    static int Row(int number) { return number == memory_channels::kCallChannel ? 300 : number; }

    qxsim::Radio radio;
    CCorvan link;
    std::shared_ptr<platform::ScriptedDialogs> dialogs;
    QTemporaryDir backups;
    std::unique_ptr<MemoryTableWindow> window;
    bool operationRunning = false;
    bool confirmWrite = true;
    QString shownChanges;
    QString shownBackup;
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
    ASSERT_TRUE(window->EditCell(7, MemoryTableWindow::kRxFreq, QStringLiteral("146.52")));
    ASSERT_TRUE(window->EditCell(7, MemoryTableWindow::kName, QStringLiteral("CALLING")));
    ASSERT_TRUE(window->EditCell(123, MemoryTableWindow::kToneType, QStringLiteral("ctcss")));
    ASSERT_TRUE(window->EditCell(123, MemoryTableWindow::kToneValue, QStringLiteral("100.0")));
    ASSERT_TRUE(window->EditCell(123, MemoryTableWindow::kShift, QStringLiteral("+")));
    ASSERT_TRUE(window->EditCell(123, MemoryTableWindow::kOffset, QStringLiteral("5")));
    ASSERT_TRUE(window->EditCell(295, MemoryTableWindow::kTxFreq, QString()));
    ASSERT_TRUE(window->EditCell(300, MemoryTableWindow::kLockout, QStringLiteral("ON")));
    // Refused: each leaves the channel as it was and says why.
    const Channel before = window->editedChannels()[123];
    dialogs->messages.clear();
    EXPECT_FALSE(window->EditCell(123, MemoryTableWindow::kName, QStringLiteral("A;B")));
    EXPECT_FALSE(window->EditCell(123, MemoryTableWindow::kToneValue, QStringLiteral("69.3")));
    EXPECT_FALSE(window->EditCell(123, MemoryTableWindow::kRxFreq, QStringLiteral("88.1")));
    EXPECT_FALSE(window->EditCell(123, MemoryTableWindow::kOffset, QStringLiteral("0.625")));
    EXPECT_FALSE(window->EditCell(123, MemoryTableWindow::kStep, QStringLiteral("7.5")));
    EXPECT_FALSE(window->EditCell(8, MemoryTableWindow::kName, QStringLiteral("EMPTY")));
    EXPECT_EQ(dialogs->messages.size(), 6u);
    EXPECT_EQ(window->editedChannels()[123], before);
    EXPECT_EQ(window->table()->item(123, MemoryTableWindow::kName)->text(), QStringLiteral("UHF"));

    radio.clearReceived();
    window->WriteToRadio();
    window->RunToEnd();
    EXPECT_EQ(shownChanges.count(QLatin1Char('\n')), 4) << shownChanges.toStdString();
    EXPECT_TRUE(shownChanges.contains(QStringLiteral("007: (empty)  ->  146.520000 FM")));
    EXPECT_EQ(radio.countOf("MW0"), 4u) << "only the changed channels are written";
    EXPECT_EQ(radio.countOf("MW1"), 1u) << "the former transmit half of 295";
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
    ASSERT_EQ(old.channels.size(), 3u) << "123, 295 and the call channel; 007 was empty";
    EXPECT_EQ(old.channels[0].name, "UHF");
    EXPECT_EQ(old.channels[1].txFrequency, 146'000'000);
}

TEST_F(MemoryTableOnTheRadio, ChirpRepeaterListImportsWritesAndReadsBackEqual) {
    ReadAll();
    const QString path = QDir(backups.path()).filePath(QStringLiteral("repeaters.csv"));
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
    const QString path = QDir(backups.path()).filePath(QStringLiteral("export.csv"));
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
    qxsim::Faults slow;
    slow.delay = 30ms;
    radio.setFaults(slow);
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
    qxsim::Faults slow;
    slow.delay = 30ms;
    radio.setFaults(slow);
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
    QFile blocker(QDir(backups.path()).filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    window->SetBackupFolder(blocker.fileName() + QStringLiteral("/below"));
    radio.clearReceived();
    dialogs->messages.clear();
    window->WriteToRadio();
    EXPECT_EQ(window->activity(), MemoryTableWindow::Activity::Idle);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_TRUE(dialogs->messages[0].text.contains(QStringLiteral("Nothing was written")));
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(radio.countOf("MW"), 0u);
}

TEST(MemoryTableSmallerFamily, HundredChannelsWithoutTheCallChannel) {
    qxsim::Options options;
    options.identity = 18;
    qxsim::Radio radio(options);
    ASSERT_TRUE(radio.start()) << radio.lastError();
    radio.modify([](qxsim::State& s) {
        s.memory[42].half[0].frequency = 14'074'000;
        s.memory[42].half[0].mode = 2;
    });
    CCorvan link;
    ASSERT_EQ(link.Conn("QR-7730", radio.devicePath().c_str(), 9600, "n", 8, 1, 1), 1);
    ASSERT_EQ(CCorvan::GetModelType(), corvan::kModelQX410);
    auto dialogs = std::make_shared<platform::ScriptedDialogs>();
    platform::SetDialogProvider(dialogs);
    ConsoleHooks hooks;
    hooks.link = [&link] { return &link; };
    hooks.identification = [] { return 18; };
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
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("Location,Frequency\n7,14.2\n150,14.3\n300,145.5\n");
        file.close();
        window.ImportCsv(path);
        EXPECT_TRUE(window.lastReport().contains(QStringLiteral("1 channels imported"))) << window.lastReport().toStdString();
        EXPECT_EQ(window.lastReport().count(QStringLiteral("no such channel")), 2);
    }
    platform::SetDialogProvider(nullptr);
    link.Close();
}

} // namespace
} // namespace memory_table

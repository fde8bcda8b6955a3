// SPDX-License-Identifier: GPL-3.0-or-later
// The profile's four operations with their defaults and damaged values, and
// the saved window positions.
#include <platform.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

namespace {

// Where the profile lives by default, seen before the tests move it.
QString g_defaultProfileFile;

// Test processes may run side by side sharing XDG_CONFIG_HOME; each gets a
// profile folder of its own so one test's hand-written file cannot disturb
// another's.
class PrivateProfile : public ::testing::Environment {
public:
    void SetUp() override {
        g_defaultProfileFile = QSettings(QStringLiteral("BRAVELL"), QStringLiteral("Zephyra")).fileName();
        ASSERT_TRUE(m_dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    }
    QTemporaryDir m_dir;
};

PrivateProfile* const g_privateProfile =
    static_cast<PrivateProfile*>(::testing::AddGlobalTestEnvironment(new PrivateProfile));

QString profilePath() { return g_privateProfile->m_dir.path() + QStringLiteral("/BRAVELL/Zephyra.conf"); }

TEST(PlatformProfile, LivesInTheUsersConfigFolder) {
    const QString configHome = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    EXPECT_EQ(g_defaultProfileFile, configHome + QStringLiteral("/BRAVELL/Zephyra.conf"));
    EXPECT_EQ(QSettings(QStringLiteral("BRAVELL"), QStringLiteral("Zephyra")).fileName(), profilePath());
}

// ------------------------------------------------------------ four operations

TEST(PlatformProfile, MissingKeysReadAsTheGivenDefaults) {
    EXPECT_EQ(platform::GetProfileInt("Setting", "NoSuchNumber", 9600), 9600);
    EXPECT_EQ(platform::GetProfileInt("NoSuchSection", "PortNo", 1), 1);
    EXPECT_EQ(platform::GetProfileString("Setting", "NoSuchText", "0"), "0");
    EXPECT_EQ(platform::GetProfileString("WindowPos", "NoSuchWindow", ""), "");
}

TEST(PlatformProfile, WrittenValuesReadBackAndLandInTheProfileFile) {
    ASSERT_TRUE(platform::WriteProfileInt("Setting", "Baud", 38400));
    ASSERT_TRUE(platform::WriteProfileString("Setting", "TransFreqMain", "00000000000"));
    ASSERT_TRUE(platform::WriteProfileString("KeyMem", "Mem1", "CQ CQ de QX9; k"));
    ASSERT_TRUE(platform::WriteProfileString("File Path", "Audio Editor Setting File Path", "/home/op/eq dir"));
    EXPECT_EQ(platform::GetProfileInt("Setting", "Baud", 9600), 38400);
    // Text keeps its leading zeros; a number written as text reads as a number.
    EXPECT_EQ(platform::GetProfileString("Setting", "TransFreqMain", "0"), "00000000000");
    EXPECT_EQ(platform::GetProfileInt("Setting", "TransFreqMain", 5), 0);
    EXPECT_EQ(platform::GetProfileString("KeyMem", "Mem1", ""), "CQ CQ de QX9; k");
    EXPECT_EQ(platform::GetProfileString("File Path", "Audio Editor Setting File Path", "."),
              "/home/op/eq dir");
    // A number reads back as text too.
    EXPECT_EQ(platform::GetProfileString("Setting", "Baud", ""), "38400");
    EXPECT_TRUE(QFile::exists(profilePath())) << profilePath().toStdString();
}

TEST(PlatformProfile, EmptyTextIsAValueNotAMissingKey) {
    ASSERT_TRUE(platform::WriteProfileString("KeyMem", "Mem2", ""));
    EXPECT_EQ(platform::GetProfileString("KeyMem", "Mem2", "default"), "");
}

TEST(PlatformProfile, EmptySectionOrKeyIsRefused) {
    EXPECT_FALSE(platform::WriteProfileInt("", "PortNo", 3));
    EXPECT_FALSE(platform::WriteProfileString("Setting", " ", "x"));
    EXPECT_EQ(platform::GetProfileInt("", "PortNo", 4), 4);
}

// A number key holding anything but a decimal integer reads as the default.
struct NumberCase {
    const char* stored;
    int expected; // with default 9600
};

class PlatformProfileNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(PlatformProfileNumber, ReadsDecimalIntegersOnly) {
    ASSERT_TRUE(platform::WriteProfileString("Damaged", "Baud", GetParam().stored));
    EXPECT_EQ(platform::GetProfileInt("Damaged", "Baud", 9600), GetParam().expected)
        << "stored '" << GetParam().stored << "'";
}

INSTANTIATE_TEST_SUITE_P(Table, PlatformProfileNumber,
                         ::testing::Values(NumberCase{"4800", 4800}, NumberCase{" 57600 ", 57600},
                                           NumberCase{"-3", -3}, NumberCase{"+7", 7},
                                           NumberCase{"0", 0}, NumberCase{"96OO", 9600},
                                           NumberCase{"9600x", 9600}, NumberCase{"x9600", 9600},
                                           NumberCase{"", 9600}, NumberCase{"   ", 9600},
                                           NumberCase{"0x10", 9600}, NumberCase{"1.5", 9600},
                                           NumberCase{"1e3", 9600}, NumberCase{"--1", 9600},
                                           NumberCase{"2147483647", 2147483647},
                                           NumberCase{"2147483648", 9600},
                                           NumberCase{"99999999999999999999", 9600},
                                           NumberCase{"true", 9600}));

TEST(PlatformProfile, HandEditedFileGivesDefaultsWhereItIsDamaged) {
    // Written as a person would, outside the program.
    QDir().mkpath(QFileInfo(profilePath()).absolutePath());
    QFile file(profilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Setting]\n"
               "PortNo=three\n"
               "Baud=4800\n"
               "DialWait=\n"
               "TransFreqMain=00144000000\n"
               "garbage line without equals\n"
               "[KeyMem]\n"
               "Mem1=CQ, CQ, de QX9\n"
               "[WindowPos]\n"
               "Main=12345\n");
    file.close();
    EXPECT_EQ(platform::GetProfileInt("Setting", "PortNo", 1), 1);
    EXPECT_EQ(platform::GetProfileInt("Setting", "Baud", 9600), 4800);
    EXPECT_EQ(platform::GetProfileInt("Setting", "DialWait", 5), 5);
    EXPECT_EQ(platform::GetProfileString("Setting", "TransFreqMain", "0"), "00144000000");
    EXPECT_EQ(platform::GetProfileString("KeyMem", "Mem1", ""), "CQ, CQ, de QX9");
    QWidget window;
    window.move(40, 50);
    EXPECT_FALSE(platform::RestoreWindowPos("Main", &window));
    EXPECT_EQ(window.pos(), QPoint(40, 50));
}

// ---------------------------------------------------------- window position

struct FormatCase {
    int top, left;
    const char* text;
};

class PlatformWindowPosFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PlatformWindowPosFormat, TopThenLeftFiveDigitsEach) {
    EXPECT_EQ(platform::FormatWindowPos(GetParam().top, GetParam().left), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Table, PlatformWindowPosFormat,
                         ::testing::Values(FormatCase{100, 200, "0010000200"},
                                           FormatCase{0, 0, "0000000000"},
                                           FormatCase{-5, 30, "0000000030"},
                                           FormatCase{30, -1, "0003000000"},
                                           FormatCase{99999, 1, "9999900001"},
                                           FormatCase{123456, 7, "9999900007"}));

struct ParseCase {
    const char* name;
    const char* text;
    std::optional<QPoint> expected; // x = left, y = top
};

class PlatformWindowPosParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(PlatformWindowPosParse, AcceptsOnlyTenDigitsInsideTheDesktop) {
    const QRect desktop(0, 0, 1024, 768);
    EXPECT_EQ(platform::ParseWindowPos(GetParam().text, desktop), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlatformWindowPosParse,
    ::testing::Values(ParseCase{"Plain", "0010000200", QPoint(200, 100)},
                      ParseCase{"Corner", "0000000000", std::nullopt},
                      ParseCase{"TopZero", "0000000200", std::nullopt},
                      ParseCase{"LeftZero", "0010000000", std::nullopt},
                      ParseCase{"NineChars", "001000020", std::nullopt},
                      ParseCase{"ElevenChars", "00100002000", std::nullopt},
                      ParseCase{"Empty", "", std::nullopt},
                      ParseCase{"Letters", "00100002O0", std::nullopt},
                      ParseCase{"Space", "00100 00200", std::nullopt},
                      ParseCase{"Sign", "-010000200", std::nullopt},
                      ParseCase{"BelowDesktop", "0076800200", std::nullopt},
                      ParseCase{"LastRow", "0076700200", QPoint(200, 767)},
                      ParseCase{"RightOfDesktop", "0010001024", std::nullopt},
                      ParseCase{"LastColumn", "0010001023", QPoint(1023, 100)},
                      ParseCase{"FarAway", "9999999999", std::nullopt},
                      ParseCase{"SmallestAccepted", "0000100001", QPoint(1, 1)}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(PlatformWindowPos, DesktopOffsetMovesTheLimits) {
    const QRect second(1024, 0, 1280, 1024);
    EXPECT_EQ(platform::ParseWindowPos("0010002000", second), QPoint(2000, 100));
    EXPECT_EQ(platform::ParseWindowPos("0010002304", second), std::nullopt);
}

TEST(PlatformWindowPos, DesktopIsTheScreenAreaOrAFallback) {
    const QRect desktop = platform::DesktopRect();
    EXPECT_TRUE(desktop.isValid());
    EXPECT_GT(desktop.width(), 0);
    EXPECT_GT(desktop.height(), 0);
}

// One window saved under `key`, then the key restored onto another window.
struct RoundTripCase {
    const char* name;
    const char* key;
    QPoint saved;
    const char* stored;
    QPoint elsewhere; // where the second window starts
    bool restored;
    QPoint after; // where the second window ends
};

void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }

class PlatformWindowPosRoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(PlatformWindowPosRoundTrip, SavedThenRestoredOntoAnotherWindow) {
    const RoundTripCase& c = GetParam();
    QWidget first;
    first.move(c.saved);
    platform::SaveWindowPos(c.key, &first);
    EXPECT_EQ(platform::GetProfileString("WindowPos", c.key, ""), c.stored);
    QWidget second;
    second.move(c.elsewhere);
    EXPECT_EQ(platform::RestoreWindowPos(c.key, &second), c.restored);
    EXPECT_EQ(second.pos(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlatformWindowPosRoundTrip,
    ::testing::Values(RoundTripCase{"SavedPositionIsRestored", "Mch", QPoint(120, 80), "0008000120", QPoint(5, 5),
                                    true, QPoint(120, 80)},
                      RoundTripCase{"NegativePositionIsSavedAsZeroAndNotRestored", "Vs", QPoint(-40, -10),
                                    "0000000000", QPoint(33, 44), false, QPoint(33, 44)}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(PlatformWindowPos, MissingKeyLeavesTheWindowWhereItIs) {
    QWidget window;
    window.move(12, 34);
    EXPECT_FALSE(platform::RestoreWindowPos("NeverSaved", &window));
    EXPECT_EQ(window.pos(), QPoint(12, 34));
    EXPECT_FALSE(platform::RestoreWindowPos("Main", nullptr));
}

} // namespace

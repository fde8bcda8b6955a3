// SPDX-License-Identifier: GPL-3.0-or-later
// Saving and loading design-data files through the design window: the text
// written, the round trip, the remembered folder and damaged files.
#include "window_helpers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

using namespace testing_tonwell;

const char* const kFolderSection = "File Path";
const char* const kFolderKey = "Audio Editor Setting File Path";

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void WriteAll(const QString& path, const QByteArray& data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(data), data.size());
}

class DesignFileWindowTest : public DesignWindowTest {
protected:
    void SetUp() override {
        DesignWindowTest::SetUp();
        ASSERT_TRUE(folder.isValid());
    }
    QString Path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    void Save(const QString& path) {
        dialogs->files.push_back(path);
        window->OnFileSave();
    }
    void Load(const QString& path) {
        dialogs->files.push_back(path);
        window->OnFileOpen();
    }
    QTemporaryDir folder;
};

TEST_F(DesignFileWindowTest, SaveWritesTheDesignAndRemembersTheFolder) {
    Radio(tonwell::kIdBpf)->click();
    Bar(tonwell::kIdAttenuationBar)->setValue(45);
    Save(Path("band.udd"));
    ASSERT_EQ(dialogs->fileRequests.size(), 1u);
    EXPECT_TRUE(dialogs->fileRequests[0].save);
    EXPECT_EQ(dialogs->fileRequests[0].defaultSuffix, "udd");
    EXPECT_TRUE(dialogs->fileRequests[0].filter.contains("*.udd"));
    EXPECT_EQ(ReadAll(Path("band.udd")), QByteArray("3\n1.000\n2.000\n4.000\n45.000\n\n----- Note -----\n\n"));
    EXPECT_EQ(platform::GetProfileString(kFolderSection, kFolderKey, ""), QDir(folder.path()).absolutePath());
    EXPECT_TRUE(dialogs->messages.empty());

    // The next dialog opens in that folder.
    window->OnFileOpen(); // cancelled: no file queued
    ASSERT_EQ(dialogs->fileRequests.size(), 2u);
    EXPECT_FALSE(dialogs->fileRequests[1].save);
    EXPECT_EQ(dialogs->fileRequests[1].folder, QDir(folder.path()).absolutePath());
}

TEST_F(DesignFileWindowTest, LoadRestoresTypeCutoffsAttenuationAndCurve) {
    Radio(tonwell::kIdBef)->click();
    Bar(tonwell::kIdF1Bar)->setValue(700);
    Bar(tonwell::kIdF2Bar)->setValue(1900);
    Bar(tonwell::kIdAttenuationBar)->setValue(66);
    const auto designed = window->coefficients();
    const QImage curve = window->surface().copy(tonwell::kPlotRect);
    Save(Path("stop.udd"));

    Radio(tonwell::kIdLpf)->click();
    Bar(tonwell::kIdF1Bar)->setValue(4000);
    Bar(tonwell::kIdAttenuationBar)->setValue(5);
    ASSERT_NE(window->coefficients(), designed);

    Load(Path("stop.udd"));
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_TRUE(Radio(tonwell::kIdBef)->isChecked());
    EXPECT_EQ(window->design().type, 4);
    EXPECT_EQ(window->design().f1, 0.7);
    EXPECT_EQ(window->design().f2, 1.9);
    EXPECT_EQ(window->design().attenuation, 66.0);
    ExpectBars(700, 1900, 66);
    EXPECT_TRUE(Bar(tonwell::kIdF2Bar)->isEnabled());
    EXPECT_EQ(window->coefficients(), designed);
    EXPECT_EQ(window->surface().copy(tonwell::kPlotRect), curve);
}

TEST_F(DesignFileWindowTest, LowPassRoundTripKeepsTheSecondBarDisabled) {
    Bar(tonwell::kIdF1Bar)->setValue(2500);
    Save(Path("low.udd"));
    EXPECT_EQ(ReadAll(Path("low.udd")), QByteArray("1\n2.500\n2.500\n0.000\n20.000\n\n----- Note -----\n\n"));
    Radio(tonwell::kIdBpf)->click();
    Load(Path("low.udd"));
    EXPECT_EQ(window->design().type, 1);
    EXPECT_EQ(window->design().f1, 2.5);
    EXPECT_EQ(window->design().f2, 0.0);
    EXPECT_FALSE(Bar(tonwell::kIdF2Bar)->isEnabled());
    EXPECT_TRUE(Radio(tonwell::kIdLpf)->isChecked());
}

TEST_F(DesignFileWindowTest, CancelledDialogsChangeNothing) {
    window->OnFileSave();
    window->OnFileOpen();
    EXPECT_EQ(dialogs->fileRequests.size(), 2u);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(window->design().type, 1);
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(DesignFileWindowTest, FailedSaveShowsTheErrorAndLeavesNoFile) {
    const QString path = Path("missing/sub/x.udd");
    Save(path);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, "File Open Error!!");
    EXPECT_EQ(dialogs->messages[0].caption, "Save User Design Data");
    EXPECT_EQ(dialogs->messages[0].flags, platform::MbOk | platform::MbIconError);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(DesignFileWindowTest, SaveOverAnExistingFileReplacesItWhole) {
    WriteAll(Path("old.udd"), QByteArray(5000, 'x'));
    Save(Path("old.udd"));
    EXPECT_EQ(ReadAll(Path("old.udd")), QByteArray("1\n0.300\n0.300\n0.000\n20.000\n\n----- Note -----\n\n"));
}

struct BadFile {
    const char* name;
    const char* content; // nullptr: the path does not exist
    const char* message;
};

std::ostream& operator<<(std::ostream& os, const BadFile& f) { return os << f.name; }

class BadDesignFileTest : public DesignFileWindowTest, public ::testing::WithParamInterface<BadFile> {};

TEST_P(BadDesignFileTest, DesignStaysAsItWas) {
    Radio(tonwell::kIdBpf)->click();
    Bar(tonwell::kIdF1Bar)->setValue(1234);
    const auto design = window->design();
    const auto taps = window->coefficients();
    const QString path = Path("bad.udd");
    if (GetParam().content != nullptr) WriteAll(path, QByteArray(GetParam().content));
    Load(path);
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, GetParam().message);
    EXPECT_EQ(dialogs->messages[0].caption, "Load User Design Data");
    EXPECT_EQ(dialogs->messages[0].flags, platform::MbOk | platform::MbIconError);
    EXPECT_EQ(window->design().type, design.type);
    EXPECT_EQ(window->design().f1, design.f1);
    EXPECT_EQ(window->design().f2, design.f2);
    EXPECT_EQ(window->design().attenuation, design.attenuation);
    EXPECT_EQ(window->coefficients(), taps);
    EXPECT_TRUE(Radio(tonwell::kIdBpf)->isChecked());
    EXPECT_EQ(Bar(tonwell::kIdF1Bar)->value(), 1234);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadDesignFileTest,
    ::testing::Values(BadFile{"Missing", nullptr, "File Open Error!!"},
                      BadFile{"Empty", "", "Invalid design data file."},
                      BadFile{"TooFewLines", "3\n1.0\n2.0\n", "Invalid design data file."},
                      BadFile{"Letters", "3\n1.0\ntwo\n4.0\n20\n", "Invalid design data file."},
                      BadFile{"TypeNine", "9\n1.0\n0.5\n1.0\n20\n", "Invalid design data file."},
                      BadFile{"Picture", "\x89PNG\r\n\x1a\n\0\0\0\rIHDR", "Invalid design data file."},
                      // Cut inside its fifth line ("60.000"): the note block is missing.
                      BadFile{"CutShort", "1\n0.300\n0.300\n0.000\n6", "Invalid design data file."},
                      // Nonsense the window could never have written.
                      BadFile{"Absurd", "4\n-7\n-2.5\n1e12\n1000\n\n----- Note -----\n\n",
                              "Invalid design data file."},
                      BadFile{"F1Ninetynine", "1\n0\n99.000\n0.000\n20.000\n\n----- Note -----\n\n",
                              "Invalid design data file."},
                      BadFile{"EdgesSwapped", "3\n1\n4.000\n2.000\n20.000\n\n----- Note -----\n\n",
                              "Invalid design data file."}),
    [](const auto& tc) { return std::string(tc.param.name); });

TEST_F(DesignFileWindowTest, AFolderIsNotAFile) {
    Load(folder.path());
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text, "File Open Error!!");
    EXPECT_EQ(window->design().type, 1);
}

TEST_F(DesignFileWindowTest, LongFileIsReadOnlyAtItsStart) {
    QByteArray data("2\n0\n1.5\n0\n30\n\n----- Note -----\n\n");
    data += QByteArray(1 << 20, 'z');
    WriteAll(Path("long.udd"), data);
    Load(Path("long.udd"));
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_EQ(window->design().type, 2);
    EXPECT_EQ(window->design().f1, 1.5);
    EXPECT_EQ(window->design().attenuation, 30.0);
}

} // namespace

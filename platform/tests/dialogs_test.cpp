// SPDX-License-Identifier: GPL-3.0-or-later
// Message and file boxes (scripted and real), help pages and the link's
// error boxes.
#include <platform.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

namespace {

class PlatformDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        scripted = std::make_shared<platform::ScriptedDialogs>();
        platform::SetDialogProvider(scripted);
    }
    void TearDown() override { platform::SetDialogProvider(nullptr); }
    std::shared_ptr<platform::ScriptedDialogs> scripted;
};

TEST_F(PlatformDialogs, ScriptedAnswersInOrderThenTheDefault) {
    scripted->answers = {platform::IdYes, platform::IdNo};
    scripted->defaultAnswer = platform::IdCancel;
    EXPECT_EQ(platform::MessageBox("Clear this Memory?", "Zephyra", platform::MbYesNo), platform::IdYes);
    EXPECT_EQ(platform::MessageBox("Clear this Memory?", "Zephyra", platform::MbYesNo), platform::IdNo);
    EXPECT_EQ(platform::MessageBox("AT TUNE was failed."), platform::IdCancel);
    ASSERT_EQ(scripted->messages.size(), 3u);
    EXPECT_EQ(scripted->messages[0].text, "Clear this Memory?");
    EXPECT_EQ(scripted->messages[0].flags, platform::MbYesNo);
    EXPECT_EQ(scripted->messages[2].caption, "Zephyra"); // the default caption
    EXPECT_EQ(scripted->messages[2].flags, platform::MbOk);
}

TEST_F(PlatformDialogs, ScriptedFileDialogAnswersOrCancels) {
    scripted->files = {QString("/tmp/design.udd"), std::nullopt};
    platform::FileDialogRequest request;
    request.save = true;
    request.title = "Save";
    request.filter = "Design data (*.udd)";
    request.defaultSuffix = "udd";
    EXPECT_EQ(platform::FileDialog(request), QString("/tmp/design.udd"));
    EXPECT_EQ(platform::FileDialog(request), std::nullopt);
    EXPECT_EQ(platform::FileDialog(request), std::nullopt); // nothing queued: cancelled
    ASSERT_EQ(scripted->fileRequests.size(), 3u);
    EXPECT_TRUE(scripted->fileRequests[0].save);
    EXPECT_EQ(scripted->fileRequests[0].filter, "Design data (*.udd)");
}

TEST_F(PlatformDialogs, NullProviderRestoresTheRealBoxes) {
    EXPECT_EQ(&platform::Dialogs(), scripted.get());
    platform::SetDialogProvider(nullptr);
    EXPECT_EQ(dynamic_cast<platform::ScriptedDialogs*>(&platform::Dialogs()), nullptr);
}

TEST_F(PlatformDialogs, LinkErrorBoxesReachTheProvider) {
    platform::InstallLinkMessageBoxes();
    CCorvan link;
    EXPECT_EQ(link.Conn("QX-9000", "/nonexistent/ttyZZ9", 9600, "N", 8, 1, 1), 0);
    ASSERT_EQ(scripted->messages.size(), 1u);
    // The box's own words first, then why in plain words.
    const QStringList parts = scripted->messages[0].text.split(QStringLiteral("\n\n"));
    ASSERT_EQ(parts.size(), 2) << scripted->messages[0].text.toStdString();
    EXPECT_EQ(parts[0], "Error opening COM port");
    EXPECT_TRUE(parts[1].contains(QLatin1String("/nonexistent/ttyZZ9"))) << parts[1].toStdString();
    EXPECT_EQ(scripted->messages[0].caption, "Zephyra");
    EXPECT_EQ(scripted->messages[0].flags, platform::MbOk);
}

TEST_F(PlatformDialogs, LinkErrorFromAnotherThreadIsShownOnTheUiThread) {
    platform::InstallLinkMessageBoxes();
    std::thread other([] { CCorvan().Conn("QX-9000", "/nonexistent/ttyZZ8", 9600, "N", 8, 1, 1); });
    other.join();
    EXPECT_TRUE(scripted->messages.empty()); // not from the other thread
    platform::PumpMessages();
    ASSERT_EQ(scripted->messages.size(), 1u);
    EXPECT_TRUE(scripted->messages[0].text.startsWith(QLatin1String("Error opening COM port\n\n")));
}

// ----------------------------------------------------------- real boxes

struct BoxCase {
    const char* name;
    unsigned flags;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton;
    QMessageBox::Icon icon;
    int answerOfDefault;
};

class PlatformRealBox : public ::testing::TestWithParam<BoxCase> {};

// Opens the real box, examines it from inside its own event loop and presses
// its default button.
TEST_P(PlatformRealBox, ShowsTheFlagsButtonsAndAnswersTheDefault) {
    const BoxCase c = GetParam();
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString title;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(w);
            if (box == nullptr || !box->isVisible()) {
                continue;
            }
            seen = true;
            buttons = box->standardButtons();
            defaultButton = box->standardButton(box->defaultButton());
            icon = box->icon();
            title = box->windowTitle();
            box->defaultButton()->click();
        }
    });
    const int answer = platform::MessageBox("Invalid Frequency.\nPlease check and try again.", "Zephyra", c.flags);
    ASSERT_TRUE(seen);
    EXPECT_EQ(buttons, c.buttons);
    EXPECT_EQ(defaultButton, c.defaultButton);
    EXPECT_EQ(icon, c.icon);
    EXPECT_EQ(title, "Zephyra");
    EXPECT_EQ(answer, c.answerOfDefault);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, PlatformRealBox,
    ::testing::Values(
        BoxCase{"Ok", platform::MbOk, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::NoIcon, platform::IdOk},
        BoxCase{"OkCancelError", platform::MbOkCancel | platform::MbIconError,
                QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Critical, platform::IdOk},
        BoxCase{"YesNoQuestion", platform::MbYesNo | platform::MbIconQuestion,
                QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::Question, platform::IdYes},
        BoxCase{"YesNoSecondDefault", platform::MbYesNo | platform::MbIconWarning | platform::MbDefButton2,
                QMessageBox::Yes | QMessageBox::No, QMessageBox::No, QMessageBox::Warning, platform::IdNo},
        BoxCase{"YesNoCancelInfo", platform::MbYesNoCancel | platform::MbIconInformation | platform::MbDefButton2,
                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No,
                QMessageBox::Information, platform::IdNo}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(PlatformRealBoxEscape, ClosingTheBoxAnswersCancel) {
    bool seen = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(w); box != nullptr && box->isVisible()) {
                seen = true;
                box->reject();
            }
        }
    });
    EXPECT_EQ(platform::MessageBox("Clear this Memory?", "Zephyra", platform::MbOkCancel), platform::IdCancel);
    EXPECT_TRUE(seen);
}

// Runs `step` on the visible file dialog once its own event loop runs.
void onFileDialog(std::function<void(QFileDialog*)> step, bool* seen) {
    QTimer::singleShot(0, [step, seen] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QFileDialog*>(w); dialog != nullptr && dialog->isVisible()) {
                *seen = true;
                step(dialog);
            }
        }
    });
}

TEST(PlatformRealFileDialog, SaveOpensInTheFolderAndAddsTheSuffix) {
    QTemporaryDir folder;
    platform::FileDialogRequest request;
    request.save = true;
    request.title = "Save design";
    request.folder = folder.path();
    request.fileName = "band-pass";
    request.filter = "Design data (*.udd)";
    request.defaultSuffix = "udd";
    bool seen = false;
    QString title;
    QStringList filters;
    onFileDialog(
        [&](QFileDialog* dialog) {
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
            EXPECT_EQ(QDir(dialog->directory()).canonicalPath(), QDir(folder.path()).canonicalPath());
            static_cast<QDialog*>(dialog)->accept(); // as the Save button does
        },
        &seen);
    const std::optional<QString> chosen = platform::FileDialog(request);
    ASSERT_TRUE(seen);
    EXPECT_EQ(title, "Save design");
    EXPECT_EQ(filters, QStringList{"Design data (*.udd)"});
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QFileInfo(*chosen).fileName(), "band-pass.udd");
    EXPECT_EQ(QFileInfo(*chosen).dir().canonicalPath(), QDir(folder.path()).canonicalPath());
}

TEST(PlatformRealFileDialog, CancelGivesNothing) {
    platform::FileDialogRequest request;
    request.title = "Open design";
    request.filter = "Design data (*.udd)";
    bool seen = false;
    onFileDialog([](QFileDialog* dialog) { dialog->reject(); }, &seen);
    EXPECT_EQ(platform::FileDialog(request), std::nullopt);
    EXPECT_TRUE(seen);
}

// ------------------------------------------------------------------ help

class PlatformHelp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        qputenv("ZEPHYRA_HELP_DIR", dir.path().toLocal8Bit());
        write("3001.html", "<html><body><h1>Console</h1></body></html>");
        write("index.html", "<html><body><h1>Contents</h1></body></html>");
    }
    void TearDown() override {
        qunsetenv("ZEPHYRA_HELP_DIR");
        platform::SetHelpViewer({});
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<QTextBrowser*>(w) != nullptr) {
                delete w;
            }
        }
    }
    void write(const QString& name, const QByteArray& text) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QTemporaryDir dir;
};

TEST_F(PlatformHelp, PageOfTheContextOrTheContents) {
    EXPECT_EQ(platform::HelpPagePath(3001), QDir(dir.path()).canonicalPath() + "/3001.html");
    EXPECT_EQ(platform::HelpPagePath(42), QDir(dir.path()).canonicalPath() + "/index.html");
    QFile::remove(dir.filePath("index.html"));
    EXPECT_EQ(platform::HelpPagePath(42), QString());
}

// Without an explicit folder: the pages installed beside the program come
// before any other copy, and a folder that lacks the page passes the search on.
TEST(PlatformHelpFolders, ProgramsOwnPagesFirstAndAFolderWithoutThePageIsPassedOver) {
    qunsetenv("ZEPHYRA_HELP_DIR");
    QTemporaryDir emptySource;
    ASSERT_TRUE(emptySource.isValid());
    ASSERT_TRUE(QDir(emptySource.path()).mkpath("help"));
    qputenv("ZEPHYRA_SOURCE_DIR", emptySource.path().toLocal8Bit());

    // The source tree's pages are still found behind an empty copy.
    const QString fromSource = platform::HelpPagePath(4);
    EXPECT_TRUE(fromSource.endsWith("/help/4.html")) << fromSource.toStdString();
    EXPECT_FALSE(fromSource.startsWith(QDir(emptySource.path()).canonicalPath()));

    // Pages beside the program win over the source tree.
    const QString besideProgram = QCoreApplication::applicationDirPath() + "/help";
    ASSERT_FALSE(QFileInfo::exists(besideProgram)) << "a stale folder beside the test program";
    ASSERT_TRUE(QDir().mkpath(besideProgram));
    {
        QFile page(besideProgram + "/4.html");
        ASSERT_TRUE(page.open(QIODevice::WriteOnly));
        page.write("<html><body>beside</body></html>");
    }
    const QString expected = QDir(besideProgram).canonicalPath() + "/4.html";
    const QString found = platform::HelpPagePath(4);
    QDir(besideProgram).removeRecursively();
    qunsetenv("ZEPHYRA_SOURCE_DIR");
    EXPECT_EQ(found, expected);
}

TEST_F(PlatformHelp, ReplacedViewerGetsContextAndPage) {
    int shownContext = 0;
    QString shownPage;
    platform::SetHelpViewer([&](int context, const QString& page) {
        shownContext = context;
        shownPage = page;
    });
    platform::ShowHelp(3001);
    EXPECT_EQ(shownContext, 3001);
    EXPECT_TRUE(shownPage.endsWith("/3001.html"));
}

TEST_F(PlatformHelp, HelpWindowShowsThePage) {
    platform::ShowHelp(3001);
    QTextBrowser* browser = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* b = qobject_cast<QTextBrowser*>(w); b != nullptr && b->isVisible()) {
            browser = b;
        }
    }
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->source().toLocalFile().endsWith("/3001.html"));
    EXPECT_TRUE(browser->toPlainText().contains("Console"));
}

TEST_F(PlatformHelp, MissingPageTellsTheOperator) {
    auto scripted = std::make_shared<platform::ScriptedDialogs>();
    platform::SetDialogProvider(scripted);
    QFile::remove(dir.filePath("index.html"));
    QFile::remove(dir.filePath("3001.html"));
    platform::ShowHelp(3001); // the folder is there, its pages are not
    ASSERT_EQ(scripted->messages.size(), 1u);
    EXPECT_EQ(scripted->messages[0].caption, "Zephyra");
    platform::SetDialogProvider(nullptr);
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// The secondary-window frame: building, viewing again, closing to the main
// window, and the position kept when the window is destroyed or deleted.
#include <platform.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr platform::SecondaryWindowDescription kDescription{"Test Window", "Tsw", 301, 320, 200};
const QString kProfileKey = QStringLiteral("Tsw");

class TestWindow : public platform::SecondaryWindow {
public:
    explicit TestWindow(QWidget* parent = nullptr, bool fallback = false)
        : platform::SecondaryWindow(kDescription, parent), m_fallback(fallback) {}

    std::vector<std::string> calls;
    bool linkAtInit = false;
    bool visibleAtViewAgain = false;
    using platform::SecondaryWindow::CloseWindow;
    using platform::SecondaryWindow::CloseWithResult;
    using platform::SecondaryWindow::link;

protected:
    void OnInitDialog() override {
        calls.push_back("init");
        linkAtInit = link() != nullptr;
        auto* label = new QLabel(QStringLiteral("content"), this);
        label->setObjectName(QStringLiteral("content"));
    }
    void OnViewAgain() override {
        calls.push_back("again");
        visibleAtViewAgain = isVisible();
    }
    std::optional<QFont> FallbackFont() const override {
        if (!m_fallback) {
            return std::nullopt;
        }
        QFont font(QStringLiteral("Times New Roman"));
        font.setPixelSize(17);
        return font;
    }

private:
    bool m_fallback;
};

QString SavedPosition() {
    return platform::GetProfileString(QStringLiteral("WindowPos"), kProfileKey, QString());
}

QString FramePosition(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    return platform::FormatWindowPos(frame.y(), frame.x());
}

void Deliver() {
    for (int i = 0; i < 5; ++i) {
        QApplication::processEvents();
    }
}

class PlatformSecondaryWindow : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
        platform::SetMainWindow(nullptr);
    }
    void TearDown() override { platform::SetMainWindow(nullptr); }

    QTemporaryDir m_dir;
};

TEST_F(PlatformSecondaryWindow, CreateBuildsOnceWithTitleSizeLinkAndSavedPosition) {
    platform::WriteProfileString(QStringLiteral("WindowPos"), kProfileKey,
                                 platform::FormatWindowPos(120, 90));
    TestWindow window;
    EXPECT_FALSE(window.testAttribute(Qt::WA_QuitOnClose));
    EXPECT_EQ(window.objectName(), kProfileKey);
    EXPECT_EQ(window.link(), nullptr);
    window.Create();
    window.Create();
    EXPECT_EQ(window.calls, (std::vector<std::string>{"init"}));
    EXPECT_TRUE(window.linkAtInit);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Test Window"));
    EXPECT_EQ(window.minimumSize(), QSize(320, 200));
    EXPECT_EQ(window.maximumSize(), QSize(320, 200));
    EXPECT_EQ(window.pos(), QPoint(90, 120));
    EXPECT_FALSE(window.isVisible());
}

TEST_F(PlatformSecondaryWindow, FontComesFromTheMainWindowElseTheFallback) {
    QWidget main;
    QFont mainFont(QStringLiteral("Arial"));
    mainFont.setPixelSize(13);
    main.setFont(mainFont);
    platform::SetMainWindow(&main);
    TestWindow withMain(nullptr, true);
    withMain.Create();
    EXPECT_EQ(withMain.font().family(), mainFont.family());
    EXPECT_EQ(withMain.font().pixelSize(), 13);

    platform::SetMainWindow(nullptr);
    TestWindow fallback(nullptr, true);
    fallback.Create();
    EXPECT_EQ(fallback.font().pixelSize(), 17);

    TestWindow plain(nullptr, false);
    const QFont before = plain.font();
    plain.Create();
    EXPECT_EQ(plain.font(), before);
}

TEST_F(PlatformSecondaryWindow, DestroyWindowSavesThePositionOnceAndDropsTheContent) {
    TestWindow window;
    window.Create();
    window.show();
    window.move(150, 170);
    Deliver();
    const QString expected = FramePosition(window);
    window.DestroyWindow();
    EXPECT_EQ(SavedPosition(), expected);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("content")), nullptr);
    EXPECT_EQ(window.link(), nullptr);

    // A second destroy, and the deletion after it, keep the first position.
    window.move(300, 310);
    window.DestroyWindow();
    EXPECT_EQ(SavedPosition(), expected);
}

TEST_F(PlatformSecondaryWindow, DeletedWithoutDestroyWindowStillSavesThePosition) {
    QString expected;
    {
        QWidget parent;
        auto* window = new TestWindow(&parent);
        window->Create();
        window->move(210, 230);
        expected = FramePosition(*window);
    }
    EXPECT_EQ(SavedPosition(), expected);
}

TEST_F(PlatformSecondaryWindow, NeverCreatedSavesNothing) {
    {
        TestWindow window;
        window.move(210, 230);
        window.DestroyWindow();
    }
    EXPECT_EQ(SavedPosition(), QString());
}

TEST_F(PlatformSecondaryWindow, BringUpShowsThenViewsAgainThenActivates) {
    TestWindow window;
    window.Create();
    window.showMinimized();
    window.BringUp();
    Deliver();
    EXPECT_EQ(window.calls, (std::vector<std::string>{"init", "again"}));
    EXPECT_TRUE(window.visibleAtViewAgain);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_EQ(QApplication::activeWindow(), &window);
}

TEST_F(PlatformSecondaryWindow, ClosingActivatesTheMainWindowThenHides) {
    QWidget main;
    platform::SetMainWindow(&main);
    main.show();
    for (const bool withResult : {false, true}) {
        TestWindow window;
        window.Create();
        window.show();
        window.activateWindow();
        Deliver();
        ASSERT_EQ(QApplication::activeWindow(), &window);
        if (withResult) {
            window.CloseWithResult(QDialog::Accepted);
            EXPECT_EQ(window.result(), QDialog::Accepted);
        } else {
            window.CloseWindow();
        }
        Deliver();
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(QApplication::activeWindow(), &main) << "with result: " << withResult;
    }
}

// F1 opens the window's own help page; a window without a help context
// leaves the key alone.
TEST_F(PlatformSecondaryWindow, HelpKeyOpensTheWindowsHelpContext) {
    std::vector<int> opened;
    platform::SetHelpViewer([&opened](int context, const QString&) { opened.push_back(context); });
    TestWindow window;
    window.Create();
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&window, &f1);
    EXPECT_EQ(opened, std::vector<int>{301});

    platform::SecondaryWindow plain({"Plain", "Tsp", 0, 100, 80}, nullptr);
    plain.Create();
    QKeyEvent again(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(&plain, &again);
    EXPECT_EQ(opened, std::vector<int>{301}) << "a window without a help context opened one";
    platform::SetHelpViewer({});
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// console_startup.cpp - the console's start: controls, look, layout and the
// start-up picture.
#include "console_dialog.h"

#include "accessibility/console_accessibility.h"
#include "hosting/library_windows.h"

#include "console_ids.h"
#include "console_menu.h"
#include "splash_window.h"

#include <corvan.h>

#include <QFont>
#include <QFontInfo>
#include <QMenuBar>

namespace {

constexpr int kSplashTicks = 30; // 30 x 100 ms: the picture stays about 3 s
constexpr std::chrono::milliseconds kSplashTick{100};

// The console's dialog font: "Times New Roman", 13 pixels, regular, roman.
QFont DialogFont() {
    QFont font(QStringLiteral("Times New Roman"));
    font.setPixelSize(13);
    font.setWeight(QFont::Normal);
    font.setStyleHint(QFont::Serif);
    font.setFixedPitch(true);
    // Asking for a fixed pitch must not trade the face for a monospaced one.
    if (QFontInfo(font).family() != QFontInfo(QFont(QStringLiteral("Times New Roman"))).family()) {
        font.setFixedPitch(false);
    }
    return font;
}

const QStringList kStepEntries = {QStringLiteral("    1.00 "), QStringLiteral("    2.50 "),
                                  QStringLiteral("    5.00 "), QStringLiteral("   10.00 ")};

} // namespace

void ConsoleDialog::OnInitDialog() {
    setWindowTitle(QString::fromLatin1(kConsoleCaption));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(false);
    platform::SetMainWindow(this);
    ConsoleAccessibility::InstallFactory();
    m_pictures = ConsolePictures::Draw();

    ShowSplash();
    setFont(DialogFont());
    setWindowIcon(m_pictures.appIcon);
    ResetConsoleState();
    CreateClientArea();

    m_controls.build(m_client, ConsoleTemplate());
    SetScrollRanges();
    if (!m_options.keepTemplateTexts) {
        ClearDisplayTexts();
    }
    m_controls.lamp(idc::ConnectLamp)->hide();
    m_controls.lamp(idc::AuxLamp)->hide();

    PumpMessages();
    ApplyColours();
    PumpMessages();
    ApplyFonts();

    LoadImages();
    m_controls.comboBox(idc::StepList)->addItems(kStepEntries);
    m_controls.comboBox(idc::StepList)->setCurrentIndex(-1);
    // The radio is off until it reports otherwise: a dark display.
    ShowLiveDisplay(m_options.keepTemplateTexts);

    m_link = std::make_unique<CCorvan>();
    m_windows = m_options.windows ? m_options.windows() : nullptr;
    if (!m_windows)
        m_windows = std::make_unique<LibraryWindows>();
    BuildMenu();
    InstallCommands();
    InstallConnection();
    InstallWindowMessages();
    InstallWindowHosting();
    InstallOperations();
    LayOut();
    new ConsoleAccessibility(*this); // a child of the console
    HoldSplash();
    // The sharing servers start last, once the console is up.
    InstallSharing();
}

void ConsoleDialog::CreateClientArea() {
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("consoleClient"));
}

void ConsoleDialog::LayOut() {
    // The controls already stand at their template rectangles; the RIT/XIT
    // offset bar stays hidden (the offset moves with "<", "<<", ">", ">>").
    m_controls.scrollBar(idc::RitBar)->hide();
    const int menuHeight = m_menuBar->sizeHint().height();
    m_menuBar->setGeometry(0, 0, kConsoleWidth, menuHeight);
    m_client->setGeometry(0, menuHeight, kConsoleWidth, kConsoleHeight - menuHeight);
    setFixedSize(kConsoleWidth, kConsoleHeight);
    platform::RestoreWindowPos(QStringLiteral("Main"), this);
}

void ConsoleDialog::ShowSplash() {
    if (!m_options.showSplash) {
        return;
    }
    m_splash = std::make_unique<SplashWindow>(m_pictures.splash, this);
    m_splash->show();
    PumpMessages();
}

void ConsoleDialog::HoldSplash() {
    if (!m_splash) {
        return;
    }
    for (int tick = 0; tick < kSplashTicks; ++tick) {
        PumpMessages();
        m_options.sleep(kSplashTick);
    }
    m_splash.reset();
}

// SPDX-License-Identifier: GPL-3.0-or-later
// console_dialog.h - the console window: a thin shell over files by topic.
//
//   application/console_app.cpp      the application object (single instance, run, render)
//   application/console_startup.cpp  the start-up sequence (controls, look, layout, position)
//   window/console_dialog.cpp   construction, window events, message and command dispatch
//   window/console_template.cpp the template: every control's class, caption, rectangle
//   window/console_look.cpp     fonts, colours, images and scroll-bar ranges
//   window/console_menu.cpp     the menu bar and its initial enabled/greyed states
//   window/console_commands.cpp what each menu command does (per-topic installers)
//   window/console_help.cpp     context help
//   window/console_end.cpp      the end sequence and DestroyAllPanels
//   window/pictures.cpp         every picture, drawn at start
//   display/display_texts.cpp   display helpers (clearing, the dark power-off display)
//
// Menu commands run through a command table: each topic file installs its
// handlers (InstallXxxCommands); an id without a handler does nothing.
// Window messages (the link's notifications 4096..4240 and the windows'
// 0x1100..0x1200) run through a message table the same way.
#pragma once

#include "console_controls.h"
#include "pictures.h"

#include <console_state.h>
#include <platform.h>
#include <secondary_windows.h>

#include <QDialog>
#include <QPointer>

#include <chrono>
#include <functional>
#include <map>
#include <memory>

class CCorvan;
class QMenu;
class QMenuBar;
namespace zephyra {
class BuiltInSimulator;
class ConsoleLink;
class ConsoleSurface;
class RadioSharing;
}
using zephyra::ConsoleState;
class QAction;
class SplashWindow;
class ConsoleDisplay;
class ConsoleOperations;

struct ConsoleOptions {
    bool showSplash = true;         // the start-up picture for about 3 s
    bool keepTemplateTexts = false; // show the template's captions (rendering the layout)
    bool simulator = false;         // run on the built-in virtual transceiver
    QString port;                   // for one run: this device instead of the profile's
    bool connect = false;           // Control > ON once the console is up
    bool persistent = true;         // saves the window position at the end
    // How the start-up waits; tests and rendering never sleep.
    std::function<void(std::chrono::milliseconds)> sleep;
    // The secondary windows the console reaches; empty means the libraries'
    // windows. Tests put a recorder here.
    std::function<std::unique_ptr<zephyra::SecondaryWindows>()> windows;

    // The console on its built-in simulator as tests and benchmarks run it:
    // no start-up picture, no sleeping, its position not saved.
    static ConsoleOptions Simulated() {
        ConsoleOptions options;
        options.showSplash = false;
        options.persistent = false;
        options.simulator = true;
        options.sleep = [](std::chrono::milliseconds) {};
        return options;
    }
};

// True for the controls that sit inside the display area (not its background).
bool IsDisplayControl(const ControlRow& entry);
// The help context for a console state: not connected, dial selection,
// voice recall, satellite mode, memory scroll, else the contents.
int HelpContextFor(const ConsoleState& state);

// The steps of the end sequence, in the order they run (for observers).
enum class EndStep {
    PanelDestroyed, // one per destroy export, with its name
    PositionSaved,
    Disconnected,
    MessagesPumped,
    ControlsDeleted,
    LinkDeleted,
    SplashDeleted,
};

class ConsoleDialog : public QDialog {
    Q_OBJECT
public:
    using CommandHandler = std::function<void()>;
    using MessageHandler = std::function<void(const platform::WindowMessage&)>;
    using EndObserver = std::function<void(EndStep, const char* name)>;

    explicit ConsoleDialog(ConsoleOptions options = {}, QWidget* parent = nullptr);
    ~ConsoleDialog() override;

    // ---- what the topic files and tests reach
    const ConsoleControls& controls() const { return m_controls; }
    QWidget* client() const { return m_client; }
    QMenuBar* menuBar() const { return m_menuBar; }
    QAction* menuAction(int commandId) const;
    // The menu that holds a command's item; null for none.
    QMenu* menuHolding(int commandId) const;
    const ConsoleState& state() const { return m_state; }
    ConsoleState& state() { return m_state; }
    CCorvan* link() const { return m_link.get(); }
    // The connection to the radio (Control > ON / OFF, the initial read).
    zephyra::ConsoleLink* connection() const { return m_connection.get(); }
    // The display operations: how the console follows the radio.
    ConsoleDisplay* display() const { return m_display.get(); }
    // What the operator's actions do: controls, keypad, dial, keys, timers.
    ConsoleOperations* operations() const { return m_operations.get(); }
    // The table of calls to the secondary windows.
    zephyra::SecondaryWindows& windows() const { return *m_windows; }
    // The servers that share the radio with other programs.
    zephyra::RadioSharing* sharing() const { return m_sharing.get(); }
    // Control > ON once the console is up, when the command line or the
    // "Connect at Start" setting asks for it.
    bool ConnectsAtStart() const;
    // Control > ON, waiting for the end of the initial read; true when the
    // console is connected and shows the radio's values.
    bool ConnectAndSynchronise();
    const ConsolePictures& pictures() const { return m_pictures; }
    const ConsoleOptions& options() const { return m_options; }

    // ---- dispatch
    void OnCommand(int commandId);
    void SetCommandHandler(int commandId, CommandHandler handler);
    bool HasCommandHandler(int commandId) const;
    void SetMessageHandler(unsigned message, MessageHandler handler);

    // ---- operations shared by the topic files
    // Lets the window messages waiting run (at most 100 of them).
    int PumpMessages() { return platform::PumpMessages(100); }
    void ResetConsoleState();
    void DestroyAllPanels();
    // The end of the console: saves the position, disconnects, deletes the
    // controls and the link. Runs once; the destructor runs it when needed.
    void DestroyWindow();
    void SetEndObserver(EndObserver observer) { m_endObserver = std::move(observer); }
    // What the end sequence runs to close the link while connected.
    void SetDisconnectHandler(std::function<void()> handler) { m_disconnect = std::move(handler); }
    // Help contexts of the console; the contents page has no number of its own.
    static constexpr int kHelpContents = 0;
    static constexpr int kHelpNotConnected = 4;
    static constexpr int kHelpDialSelection = 19;
    static constexpr int kHelpMemoryScroll = 66;
    static constexpr int kHelpVoiceRecall = 175;
    static constexpr int kHelpSatellite = 180;
    int HelpContext() const;
    void OnHelp();
    void ShowAbout();
    // Clears every label of the display area (the indicators start empty).
    void ClearDisplayTexts();
    // Shows or hides the live parts of the display; the background turns the
    // display colour when shown and black when hidden.
    void ShowLiveDisplay(bool on);

    // The colours of the console (0x00BBGGRR).
    static constexpr COLORREF kDisplayColour = 0x80C0FF; // RGB(255,192,128)
    COLORREF textColour() const { return m_textColour; }
    COLORREF faceColour() const { return m_faceColour; }

    // The operation guard's look: a wait cursor, and a front panel and menu
    // that take no key or pointer input while an operation runs. The
    // controls and menus stay enabled, so the keyboard focus stays on the
    // control that started the operation (and a screen reader is not told
    // of every control and menu going grey and back); the focus is put back
    // there at the end should anything have taken it.
    void SetOperationBusy(bool busy);
    // False while the operation guard holds the panel's and menu's input.
    bool TakesInput() const;
    // True while an operation runs: inside the guard, or a sequence of the
    // connection between its guarded steps.
    bool OperationRunning() const;

    void accept() override; // Enter never closes the console
    void reject() override; // the close box and File > Exit

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    // console_startup.cpp
    void OnInitDialog();
    void CreateClientArea();
    void LayOut();
    void ShowSplash();
    void HoldSplash();
    // console_look.cpp
    void SetScrollRanges();
    void ApplyColours();
    void ApplyFonts();
    void LoadImages();
    // console_menu.cpp
    void BuildMenu();
    // console_commands.cpp
    void InstallCommands();
    void InstallFileCommands();
    void InstallFocusCommands();
    void InstallHelpCommands();
    // connection/console_connection.cpp
    void InstallConnection();
    // The meters' poll and finding a lost radio again (same file).
    void InstallLiveConnection();
    // sharing/console_sharing.cpp
    void InstallSharing();
    void InstallTransmitterOwner();
    // operations/install_operations.cpp
    void InstallOperations();
    // hosting/window_hosting.cpp
    void InstallWindowHosting();
    bool PctAllowsWindow();
    void ViewMultiFunction();
    void ViewVisualScan();
    void ViewFilter();
    void ViewMenuWindow();
    // hosting/window_messages.cpp
    void InstallWindowMessages();
    void StoreEditedMemory();
    void OnRadioReset(std::uintptr_t kind);
    void OnLinkRestart();
    void WaitPumping(int tenths);
    // console_end.cpp
    void OnCancel();
    void NoteEnd(EndStep step, const char* name = "");

    ConsoleOptions m_options;
    ConsoleState m_state;
    ConsoleControls m_controls;
    ConsolePictures m_pictures;
    QWidget* m_client = nullptr;
    QMenuBar* m_menuBar = nullptr;
    std::map<int, QAction*> m_actions;
    std::map<int, CommandHandler> m_commands;
    std::map<unsigned, MessageHandler> m_messages;
    std::unique_ptr<CCorvan> m_link;
    std::unique_ptr<zephyra::ConsoleSurface> m_connectionSurface;
    std::unique_ptr<zephyra::SecondaryWindows> m_windows;
    std::unique_ptr<zephyra::ConsoleLink> m_connection;
    std::unique_ptr<ConsoleDisplay> m_display;
    std::unique_ptr<ConsoleOperations> m_operations;
    std::unique_ptr<QObject> m_inputFilter;
    // The built-in radio stays on the desk after the link has gone.
    std::unique_ptr<zephyra::BuiltInSimulator> m_simulator;
    std::unique_ptr<SplashWindow> m_splash;
    EndObserver m_endObserver;
    std::function<void()> m_disconnect;
    COLORREF m_textColour = 0;
    COLORREF m_faceColour = 0xC0C0C0;
    bool m_destroyed = false;
    bool m_cursorOverridden = false;
    std::unique_ptr<QObject> m_busyInputBlock;
    QPointer<QWidget> m_focusBeforeBusy;
    bool m_closePending = false; // closing asked for inside an operation
    // Last: it goes first, while the link and the state are still there.
    std::unique_ptr<zephyra::RadioSharing> m_sharing;
};

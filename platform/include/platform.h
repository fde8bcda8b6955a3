// SPDX-License-Identifier: GPL-3.0-or-later
// platform.h - the one layer between Zephyra's windows and the desktop.
//
// Everything the windows take from the desktop goes through here: window
// messages and pumping, the timer table, the per-user profile, saved window
// positions, message and file boxes (replaceable, so tests answer them), help
// pages, the single-instance lock and the main-window handle that the
// libraries post to. No other code reaches for QSettings, QMessageBox,
// QFileDialog or QLockFile directly.
//
// Threading: everything here runs on the UI thread, except PostMessage,
// PostToMainWindow and QtLinkTarget::post, which any thread may call (they
// only queue an event).
#pragma once

#include <corvan.h>

#include <QDialog>
#include <QEvent>
#include <QFont>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QWidget;
class QKeyEvent;
class QLockFile;
class QTimerEvent;

namespace platform {

// ---------------------------------------------------------------- messages

// Window messages of the system: the link's notifications (4096..4240) and
// the windows' own messages, posted as Qt events whose type is the number.
inline constexpr unsigned kUmMemoryEditEnd = 0x1100;
inline constexpr unsigned kUmRadioReset = 0x1101;
inline constexpr unsigned kUmSatNameEnd = 0x1102;
inline constexpr unsigned kUmVscanClosed = 0x1150;
inline constexpr unsigned kUmLinkRestart = 0x1200;

class WindowMessage : public QEvent {
public:
    WindowMessage(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    unsigned message() const { return static_cast<unsigned>(type()); }
    std::uintptr_t wParam() const { return m_wParam; }
    std::intptr_t lParam() const { return m_lParam; }

private:
    std::uintptr_t m_wParam;
    std::intptr_t m_lParam;
};

// Queues a WindowMessage for `target` (any thread). False when target is null
// or the number lies outside Qt's user event range (1000..65535).
bool PostMessage(QObject* target, unsigned message, std::uintptr_t wParam = 0,
                 std::intptr_t lParam = 0);

// The console registers itself as the main window; libraries post to it.
void SetMainWindow(QWidget* window);
QWidget* MainWindow();
bool PostToMainWindow(unsigned message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);

// What every wait for the radio's answer adds for the line it comes over:
// one round trip on a line slower than a local one (a network port), 0 on a
// local line, so that a local line's waits stay as they are. The console
// sets it as it measures the line; any thread may read it.
int ReplyAllowanceMs();
void SetReplyAllowanceMs(int milliseconds);

// Delivers queued events of the calling thread and returns: at most
// `maxMessages` window messages are dispatched per call (the rest stay queued,
// in order, ahead of messages posted later). Safe inside a handler of a
// message that a pump dispatched. Returns the number of window messages
// dispatched; 0 on a thread other than the UI thread.
int PumpMessages(int maxMessages = 100);

// Pumps (PumpMessages) until `done` holds or `limit` passes, with a short
// sleep between passes; says whether `done` held. Makes one pass before the
// first check, so what is already queued is delivered. For tests, tools and
// benchmarks that drive the UI thread without an event loop of their own;
// the default limit is one that only a fault, not a loaded machine, runs out.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));
// Pumps for `duration`, whatever comes.
void PumpFor(std::chrono::milliseconds duration);

// The link's notification target for a window: each notification becomes a
// WindowMessage posted to `receiver`. Null receiver posts nothing.
class QtLinkTarget final : public CorvanTarget {
public:
    explicit QtLinkTarget(QObject* receiver);
    void post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void setReceiver(QObject* receiver);

private:
    struct State;
    std::shared_ptr<State> m_state;
};

// Routes the link's own error boxes ("Error opening COM port") to MessageBox
// (caption "Zephyra", OK only). A box asked for on another thread is shown
// on the UI thread when it next handles events.
void InstallLinkMessageBoxes();

// ------------------------------------------------------------------ timers

// A table of timers keyed by id (1001..1014 in the console). Starting a
// running id restarts it with the new period. The callback runs on the UI
// thread with the id.
class TimerTable : public QObject {
    Q_OBJECT
public:
    explicit TimerTable(std::function<void(int id)> onTimer, QObject* parent = nullptr);
    ~TimerTable() override;
    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    void KillAll();
    bool IsRunning(int id) const;
    int Interval(int id) const; // 0 when not running

protected:
    void timerEvent(QTimerEvent* event) override;

private:
    struct Entry {
        int id;
        int qtTimerId;
        int interval;
    };
    std::function<void(int)> m_onTimer;
    std::vector<Entry> m_entries;
};

// ----------------------------------------------------------------- profile

// The per-user profile: company "BRAVELL", product "Zephyra", kept in
// $XDG_CONFIG_HOME/BRAVELL/Zephyra.conf. Every read passes its default: a
// missing key, or a number key holding anything but a decimal integer, reads
// as the default.
int GetProfileInt(const QString& section, const QString& key, int defaultValue);
QString GetProfileString(const QString& section, const QString& key,
                         const QString& defaultValue);
bool WriteProfileInt(const QString& section, const QString& key, int value);
bool WriteProfileString(const QString& section, const QString& key, const QString& value);

// Window position text "%05d%05d": top first, then left; negatives become 0.
QString FormatWindowPos(int top, int left);
// Values beyond five digits are clamped to 99999 so the text keeps 10 characters.
// Accepted only when exactly 10 characters of digits, both values > 0 and the
// point inside `desktop` (top above its bottom, left left of its right).
// The point is (x = left, y = top), ready for QWidget::move.
std::optional<QPoint> ParseWindowPos(const QString& text, const QRect& desktop);
// The desktop's available geometry (the primary screen; a fixed 1024x768
// rectangle when there is no screen).
QRect DesktopRect();
// "WindowPos"/key: write the window's frame position; read and move it there
// when acceptable. RestoreWindowPos returns false (window unmoved) otherwise.
void SaveWindowPos(const QString& key, const QWidget* window);
bool RestoreWindowPos(const QString& key, QWidget* window);

// -------------------------------------------------- message and file boxes

enum : unsigned {
    MbOk = 0x0,
    MbOkCancel = 0x1,
    MbYesNoCancel = 0x3,
    MbYesNo = 0x4,
    MbIconError = 0x10,
    MbIconQuestion = 0x20,
    MbIconWarning = 0x30,
    MbIconInformation = 0x40,
    MbDefButton2 = 0x100,
};
enum : int { IdOk = 1, IdCancel = 2, IdYes = 6, IdNo = 7 };

struct MessageBoxRequest {
    QString text;
    QString caption;
    unsigned flags = MbOk;
};

struct FileDialogRequest {
    bool save = false;
    QString title;
    QString folder;   // where the dialog opens
    QString fileName; // proposed name
    QString filter;   // Qt filter text, e.g. "Design data (*.udd)"
    QString defaultSuffix;
};

class DialogProvider {
public:
    virtual ~DialogProvider() = default;
    virtual int messageBox(const MessageBoxRequest& request, QWidget* parent) = 0;
    // The chosen path, or nothing when cancelled.
    virtual std::optional<QString> fileDialog(const FileDialogRequest& request,
                                              QWidget* parent) = 0;
};

// Replaces the dialogs for the whole process; null restores the real ones.
void SetDialogProvider(std::shared_ptr<DialogProvider> provider);
DialogProvider& Dialogs();

int MessageBox(const QString& text, const QString& caption = QStringLiteral("Zephyra"),
               unsigned flags = MbOk, QWidget* parent = nullptr);
std::optional<QString> FileDialog(const FileDialogRequest& request, QWidget* parent = nullptr);

// For tests: answers from queues and records every request. A message box
// with no queued answer gets `defaultAnswer` (IdOk unless changed); a file
// dialog with no queued answer is cancelled. Never blocks.
class ScriptedDialogs final : public DialogProvider {
public:
    int messageBox(const MessageBoxRequest& request, QWidget* parent) override;
    std::optional<QString> fileDialog(const FileDialogRequest& request, QWidget* parent) override;

    std::deque<int> answers;
    std::deque<std::optional<QString>> files;
    int defaultAnswer = IdOk;
    std::vector<MessageBoxRequest> messages;
    std::vector<FileDialogRequest> fileRequests;
};

// -------------------------------------------------------------------- help

// Opens the help page of a context number (help/<number>.html, falling back
// to help/index.html) in a help window. The help folder is the first that
// exists of: $ZEPHYRA_HELP_DIR alone when set; otherwise share/zephyra/help
// beside the program's folder, help/ beside the program, then (a development
// build only) the install prefix's pages, $ZEPHYRA_SOURCE_DIR/help and the
// source tree's help/.
// Without a page the operator is told so in a message box. Tests may replace
// the viewer (it then gets the page path, empty when none was found).
void ShowHelp(int context);
void SetHelpViewer(std::function<void(int context, const QString& page)> viewer);
QString HelpPagePath(int context); // empty when no help folder is found

// -------------------------------------------------------- single instance

// The lock "BRAVELL Zephyra" in the user's runtime folder, held for the
// program's life. A lock left by a crashed run (its process gone) is taken
// over, however old; a running holder's lock never is. When no folder can
// hold a lock at all the program is let run (acquired() is true).
class SingleInstance {
public:
    explicit SingleInstance(const QString& name = QStringLiteral("BRAVELL Zephyra"));
    ~SingleInstance();
    bool acquired() const;
    QString lockPath() const;

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_acquired = false;
};

// -------------------------------------------------------- secondary windows

// What a secondary window is: its title, key under "WindowPos", help
// context and fixed size. The texts are Latin-1, so that every window's
// description is a constant of its own source.
struct SecondaryWindowDescription {
    const char* title = "";
    const char* profileKey = "";
    int helpContext = 0;
    int width = 0;
    int height = 0;
};

// The frame every secondary window (panels, equaliser windows) shares: it is
// built in two steps (object, then Create), has its own link object, closes
// to the main window and keeps the position the operator gave it. Closing
// it never ends the program.
class SecondaryWindow : public QDialog {
    Q_OBJECT
public:
    SecondaryWindow(const SecondaryWindowDescription& description, QWidget* parent);
    // A window deleted without DestroyWindow (its parent went first) still
    // saves its position.
    ~SecondaryWindow() override;
    SecondaryWindow(const SecondaryWindow&) = delete;
    SecondaryWindow& operator=(const SecondaryWindow&) = delete;

    // Title, the main window's font (FallbackFont without one), link object,
    // controls (OnInitDialog), fixed size, saved position. Does not show the
    // window. Runs once.
    void Create();
    // An existing window viewed again: normal show, OnViewAgain, front, active.
    void BringUp();
    // Saves the position, hides the window, deletes its controls and the link
    // object. Runs once; the owner then deletes the object.
    void DestroyWindow();

    const SecondaryWindowDescription& description() const { return m_description; }

protected:
    // The window's controls and state; runs inside Create after the link
    // object exists and before the size is fixed and the position restored.
    virtual void OnInitDialog() {}
    // Between the show and the activation when the window is viewed again.
    virtual void OnViewAgain() {}
    // The font used when no main window is registered; none by default.
    virtual std::optional<QFont> FallbackFont() const { return std::nullopt; }

    // F1 opens the window's help page; a window without a help context
    // leaves the key to the dialog.
    void keyPressEvent(QKeyEvent* event) override;

    // Activates the main window, then hides this one.
    void CloseWindow();
    // Activates the main window, then ends the dialog with `result`.
    void CloseWithResult(int result);
    CCorvan* link() const { return m_link.get(); }

private:
    void SavePosition() const;

    const SecondaryWindowDescription m_description;
    std::unique_ptr<CCorvan> m_link;
    bool m_created = false;
    bool m_destroyed = false;
};

// ------------------------------------------------- application exit clean-up

// Destroys what a library left open when the application ends. Widgets may
// only be deleted while the QApplication lives; its destructor runs the
// application's post routines before it tears any widget down, so that is
// where the steps run, in the order given. Arm registers the clean-up with
// the running application (once until it has run; arm again for the next
// application). Destroying the object (the library unloading) withdraws the
// registration and, while an application still exists, runs the steps.
// Keep the object beside the state its steps reach, defined after it.
class ExitCleanup {
public:
    explicit ExitCleanup(std::vector<std::function<void()>> steps);
    ~ExitCleanup();
    ExitCleanup(const ExitCleanup&) = delete;
    ExitCleanup& operator=(const ExitCleanup&) = delete;

    void Arm();
    bool armed() const { return m_armed; }

private:
    friend struct ExitCleanupAccess;
    void RunSteps();

    std::vector<std::function<void()>> m_steps;
    int m_slot = -1;
    bool m_armed = false;
};

// --------------------------------------------------------- application

// Names the profile (company "BRAVELL", product "Zephyra") and installs the
// link's message boxes. Call once after the QApplication exists.
void InitApplication();

} // namespace platform

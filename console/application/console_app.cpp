// SPDX-License-Identifier: GPL-3.0-or-later
// console_app.cpp - the application object.
#include "console_app.h"

#include "console_menu.h"

#include <platform.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPixmap>
#include <QPointer>
#include <QSaveFile>
#include <QSettings>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

// Ctrl+C in the terminal and a polite kill close the console like its close
// box does, so the radio is released and the position saved. The handler
// only writes a byte to a pipe; the console closes on the UI thread.
//
// A modal window (the About box, a question, a file dialog) runs an event
// loop of its own inside the console's, and the console's loop cannot end
// before it does: each is dismissed first, as its Cancel or Esc would, top
// one first.
int g_signalPipe[2] = {-1, -1};

void DismissModalWindows(const QWidget* console) {
    // Bounded: a window that will not go is not waited for.
    for (int i = 0; i < 32; ++i) {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal == console) {
            return;
        }
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        }
        // Hidden, a dialog's own loop ends (also one that refused the reject).
        if (modal->isVisible()) {
            modal->hide();
        }
        if (modal->isVisible()) {
            return;
        }
    }
}

extern "C" void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

class CloseOnSignal {
public:
    explicit CloseOnSignal(ConsoleDialog& console) {
        if (g_signalPipe[0] < 0 && ::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
            return;
        }
        m_notifier = std::make_unique<QSocketNotifier>(g_signalPipe[0], QSocketNotifier::Read);
        QPointer<ConsoleDialog> target(&console);
        QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [target] {
            char drain[16];
            while (::read(g_signalPipe[0], drain, sizeof drain) > 0) {
            }
            if (target.isNull()) {
                return;
            }
            DismissModalWindows(target.data());
            target->reject();
        });
        struct sigaction action {};
        action.sa_handler = onTerminationSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGINT, &action, &m_oldInt);
        sigaction(SIGTERM, &action, &m_oldTerm);
        m_installed = true;
    }
    ~CloseOnSignal() {
        if (m_installed) {
            sigaction(SIGINT, &m_oldInt, nullptr);
            sigaction(SIGTERM, &m_oldTerm, nullptr);
        }
    }
    CloseOnSignal(const CloseOnSignal&) = delete;
    CloseOnSignal& operator=(const CloseOnSignal&) = delete;

private:
    std::unique_ptr<QSocketNotifier> m_notifier;
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
    bool m_installed = false;
};

} // namespace

ConsoleApp::ConsoleApp(ConsoleOptions options, Runner runner)
    : m_options(std::move(options)), m_runner(std::move(runner)) {
    if (!m_runner) {
        m_runner = RunConsole;
    }
}

ConsoleApp::~ConsoleApp() { ExitInstance(); }

int RunConsole(ConsoleDialog& console) {
    console.setModal(false);
    console.setWindowModality(Qt::NonModal);
    QEventLoop loop;
    QObject::connect(&console, &QDialog::finished, &loop, &QEventLoop::quit);
    console.show();
    loop.exec();
    return console.result();
}

int ConsoleApp::InitInstance() {
    m_instance = std::make_unique<platform::SingleInstance>();
    if (!m_instance->acquired()) {
        m_instance.reset();
        return 0; // another console runs: end silently
    }
    platform::InitApplication();
    {
        ConsoleDialog console(m_options);
        const CloseOnSignal closeOnSignal(console);
        if (console.ConnectsAtStart()) {
            // Once the console shows and its event loop runs.
            QTimer::singleShot(0, &console, [&console] { console.OnCommand(cmd::ControlOnCmd); });
        }
        m_runner(console);
        console.DestroyWindow();
    }
    ExitInstance();
    return 0;
}

void ConsoleApp::ExitInstance() { m_instance.reset(); }

bool ConsoleApp::HoldsInstance() const { return m_instance != nullptr && m_instance->acquired(); }

bool OnProfileCopy(const std::function<bool()>& run) {
    const QString own = QSettings().fileName(); // <folder>/<company>/<program>.conf
    const QString ownFolder = QFileInfo(QFileInfo(own).path()).path();
    const QTemporaryDir folder;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    const QString copy = QSettings().fileName();
    QDir().mkpath(QFileInfo(copy).path());
    if (QFile::exists(own))
        QFile::copy(own, copy);
    const bool result = run();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, ownFolder);
    return result;
}

namespace {

// No one answers a box while a picture is drawn: its text goes to standard
// error and it is answered as declined (Cancel, No, or OK where that is the
// only button); a file dialog is cancelled.
class UnattendedDialogs final : public platform::DialogProvider {
public:
    int messageBox(const platform::MessageBoxRequest& request, QWidget*) override {
        std::fprintf(stderr, "zephyra: %s: %s\n", qPrintable(request.caption), qPrintable(request.text));
        switch (request.flags & 0xF) {
        case platform::MbOkCancel:
        case platform::MbYesNoCancel:
            return platform::IdCancel;
        case platform::MbYesNo:
            return platform::IdNo;
        default:
            return platform::IdOk;
        }
    }
    std::optional<QString> fileDialog(const platform::FileDialogRequest&, QWidget*) override { return std::nullopt; }
};

// Draws with no one at the screen and the profile as it was afterwards.
bool DrawUnattended(const std::function<bool()>& draw) {
    platform::SetDialogProvider(std::make_shared<UnattendedDialogs>());
    const bool result = OnProfileCopy(draw);
    platform::SetDialogProvider(nullptr);
    return result;
}

// The console as a PNG file, written whole or not at all (a failed write
// leaves what stood at `path`); its path printed once written.
bool WritePicture(ConsoleDialog& console, const QString& path) {
    const QPixmap picture = console.grab();
    QSaveFile file(path);
    QImageWriter writer(&file, "png");
    QString why;
    if (picture.isNull())
        why = QStringLiteral("nothing was drawn");
    else if (!file.open(QIODevice::WriteOnly))
        why = file.errorString();
    else if (!writer.write(picture.toImage()))
        why = writer.errorString();
    else if (!file.commit())
        why = file.errorString();
    if (!why.isEmpty()) {
        std::fprintf(stderr, "zephyra: cannot write %s: %s\n", qPrintable(path), qPrintable(why));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

bool RenderConsole(const QString& path, bool showLayout) {
    ConsoleOptions options;
    options.showSplash = false;
    options.persistent = false;
    options.keepTemplateTexts = showLayout;
    return DrawUnattended([&] {
        ConsoleDialog console(options);
        const bool written = WritePicture(console, path);
        // The windows the console opened save their places as they close:
        // here, into the copy.
        console.DestroyAllPanels();
        return written;
    });
}

bool RenderConnectedConsole(const QString& path, const QString& port) {
    ConsoleOptions options;
    options.showSplash = false;
    options.persistent = false;
    options.simulator = port.isEmpty();
    options.port = port;
    return DrawUnattended([&] {
        ConsoleDialog console(options);
        bool written = false;
        if (!console.ConnectAndSynchronise()) {
            std::fprintf(stderr, "zephyra: the radio on %s did not become ready\n",
                         port.isEmpty() ? "the built-in simulator" : qPrintable(port));
        } else {
            // Let the last answers of the read reach the display.
            for (int i = 0; i < 10; ++i)
                console.PumpMessages();
            written = WritePicture(console, path);
        }
        console.DestroyAllPanels();
        console.DestroyWindow();
        return written;
    });
}

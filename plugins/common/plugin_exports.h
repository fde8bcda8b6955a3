// SPDX-License-Identifier: GPL-3.0-or-later
// What every outside window's exports do alike: the one window of the
// process, opened only under a widget application, and destroyed on demand
// or when the application ends.
#pragma once

#include <platform.h>

#include <QApplication>
#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <new>

namespace plugin_exports {

// The exports open windows only where a widget application runs.
inline bool WidgetsRunning() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

// A value the link reports unsigned; one beyond int (the link's "none") is -1.
inline int Signed(std::uint32_t value) { return value > 0x7FFFFFFFu ? -1 : static_cast<int>(value); }

// Forgets the window in `held` and destroys it (its position saved); nothing
// happens while none is open.
template <typename Window>
void DestroyHeld(QPointer<Window>& held) {
    Window* window = held.data();
    held = nullptr;
    if (window == nullptr)
        return;
    window->DestroyWindow();
    delete window;
}

// Makes the window with `make` (a `new (std::nothrow)` expression), arms the
// exit clean-up, creates its controls and keeps it in `held`. Null, with
// nothing kept, when there is no memory for it.
template <typename Window, typename Make>
Window* OpenNew(QPointer<Window>& held, platform::ExitCleanup& cleanup, Make make) {
    Window* window = make();
    if (window == nullptr)
        return nullptr;
    cleanup.Arm();
    window->Create();
    held = window;
    return window;
}

// Shows the window in front of the others, with the keyboard.
inline void ShowInFront(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

// The one window of the process, and the exit clean-up that destroys it
// (position saved) when the application ends, or when the library goes while
// the application lives. Define it after the state the window reaches, so
// that this state outlives it.
template <typename Window>
class OneWindow {
public:
    OneWindow() = default;
    OneWindow(const OneWindow&) = delete;
    OneWindow& operator=(const OneWindow&) = delete;

    Window* get() const { return m_window.data(); }
    QPointer<Window>& held() { return m_window; }
    void Destroy() { DestroyHeld(m_window); }
    // See OpenNew.
    template <typename Make>
    Window* Open(Make make) {
        return OpenNew(m_window, m_exitCleanup, make);
    }

    // Brings the open window up, or opens one with `make` (see OpenNew) and
    // shows it in front; nothing happens without a widget application.
    template <typename Make>
    void ViewInFront(Make make) {
        if (!WidgetsRunning())
            return;
        if (Window* window = get()) {
            window->BringUp();
            return;
        }
        if (Window* window = Open(make))
            ShowInFront(window);
    }

private:
    QPointer<Window> m_window;
    platform::ExitCleanup m_exitCleanup{{[this] { Destroy(); }}};
};

} // namespace plugin_exports

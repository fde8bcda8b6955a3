// SPDX-License-Identifier: GPL-3.0-or-later
// eq_window.h - what both equaliser windows share: the secondary-window
// frame (title, fixed size, the main window's font, their own link object,
// the saved position, closing to the main window), help and the Esc key.
#pragma once

#include <platform.h>

class QCloseEvent;
class QKeyEvent;

namespace tonwell {

struct WindowKind {
    const char* title;
    const char* profileKey;
    int helpContext;
    int width;
    int height;
};

inline constexpr WindowKind kDesignWindow{"Audio Editor - Design", "Eqs", 209, 464, 371};
inline constexpr WindowKind kSamplesWindow{"Audio Editor - Samples", "Eqg", 210, 704, 321};

class CEqWindow : public platform::SecondaryWindow {
    Q_OBJECT
public:
    CEqWindow(const WindowKind& kind, QWidget* parent);
    CEqWindow(const CEqWindow&) = delete;
    CEqWindow& operator=(const CEqWindow&) = delete;

    // Create, BringUp and DestroyWindow come from the frame: Create builds
    // without showing, DestroyWindow saves the position and deletes the
    // controls and the link object, once.

    const WindowKind& kind() const { return m_kind; }

protected:
    // Enter that no control took; nothing by default.
    virtual void OnEnterKey() {}

    void accept() override { CloseWindow(); }
    void reject() override { CloseWindow(); }
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    const WindowKind m_kind;
};

} // namespace tonwell

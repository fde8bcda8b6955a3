// SPDX-License-Identifier: GPL-3.0-or-later
// eq_window.h - what both equaliser windows share: the secondary-window
// frame (title, fixed size, the main window's font, their own link object,
// the saved position, closing to the main window, help on F1), and the
// Enter and Esc keys.
#pragma once

#include <platform.h>

class QCloseEvent;
class QKeyEvent;

namespace tonwell {

inline constexpr platform::SecondaryWindowDescription kDesignWindow{"Audio Editor - Design", "Eqs", 209, 464, 371};
inline constexpr platform::SecondaryWindowDescription kSamplesWindow{"Audio Editor - Samples", "Eqg", 210, 704, 321};

// Create, BringUp and DestroyWindow come from the frame: Create builds
// without showing, DestroyWindow saves the position and deletes the controls
// and the link object, once.
class CEqWindow : public platform::SecondaryWindow {
    Q_OBJECT
public:
    using platform::SecondaryWindow::SecondaryWindow;

protected:
    // Enter that no control took; nothing by default.
    virtual void OnEnterKey() {}

    void accept() override { CloseWindow(); }
    void reject() override { CloseWindow(); }
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

} // namespace tonwell

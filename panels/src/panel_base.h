// SPDX-License-Identifier: GPL-3.0-or-later
// panel_base.h - what every panel shares: creation from its traits, showing,
// closing to the main window, destruction with the saved position, help and
// the Enter and Esc keys.
#pragma once

#include "panel_traits.h"

#include <platform.h>

#include <QPointer>

class CStaticEx;
class QCloseEvent;
class QKeyEvent;

namespace pandor {

class CPanelBase : public platform::SecondaryWindow {
    Q_OBJECT
public:
    CPanelBase(const PanelTraits& traits, QWidget* parent);

    // Create, BringUp (with OnViewAgain) and DestroyWindow come from the
    // frame: DestroyWindow saves the position under "WindowPos", deletes the
    // controls and the link object, once; the frame library then deletes the
    // object.

    const PanelTraits& traits() const { return m_traits; }
    int templateId() const { return m_traits.templateId; }
    QWidget* parentWindow() const { return m_parent.data(); }

protected:
    virtual void OnOK();
    virtual void OnCancel();
    // Enter and Esc that no focused button took: OK and Cancel by default.
    virtual void OnEnterKey() { OnOK(); }
    virtual void OnEscapeKey() { OnCancel(); }
    // Without a main window the panels use their template's font.
    std::optional<QFont> FallbackFont() const override;

    // Shows a caption such as "Memory &Name" on a label without its "&" and
    // makes Alt with the marked letter focus `buddy`.
    void AttachMnemonic(CStaticEx* label, const QString& caption, QWidget* buddy);

    // Activates the main window, then ends the dialog (hides the window).
    void EndPanel(int result) { CloseWithResult(result); }
    // The end of an edit the console waits for: brings the main window
    // forward, posts it `message` (1 for OK, 0 for Cancel) and ends the
    // dialog accepted or rejected.
    void EndEdit(unsigned message, bool ok);

    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    const PanelTraits& m_traits;
    QPointer<QWidget> m_parent;
};

// The caption as shown: single "&" removed, "&&" shown as "&"; `marked`
// receives the first marked character (unchanged when there is none).
QString StripMnemonic(const QString& caption, QChar* marked);

} // namespace pandor

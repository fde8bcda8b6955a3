// panel_base.h - what every panel shares: creation from its traits, showing,
// closing to the main window, destruction with the saved position, help and
// the Enter and Esc keys.
#pragma once

#include "panel_traits.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class CCorvan;
class CStaticEx;
class QCloseEvent;
class QKeyEvent;

namespace pandor {

class CPanelBase : public QDialog {
    Q_OBJECT
public:
    CPanelBase(const PanelTraits& traits, QWidget* parent);
    ~CPanelBase() override;
    CPanelBase(const CPanelBase&) = delete;
    CPanelBase& operator=(const CPanelBase&) = delete;

    // Destroys the window's content: saves the position under "WindowPos",
    // deletes the controls and the link object. Runs once; the frame then
    // deletes the object.
    void DestroyWindow();

    // Builds the window: title, font, link object, controls (OnInitDialog),
    // fixed size, saved position. Does not show it.
    void Create();

    // View of an existing panel: normal show, then active window.
    void BringUp();

    const PanelTraits& traits() const { return m_traits; }
    int templateId() const { return m_traits.templateId; }
    QWidget* parentWindow() const { return m_parent.data(); }

protected:
    // The panel's controls and state; runs inside Create after the link
    // object exists and before the position is restored.
    virtual void OnInitDialog() {}
    virtual void OnOK();
    virtual void OnCancel();
    // Between show and activation when an existing panel is viewed again.
    virtual void OnViewAgain() {}
    // Enter and Esc that no focused button took: OK and Cancel by default.
    virtual void OnEnterKey() { OnOK(); }
    virtual void OnEscapeKey() { OnCancel(); }

    // Shows a caption such as "Memory &Name" on a label without its "&" and
    // makes Alt with the marked letter focus `buddy`.
    void AttachMnemonic(CStaticEx* label, const QString& caption, QWidget* buddy);

    // Activates the main window, then ends the dialog (hides the window).
    void EndPanel(int result);
    CCorvan* link() const { return m_link.get(); }

    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SavePosition() const;

    const PanelTraits& m_traits;
    QPointer<QWidget> m_parent;
    std::unique_ptr<CCorvan> m_link;
    bool m_created = false;
    bool m_destroyed = false;
};

// The caption as shown: single "&" removed, "&&" shown as "&"; `marked`
// receives the first marked character (unchanged when there is none).
QString StripMnemonic(const QString& caption, QChar* marked);

} // namespace pandor

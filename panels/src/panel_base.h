// panel_base.h - what every panel shares: creation from its spec, showing,
// closing to the main window, destruction with the saved position, help and
// the Enter and Esc keys.
#pragma once

#include "panel_specs.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class CCorvan;
class QCloseEvent;
class QKeyEvent;

namespace pandor {

class CPanelBase : public QDialog {
    Q_OBJECT
public:
    CPanelBase(const PanelSpec& spec, QWidget* parent);
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

    const PanelSpec& spec() const { return m_spec; }
    int templateId() const { return m_spec.templateId; }
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

    // Activates the main window, then ends the dialog (hides the window).
    void EndPanel(int result);
    CCorvan* link() const { return m_link.get(); }

    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SavePosition() const;

    const PanelSpec& m_spec;
    QPointer<QWidget> m_parent;
    std::unique_ptr<CCorvan> m_link;
    bool m_created = false;
    bool m_destroyed = false;
};

} // namespace pandor

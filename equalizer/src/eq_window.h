// eq_window.h - what both equaliser windows share: title, fixed size, the
// main window's font, their own link object, the saved position, closing to
// the main window, help and the Esc key.
#pragma once

#include <QDialog>
#include <QString>

#include <memory>

class CCorvan;
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

class CEqWindow : public QDialog {
    Q_OBJECT
public:
    CEqWindow(const WindowKind& kind, QWidget* parent);
    ~CEqWindow() override;
    CEqWindow(const CEqWindow&) = delete;
    CEqWindow& operator=(const CEqWindow&) = delete;

    // Title, font, link object, controls (OnInitDialog), fixed size, saved
    // position. Does not show the window.
    void Create();
    // An existing window viewed again: normal show, front, active.
    void BringUp();
    // Saves the position, deletes the controls and the link object. Once.
    void DestroyWindow();

    const WindowKind& kind() const { return m_kind; }

protected:
    virtual void OnInitDialog() {}
    // Enter that no control took; nothing by default.
    virtual void OnEnterKey() {}
    // Activates the main window, then hides this one.
    void CloseWindow();
    CCorvan* link() const { return m_link.get(); }

    void accept() override { CloseWindow(); }
    void reject() override { CloseWindow(); }
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void SavePosition() const;

    const WindowKind m_kind;
    std::unique_ptr<CCorvan> m_link;
    bool m_created = false;
    bool m_destroyed = false;
};

} // namespace tonwell

// SPDX-License-Identifier: GPL-3.0-or-later
// terminal_window.h - the "Terminal" window.
#pragma once

#include <platform.h>

#include <QString>
#include <QStringList>

#include <string>

class CButtonEx;
class CStaticEx;
class CStaticLEDEx;
class QLineEdit;
class QPlainTextEdit;

namespace solvik {

class CTerminalWindow final : public platform::SecondaryWindow {
    Q_OBJECT
public:
    static constexpr int kHistory = 50;

    struct Controls {
        CStaticLEDEx* lamp = nullptr;
        CStaticEx* mode = nullptr;
        QPlainTextEdit* screen = nullptr;
        QLineEdit* input = nullptr;
        CButtonEx* send = nullptr;
        CButtonEx* interrupt = nullptr;
        CButtonEx* clear = nullptr;
        CButtonEx* leave = nullptr;
        CStaticEx* status = nullptr;
        CButtonEx* close = nullptr;
    };

    // `kept` is the text that arrived before the window existed.
    CTerminalWindow(QWidget* parent, const std::string& kept, int terminal);

    void View();
    void OnText(const std::string& cleaned);
    void OnMode(int terminal);

    const Controls& controls() const { return m_ui; }
    // True while typed lines may go out.
    bool canSend() const;
    QString screenText() const;

protected:
    void OnInitDialog() override;
    void reject() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void sendLine();
    void sendInterrupt();
    void leaveTerminal();
    void recall(int step);
    void refresh();
    void setStatus(const QString& text);

    Controls m_ui;
    std::string m_kept;
    int m_terminal;
    QStringList m_history;
    int m_historyAt = 0;
};

} // namespace solvik

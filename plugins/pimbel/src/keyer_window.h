// SPDX-License-Identifier: GPL-3.0-or-later
// keyer_window.h - the "Keyer" window: a text line, five stored messages,
// the queue of texts waiting for the radio's keyer buffer and its state.
#pragma once

#include "keyer_text.h"

#include <platform.h>

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <deque>
#include <string>

class CStaticLEDEx;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTimer;

namespace pimbel {

// What the library knows of the radio, kept while no window exists.
struct RadioState {
    int power = -1;  // -1 not yet reported, 0 off, 1..3 on
    int buffer = -1; // -1 unknown, 0 room, 1 busy
};

class CKeyerWindow : public platform::SecondaryWindow {
    Q_OBJECT
public:
    // How often the window asks KY while texts wait or the buffer is busy.
    static constexpr int kPollMs = 250;

    // `radio` is the library's record, which the window keeps up to date.
    CKeyerWindow(RadioState& radio, QWidget* parent);

    void MsgKY(std::uint32_t value);
    void MsgPS(std::uint32_t value);

    // Checks, queues and (when the buffer has room) sends `typed`. False
    // when it was refused; the reason is in the status line.
    bool Submit(const QString& typed);
    // Sends stored message `index` (0..4).
    bool SendMessage(int index);
    void ClearQueue();

    // For tests and pictures.
    QStringList queued() const;
    QString status() const;
    bool sendingEnabled() const;
    QLineEdit* textLine() const { return m_text; }
    QLineEdit* messageLine(int index) const { return m_messages.at(static_cast<std::size_t>(index)); }
    QPushButton* sendButton() const { return m_send; }
    QPushButton* messageButton(int index) const { return m_messageButtons.at(static_cast<std::size_t>(index)); }
    QPushButton* clearButton() const { return m_clear; }
    QListWidget* queueList() const { return m_queueList; }
    QLabel* statusLabel() const { return m_status; }

protected:
    void OnInitDialog() override;
    void reject() override { CloseWindow(); }
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool poweredOn() const { return m_radio.power > 0; }
    void pump();
    void poll();
    void saveMessage(int index);
    void showState();
    void setStatus(const QString& text, bool fault = false);

    RadioState& m_radio;
    std::deque<std::string> m_queue;
    // A text went out and the window has not asked KY since.
    bool m_sentSinceQuery = false;
    QString m_lastSent;

    QLineEdit* m_text = nullptr;
    QLabel* m_count = nullptr;
    QPushButton* m_send = nullptr;
    QPushButton* m_clear = nullptr;
    std::array<QLineEdit*, kMessageCount> m_messages{};
    std::array<QPushButton*, kMessageCount> m_messageButtons{};
    QListWidget* m_queueList = nullptr;
    CStaticLEDEx* m_lamp = nullptr;
    QLabel* m_bufferLabel = nullptr;
    QLabel* m_status = nullptr;
    QTimer* m_poll = nullptr;
};

} // namespace pimbel

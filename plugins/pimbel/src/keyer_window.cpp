// SPDX-License-Identifier: GPL-3.0-or-later
#include "keyer_window.h"

#include "plugin_lamp.h"
#include "plugin_widgets.h"

#include <corvan.h>
#include <kestrin.h>

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace pimbel {

namespace {

constexpr platform::SecondaryWindowDescription kDescription{"Keyer", "Pimbel", 0, 420, 390};

constexpr COLORREF kRed = 0x000000E0;

QString MessageKey(int index) { return QStringLiteral("Mem%1").arg(index + 1); }

using plugin_exports::PlainButton;

} // namespace

CKeyerWindow::CKeyerWindow(RadioState& radio, QWidget* parent)
    : platform::SecondaryWindow(kDescription, parent), m_radio(radio) {}

void CKeyerWindow::OnInitDialog() {
    auto* top = new QVBoxLayout(this);

    auto* keyboard = new QGroupBox(QStringLiteral("Keyboard"), this);
    auto* keyRow = new QHBoxLayout(keyboard);
    m_text = new QLineEdit(keyboard);
    m_text->setObjectName(QStringLiteral("text"));
    m_text->setPlaceholderText(QStringLiteral("Type, then Enter"));
    m_count = new QLabel(keyboard);
    m_count->setMinimumWidth(40);
    m_send = PlainButton(QStringLiteral("&Send"), keyboard);
    keyRow->addWidget(m_text, 1);
    keyRow->addWidget(m_count);
    keyRow->addWidget(m_send);
    top->addWidget(keyboard);

    auto* stored = new QGroupBox(QStringLiteral("Stored messages"), this);
    auto* grid = new QGridLayout(stored);
    grid->setVerticalSpacing(3);
    for (int i = 0; i < kMessageCount; ++i) {
        auto* button = PlainButton(QStringLiteral("F%1").arg(i + 1), stored);
        button->setFixedWidth(44);
        auto* line = new QLineEdit(stored);
        line->setObjectName(MessageKey(i));
        line->setText(platform::GetProfileString(QStringLiteral("KeyMem"), MessageKey(i), QString()));
        grid->addWidget(button, i, 0);
        grid->addWidget(line, i, 1);
        m_messageButtons[static_cast<std::size_t>(i)] = button;
        m_messages[static_cast<std::size_t>(i)] = line;
        connect(button, &QPushButton::clicked, this, [this, i] { SendMessage(i); });
        connect(line, &QLineEdit::textEdited, this, [this, i] { saveMessage(i); });
        connect(line, &QLineEdit::returnPressed, this, [this, i] { SendMessage(i); });
    }
    top->addWidget(stored);

    auto* waiting = new QGroupBox(QStringLiteral("Waiting for the radio"), this);
    auto* waitBox = new QVBoxLayout(waiting);
    m_queueList = new QListWidget(waiting);
    m_queueList->setFixedHeight(58);
    m_queueList->setSelectionMode(QAbstractItemView::NoSelection);
    m_queueList->setFocusPolicy(Qt::NoFocus);
    waitBox->addWidget(m_queueList);
    auto* lampRow = new QHBoxLayout;
    m_lamp = plugin_exports::StateLamp(waiting);
    m_bufferLabel = new QLabel(waiting);
    m_clear = PlainButton(QStringLiteral("&Clear queue"), waiting);
    lampRow->addWidget(m_lamp);
    lampRow->addWidget(m_bufferLabel, 1);
    lampRow->addWidget(m_clear);
    waitBox->addLayout(lampRow);
    top->addWidget(waiting);

    m_status = plugin_exports::StatusLine(this, 32);
    top->addWidget(m_status);

    m_poll = new QTimer(this);
    m_poll->setInterval(kPollMs);
    connect(m_poll, &QTimer::timeout, this, &CKeyerWindow::poll);

    connect(m_text, &QLineEdit::textChanged, this, [this](const QString& t) {
        const bool over = t.size() > static_cast<qsizetype>(kKeyerTextLength);
        m_count->setText(QStringLiteral("%1/%2").arg(t.size()).arg(kKeyerTextLength));
        m_count->setStyleSheet(over ? QStringLiteral("color: #c00000; font-weight: bold;") : QString());
    });
    const auto sendLine = [this] {
        if (Submit(m_text->text())) {
            m_text->clear();
        }
    };
    connect(m_text, &QLineEdit::returnPressed, this, sendLine);
    connect(m_send, &QPushButton::clicked, this, sendLine);
    connect(m_clear, &QPushButton::clicked, this, &CKeyerWindow::ClearQueue);

    m_count->setText(QStringLiteral("0/%1").arg(kKeyerTextLength));
    setStatus(poweredOn() ? QString() : QStringLiteral("The radio is off or not connected: sending is disabled."));
    pump();
    showState();
}

bool CKeyerWindow::Submit(const QString& typed) {
    const std::string text = KeyerText(typed.toStdString());
    const TextCheck check = CheckKeyerText(text);
    if (check != TextCheck::Ok) {
        setStatus(QString::fromLatin1(RefusalMessage(check)), true);
        return false;
    }
    if (!poweredOn()) {
        setStatus(QStringLiteral("Not sent: the radio is off or not connected."), true);
        return false;
    }
    m_queue.push_back(text);
    setStatus(QString());
    pump();
    showState();
    return true;
}

bool CKeyerWindow::SendMessage(int index) {
    if (index < 0 || index >= kMessageCount) {
        return false;
    }
    saveMessage(index);
    const QString text = m_messages[static_cast<std::size_t>(index)]->text();
    if (text.isEmpty()) {
        setStatus(QStringLiteral("Stored message F%1 is empty.").arg(index + 1), true);
        return false;
    }
    return Submit(text);
}

void CKeyerWindow::ClearQueue() {
    const auto dropped = m_queue.size();
    m_queue.clear();
    if (dropped > 0) {
        setStatus(QStringLiteral("%1 waiting text(s) dropped.").arg(dropped));
    }
    pump();
    showState();
}

void CKeyerWindow::MsgKY(std::uint32_t value) {
    // "Room" can be an answer the radio gave before it took the last text;
    // it counts only once the window has asked again since that text.
    if (value == 0 && m_sentSinceQuery) {
        return;
    }
    m_radio.buffer = value == 0 ? 0 : 1;
    pump();
    showState();
}

void CKeyerWindow::MsgPS(std::uint32_t value) {
    const bool wasOn = poweredOn();
    m_radio.power = static_cast<int>(value);
    if (value == 0) {
        const auto dropped = m_queue.size();
        m_queue.clear();
        m_radio.buffer = -1;
        m_sentSinceQuery = false;
        setStatus(dropped > 0
                      ? QStringLiteral("The radio is off: sending is disabled, %1 waiting text(s) dropped.")
                            .arg(dropped)
                      : QStringLiteral("The radio is off: sending is disabled."),
                  dropped > 0);
    } else if (!wasOn) {
        setStatus(QStringLiteral("The radio is on."));
    }
    pump();
    showState();
}

// Sends while the radio has room, one text per KY; after each text the
// buffer counts as busy until the radio says otherwise.
void CKeyerWindow::pump() {
    while (!m_queue.empty() && poweredOn() && m_radio.buffer == 0) {
        CCorvan* radio = link();
        if (radio == nullptr || radio->ConnKY("W", m_queue.front().c_str()) != 1) {
            setStatus(QStringLiteral("The radio link is closed: the texts wait in the queue."), true);
            break;
        }
        m_lastSent = QString::fromStdString(m_queue.front());
        m_queue.pop_front();
        m_radio.buffer = 1;
        m_sentSinceQuery = true;
        setStatus(QStringLiteral("Sent: %1").arg(m_lastSent));
    }
    const bool wantState = poweredOn() && (!m_queue.empty() || m_radio.buffer != 0);
    if (m_poll != nullptr) {
        if (wantState && !m_poll->isActive()) {
            m_poll->start();
        } else if (!wantState) {
            m_poll->stop();
        }
    }
}

// The answer comes back through the console as PimbelMsgKY.
void CKeyerWindow::poll() {
    if (!poweredOn()) {
        m_poll->stop();
        return;
    }
    if (CCorvan* radio = link(); radio != nullptr && radio->ConnKY("R", "") == 1) {
        m_sentSinceQuery = false;
    }
}

void CKeyerWindow::saveMessage(int index) {
    const QString text = m_messages[static_cast<std::size_t>(index)]->text();
    const QString key = MessageKey(index);
    if (platform::GetProfileString(QStringLiteral("KeyMem"), key, QString()) != text) {
        platform::WriteProfileString(QStringLiteral("KeyMem"), key, text);
    }
}

void CKeyerWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key >= Qt::Key_F1 && key < Qt::Key_F1 + kMessageCount && event->modifiers() == Qt::NoModifier) {
        SendMessage(key - Qt::Key_F1);
        return;
    }
    platform::SecondaryWindow::keyPressEvent(event);
}

void CKeyerWindow::showState() {
    const bool on = poweredOn();
    m_text->setEnabled(on);
    m_send->setEnabled(on);
    for (QPushButton* b : m_messageButtons) {
        b->setEnabled(on);
    }
    m_clear->setEnabled(!m_queue.empty());
    m_queueList->clear();
    for (const std::string& t : m_queue) {
        m_queueList->addItem(QString::fromStdString(t));
    }
    if (!on) {
        m_lamp->SetLEDON(0);
        m_bufferLabel->setText(QStringLiteral("Radio off: sending disabled"));
    } else if (m_radio.buffer == 0) {
        m_lamp->SetOnColor(plugin_exports::kLampGreen);
        m_lamp->SetLEDON(1);
        m_bufferLabel->setText(QStringLiteral("Keyer buffer: room for a text"));
    } else if (m_radio.buffer == 1) {
        m_lamp->SetOnColor(kRed);
        m_lamp->SetLEDON(1);
        m_bufferLabel->setText(QStringLiteral("Keyer buffer: busy, sending"));
    } else {
        m_lamp->SetLEDON(0);
        m_bufferLabel->setText(QStringLiteral("Keyer buffer: asking the radio"));
    }
}

void CKeyerWindow::setStatus(const QString& text, bool fault) {
    if (m_status == nullptr) {
        return;
    }
    m_status->setText(text);
    m_status->setStyleSheet(fault ? QStringLiteral("color: #c00000;") : QString());
}

QStringList CKeyerWindow::queued() const {
    QStringList out;
    for (const std::string& t : m_queue) {
        out << QString::fromStdString(t);
    }
    return out;
}

QString CKeyerWindow::status() const { return m_status != nullptr ? m_status->text() : QString(); }

bool CKeyerWindow::sendingEnabled() const { return m_send != nullptr && m_send->isEnabled(); }

} // namespace pimbel

// SPDX-License-Identifier: GPL-3.0-or-later
// The "Terminal" window: the terminal's screen, the input line and what goes
// out on the line.
#include "terminal_window.h"

#include "terminal_text.h"

#include <corvan.h>
#include <kestrin.h>

#include <QFont>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

namespace solvik {

namespace {

enum ControlId {
    kLamp = 28001,
    kMode,
    kSend,
    kInterrupt,
    kClear,
    kLeave,
    kStatus,
    kClose,
};

constexpr int kHelpContext = 192;
constexpr int kScreenLines = 5000;
constexpr COLORREF kGreen = 65280;

constexpr platform::SecondaryWindowDescription kDescription{"Terminal", "Solvik", kHelpContext, 520, 380};

} // namespace

CTerminalWindow::CTerminalWindow(QWidget* parent, const std::string& kept, int terminal)
    : platform::SecondaryWindow(kDescription, parent), m_kept(kept), m_terminal(terminal) {}

void CTerminalWindow::OnInitDialog() {
    m_ui.lamp = new CStaticLEDEx(this, kLamp, QRect(8, 10, 14, 14));
    m_ui.lamp->SetOnColor(kGreen);
    m_ui.lamp->SetOffColor(0);
    m_ui.mode = new CStaticEx(this, kMode, QRect(28, 8, 300, 20));
    m_ui.mode->SetTextBold(1);

    m_ui.screen = new QPlainTextEdit(this);
    m_ui.screen->setGeometry(8, 32, 504, 262);
    m_ui.screen->setReadOnly(true);
    m_ui.screen->setMaximumBlockCount(kScreenLines);
    m_ui.screen->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(13);
    m_ui.screen->setFont(fixed);
    QPalette colours = m_ui.screen->palette();
    colours.setColor(QPalette::Base, QColor(12, 16, 12));
    colours.setColor(QPalette::Text, QColor(120, 255, 120));
    m_ui.screen->setPalette(colours);
    m_ui.screen->setPlainText(QString::fromLatin1(m_kept.data(), static_cast<qsizetype>(m_kept.size())));
    m_kept.clear();
    m_ui.screen->moveCursor(QTextCursor::End);

    m_ui.input = new QLineEdit(this);
    m_ui.input->setGeometry(8, 302, 364, 26);
    m_ui.input->setFont(fixed);
    m_ui.input->setPlaceholderText(QStringLiteral("Type a line for the terminal, Enter sends it"));
    m_ui.input->installEventFilter(this);
    m_ui.send = new CButtonEx(this, kSend, QRect(378, 302, 64, 26), QStringLiteral("&Send"));
    m_ui.interrupt = new CButtonEx(this, kInterrupt, QRect(448, 302, 64, 26), QStringLiteral("Ctrl-&C"));

    m_ui.status = new CStaticEx(this, kStatus, QRect(8, 340, 240, 30));
    m_ui.clear = new CButtonEx(this, kClear, QRect(254, 340, 70, 30), QStringLiteral("C&lear"));
    m_ui.leave = new CButtonEx(this, kLeave, QRect(330, 340, 96, 30), QStringLiteral("Leave &TNC"));
    m_ui.close = new CButtonEx(this, kClose, QRect(432, 340, 80, 30), QStringLiteral("Cl&ose"));
    for (CButtonEx* button : {m_ui.send, m_ui.interrupt, m_ui.clear, m_ui.leave, m_ui.close})
        button->setAutoDefault(false);

    connect(m_ui.input, &QLineEdit::returnPressed, this, &CTerminalWindow::sendLine);
    connect(m_ui.send, &QPushButton::clicked, this, &CTerminalWindow::sendLine);
    connect(m_ui.interrupt, &QPushButton::clicked, this, &CTerminalWindow::sendInterrupt);
    connect(m_ui.clear, &QPushButton::clicked, m_ui.screen, &QPlainTextEdit::clear);
    connect(m_ui.leave, &QPushButton::clicked, this, &CTerminalWindow::leaveTerminal);
    connect(m_ui.close, &QPushButton::clicked, this, &CTerminalWindow::reject);
    refresh();
}

void CTerminalWindow::View() {
    BringUp();
    if (m_ui.input != nullptr)
        m_ui.input->setFocus();
}

void CTerminalWindow::reject() {
    CloseWindow();
}

bool CTerminalWindow::canSend() const {
    return m_terminal == 0 && CCorvan::IsOpen() && CCorvan::IsDirectMode();
}

QString CTerminalWindow::screenText() const {
    return m_ui.screen != nullptr ? m_ui.screen->toPlainText() : QString();
}

void CTerminalWindow::OnText(const std::string& cleaned) {
    if (m_ui.screen == nullptr || cleaned.empty())
        return;
    // Text goes at the end, whatever the operator selected; the view stays
    // at the bottom unless it was scrolled back.
    QScrollBar* bar = m_ui.screen->verticalScrollBar();
    const bool atBottom = bar->value() >= bar->maximum();
    QTextCursor cursor(m_ui.screen->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString::fromLatin1(cleaned.data(), static_cast<qsizetype>(cleaned.size())));
    if (atBottom)
        bar->setValue(bar->maximum());
}

void CTerminalWindow::OnMode(int terminal) {
    m_terminal = terminal;
    refresh();
}

void CTerminalWindow::refresh() {
    if (m_ui.mode == nullptr)
        return;
    const bool on = m_terminal == 0;
    m_ui.lamp->SetLEDON(on ? 1 : 0);
    m_ui.mode->setText(on ? QStringLiteral("TNC mode: the terminal owns the line")
                          : QStringLiteral("TNC mode off"));
    const bool send = canSend();
    m_ui.send->setEnabled(send);
    m_ui.interrupt->setEnabled(send);
    m_ui.leave->setEnabled(on);
    if (!send)
        setStatus(on ? QStringLiteral("The link is not in terminal mode") : QStringLiteral("Lines go out only in TNC mode"));
    else
        setStatus(QString());
}

void CTerminalWindow::setStatus(const QString& text) {
    if (m_ui.status != nullptr)
        m_ui.status->setText(text);
}

void CTerminalWindow::sendLine() {
    if (m_ui.input == nullptr || link() == nullptr)
        return;
    // Raw text reaches only the terminal, never the radio's command reader.
    if (!canSend()) {
        refresh();
        return;
    }
    const QString typed = m_ui.input->text();
    const QByteArray bytes = typed.toLatin1();
    std::size_t sent = 0;
    const std::vector<std::string> pieces = PiecesOf(std::string_view(bytes.constData(), bytes.size()), MaxPiece());
    for (const std::string& piece : pieces) {
        if (link()->ConnDirect(piece.c_str()) != 1)
            break;
        ++sent;
    }
    if (sent != pieces.size()) {
        setStatus(sent == 0 ? QStringLiteral("Not sent: the link refused")
                            : QStringLiteral("Only part of the line was sent"));
        return;
    }
    if (!typed.isEmpty() && (m_history.isEmpty() || m_history.back() != typed)) {
        m_history.push_back(typed);
        while (m_history.size() > kHistory)
            m_history.pop_front();
    }
    m_historyAt = static_cast<int>(m_history.size());
    m_ui.input->clear();
    setStatus(pieces.size() > 1 ? QStringLiteral("Sent in %1 pieces").arg(pieces.size()) : QString());
}

void CTerminalWindow::sendInterrupt() {
    if (!canSend() || link() == nullptr)
        return;
    const char stop[2] = {3, 0};
    if (link()->ConnDirect(stop) != 1)
        setStatus(QStringLiteral("Not sent: the link refused"));
}

// The console stops the terminal and connects again.
void CTerminalWindow::leaveTerminal() {
    setStatus(QStringLiteral("Leaving TNC mode"));
    platform::PostToMainWindow(platform::kUmLinkRestart);
}

// Up and Down in the input line walk through the lines sent before.
void CTerminalWindow::recall(int step) {
    if (m_history.isEmpty())
        return;
    m_historyAt = std::clamp(m_historyAt + step, 0, static_cast<int>(m_history.size()));
    m_ui.input->setText(m_historyAt < m_history.size() ? m_history[m_historyAt] : QString());
}

bool CTerminalWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_ui.input && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            recall(key == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return platform::SecondaryWindow::eventFilter(watched, event);
}

} // namespace solvik

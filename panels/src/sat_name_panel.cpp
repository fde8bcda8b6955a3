// SPDX-License-Identifier: GPL-3.0-or-later
#include "sat_name_panel.h"

#include <corvan.h>
#include <kestrin.h>
#include <platform.h>

#include <QSignalBlocker>

#include <algorithm>
#include <chrono>
#include <thread>

namespace pandor {

namespace {
constexpr int kLabelId = 24109;
constexpr int kFieldId = 24108;
constexpr int kOkId = 1;
constexpr int kCancelId = 2;
constexpr int kSaReadAttempts = 10;
constexpr auto kSaReadPause = std::chrono::milliseconds(100);

// Texts cross the library boundary as bytes; Latin-1 keeps every byte.
QByteArray Bounded(const char* text, std::size_t limit) {
    QByteArray bytes;
    if (text != nullptr) {
        for (std::size_t i = 0; i < limit && text[i] != '\0'; ++i) {
            bytes.append(text[i]);
        }
    }
    return bytes;
}
} // namespace

bool IsValidSatelliteName(const QString& text, std::uint32_t versionType) {
    // Version types 5 to 9 show the upper half of the character set too.
    const char16_t highest = versionType >= 5 && versionType <= 9 ? 0xFF : 0x7F;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > highest || c == QLatin1Char(';')) {
            return false;
        }
    }
    return true;
}

CSatNamePanel::CSatNamePanel(QWidget* parent) : CPanelBase(kSatNameTraits, parent) {}

void CSatNamePanel::OnInitDialog() {
    m_storedName.clear();
    auto* label = new CStaticEx(this, kLabelId, QRect(8, 14, 120, 24));
    label->SetTextSize(16);
    label->SetTextBold(1);
    m_field = new CEditEx(this, kFieldId, QRect(130, 12, 146, 26));
    AttachMnemonic(label, QStringLiteral("Memory &Name"), m_field);
    m_field->setMaxLength(kFieldLimit);
    connect(m_field.data(), &QLineEdit::textChanged, this, [this] { CheckName(); });
    auto* ok = new CButtonEx(this, kOkId, QRect(106, 52, 80, 28), QStringLiteral("OK"));
    auto* cancel = new CButtonEx(this, kCancelId, QRect(196, 52, 80, 28), QStringLiteral("Cancel"));
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel, &QPushButton::clicked, this, [this] { OnCancel(); });

    // The name of the satellite channel the radio reported last, if any.
    char stored[corvan::kShortTextSize] = {};
    std::uint32_t values[7] = {};
    for (int attempt = 0; attempt < kSaReadAttempts; ++attempt) {
        if (link()->RcvDataSA(&values[0], &values[1], &values[2], &values[3], &values[4],
                              &values[5], &values[6], stored) != 0) {
            m_field->setText(QString::fromLatin1(Bounded(stored, kFieldLimit)));
            break;
        }
        // A closed link stores nothing new: waiting would only stall the window.
        if (!CCorvan::IsOpen()) {
            break;
        }
        std::this_thread::sleep_for(kSaReadPause);
    }
}

void CSatNamePanel::CheckName() {
    if (m_field == nullptr) {
        return;
    }
    const QString text = m_field->text().left(static_cast<qsizetype>(kNameLimit));
    if (text == QString::fromLatin1(m_storedName)) {
        return;
    }
    if (IsValidSatelliteName(text, link() != nullptr ? link()->GetType() : 0)) {
        m_storedName = text.toLatin1();
        return;
    }
    m_field->setText(QString::fromLatin1(m_storedName));
    m_field->setCursorPosition(static_cast<int>(m_field->text().size()));
}

void CSatNamePanel::SetName(const char* text) {
    m_storedName = Bounded(text, kNameLimit);
    if (m_field == nullptr) {
        return;
    }
    {
        // The console's name is taken as it comes: the check is for typing.
        const QSignalBlocker quiet(m_field.data());
        m_field->setText(QString::fromLatin1(m_storedName));
    }
    m_field->setFocus();
    m_field->setCursorPosition(static_cast<int>(m_field->text().size()));
}

void CSatNamePanel::CopyName(char* buffer) const {
    if (buffer == nullptr) {
        return;
    }
    const QByteArray text = m_field != nullptr ? m_field->text().toLatin1() : m_storedName;
    const auto n = std::min<std::size_t>(static_cast<std::size_t>(text.size()), kNameLimit);
    for (std::size_t i = 0; i < n; ++i) {
        buffer[i] = text[static_cast<qsizetype>(i)];
    }
    buffer[n] = '\0';
}

void CSatNamePanel::OnOK() {
    EndEdit(platform::kUmSatNameEnd, true);
}

void CSatNamePanel::OnCancel() {
    EndEdit(platform::kUmSatNameEnd, false);
}

} // namespace pandor

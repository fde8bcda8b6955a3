#include "memory_panel.h"

#include <kestrin.h>
#include <platform.h>

namespace pandor {

namespace {
constexpr int kOkId = 1;
constexpr int kCancelId = 2;
constexpr std::uint32_t kToneTypeDcs = 3;
} // namespace

std::int64_t JoinWords(std::uint32_t low, std::uint32_t high) {
    return static_cast<std::int64_t>((static_cast<std::uint64_t>(high) << 32) | low);
}

void CopyName(char* destination, std::size_t size, const char* source) {
    if (destination == nullptr || size == 0) {
        return;
    }
    std::size_t n = 0;
    if (source != nullptr) {
        while (n + 1 < size && source[n] != '\0') {
            destination[n] = source[n];
            ++n;
        }
    }
    destination[n] = '\0';
}

CMemoryPanel::CMemoryPanel(QWidget* parent) : CPanelBase(kMemoryTraits, parent) {}

void CMemoryPanel::OnInitDialog() {
    m_channel = MemoryChannel{};
    auto* ok = new CButtonEx(this, kOkId, QRect(338, 316, 84, 28), QStringLiteral("OK"));
    auto* cancel = new CButtonEx(this, kCancelId, QRect(430, 316, 84, 28), QStringLiteral("Cancel"));
    connect(ok, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel, &QPushButton::clicked, this, [this] { OnCancel(); });
}

void CMemoryPanel::SetChannel(const MemoryChannel& channel) {
    m_channel = channel;
    // A tone type the four buttons cannot show checks OFF.
    if (m_channel.toneType > kToneTypeDcs) {
        m_channel.toneType = 0;
    }
    m_channel.name.back() = '\0';
}

void CMemoryPanel::OnOK() {
    platform::PostToMainWindow(platform::kUmMemoryEditEnd, 1, 0);
    EndPanel(QDialog::Accepted);
}

void CMemoryPanel::OnCancel() {
    platform::PostToMainWindow(platform::kUmMemoryEditEnd, 0, 0);
    EndPanel(QDialog::Rejected);
}

} // namespace pandor

#include "multi_panel.h"

#include <kestrin.h>

#include <cerrno>
#include <cstdlib>

namespace pandor {

namespace {
constexpr int kCloseId = 24007;
} // namespace

CMultiPanel::CMultiPanel(QWidget* parent) : CPanelBase(kMultiTraits, parent) {}

void CMultiPanel::OnInitDialog() {
    auto* close = new CButtonEx(this, kCloseId, QRect(476, 266, 80, 28), QStringLiteral("Close"));
    connect(close, &QPushButton::clicked, this, [this] { OnOK(); });
}

void CMultiPanel::OnReply(MultiReply which, std::uint32_t value) {
    const int index = static_cast<int>(which);
    if (index < 0 || index >= static_cast<int>(MultiReply::Count)) {
        return;
    }
    m_replies[static_cast<std::size_t>(index)] = value;
}

std::optional<std::uint32_t> CMultiPanel::reply(MultiReply which) const {
    const int index = static_cast<int>(which);
    if (index < 0 || index >= static_cast<int>(MultiReply::Count)) {
        return std::nullopt;
    }
    return m_replies[static_cast<std::size_t>(index)];
}

void CMultiPanel::OnProcLevels(std::uint32_t input, std::uint32_t output) {
    m_procLevels = std::make_pair(input, output);
}

void CMultiPanel::OnMode(std::uint32_t mode) {
    m_mode = mode;
}

void CMultiPanel::OnBand(std::uint32_t band) {
    m_band = band;
}

void CMultiPanel::OnMenuText(const char* text) {
    long number = 0;
    m_fineStep = ParseMenuNumber(text, &number) && number == 1;
}

bool ParseMenuNumber(const char* text, long* number) {
    if (text == nullptr || number == nullptr) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE) {
        return false;
    }
    *number = value;
    return true;
}

} // namespace pandor

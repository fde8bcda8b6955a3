#include "agc_panel.h"

#include <kestrin.h>

namespace pandor {

namespace {
constexpr int kCloseId = 24007;
} // namespace

CAgcPanel::CAgcPanel(QWidget* parent) : CPanelBase(kAgcTraits, parent) {}

void CAgcPanel::OnInitDialog() {
    m_lastValue = kNoValue;
    auto* close = new CButtonEx(this, kCloseId, QRect(270, 62, 76, 28), QStringLiteral("&Close"));
    connect(close, &QPushButton::clicked, this, [this] { OnOK(); });
}

void CAgcPanel::OnAgcValue(std::uint32_t value) {
    if (value == m_lastValue) {
        return;
    }
    m_lastValue = value;
}

void CAgcPanel::OnMode(std::uint32_t mode) {
    m_sliderEnabled = mode != kModeFm;
}

} // namespace pandor

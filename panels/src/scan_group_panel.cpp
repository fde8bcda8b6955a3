#include "scan_group_panel.h"

#include <corvan.h>

namespace pandor {

namespace {
constexpr std::uint32_t kLastScanType = 1;
} // namespace

CScanGroupPanel::CScanGroupPanel(QWidget* parent) : CPanelBase(kScanGroupTraits, parent) {}

void CScanGroupPanel::OnInitDialog() {
    m_controlBand = kNoControlBand;
    m_scanType = 0;
    m_groups = GroupStates{};
    std::uint32_t transmitBand = 0;
    std::uint32_t controlBand = 0;
    for (int attempt = 0; attempt < 10; ++attempt) {
        if (link()->RcvDataDC(&transmitBand, &controlBand) != 0) {
            OnBands(transmitBand, controlBand);
            break;
        }
    }
}

void CScanGroupPanel::OnGroups(std::uint32_t scanType,
                               const std::array<std::uint32_t, kGroupCount>& values) {
    // A scan type the list does not hold selects nothing and keeps the last.
    if (scanType <= kLastScanType) {
        m_scanType = scanType;
    }
    for (std::size_t i = 0; i < kGroupCount; ++i) {
        ApplyGroupValue(m_groups[i], values[i]);
    }
}

void CScanGroupPanel::OnBands(std::uint32_t /*transmitBand*/, std::uint32_t controlBand) {
    if (controlBand == m_controlBand) {
        return;
    }
    m_controlBand = controlBand;
    setWindowTitle(BandTitle(traits().title, controlBand));
    if (CCorvan* radio = link()) {
        radio->ConnSU("R", m_scanType, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    }
}

} // namespace pandor

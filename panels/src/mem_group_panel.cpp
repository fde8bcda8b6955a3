#include "mem_group_panel.h"

#include <corvan.h>

namespace pandor {

CMemGroupPanel::CMemGroupPanel(QWidget* parent) : CPanelBase(kMemGroupTraits, parent) {}

void CMemGroupPanel::OnInitDialog() {
    m_controlBand = kNoControlBand;
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

void CMemGroupPanel::OnGroups(const std::array<std::uint32_t, kGroupCount>& values) {
    for (std::size_t i = 0; i < kGroupCount; ++i) {
        ApplyGroupValue(m_groups[i], values[i]);
    }
}

void CMemGroupPanel::OnBands(std::uint32_t /*transmitBand*/, std::uint32_t controlBand) {
    if (controlBand == m_controlBand) {
        return;
    }
    m_controlBand = controlBand;
    setWindowTitle(BandTitle(traits().title, controlBand));
    if (CCorvan* radio = link()) {
        radio->ConnMU("R", 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
    }
}

} // namespace pandor

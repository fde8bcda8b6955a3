// scan_group_panel.h - the scan group panel ("Scan Group Set").
//
// Holds the scan type and the ten group states last reported by SU and the
// control band; the title names the band the groups belong to.
#pragma once

#include "group_title.h"
#include "panel_base.h"

namespace pandor {

class CScanGroupPanel final : public CPanelBase {
    Q_OBJECT
public:
    explicit CScanGroupPanel(QWidget* parent);

    void OnGroups(std::uint32_t scanType, const std::array<std::uint32_t, kGroupCount>& values);
    // A control band different from the stored one retitles the panel and
    // asks for the groups of the current scan type again (SU read).
    void OnBands(std::uint32_t transmitBand, std::uint32_t controlBand);

    const GroupStates& groups() const { return m_groups; }
    std::uint32_t scanType() const { return m_scanType; }
    std::uint32_t controlBand() const { return m_controlBand; }

protected:
    void OnInitDialog() override;

private:
    GroupStates m_groups{};
    std::uint32_t m_scanType = 0; // 0 program/VFO scan, 1 memory scan
    std::uint32_t m_controlBand = kNoControlBand;
};

} // namespace pandor

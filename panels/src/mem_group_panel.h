// mem_group_panel.h - the memory group panel ("Memory Group Use").
//
// Holds the ten group states last reported by MU and the control band; the
// title names the band (Main or Sub) the groups belong to.
#pragma once

#include "group_title.h"
#include "panel_base.h"

namespace pandor {

class CMemGroupPanel final : public CPanelBase {
    Q_OBJECT
public:
    explicit CMemGroupPanel(QWidget* parent);

    void OnGroups(const std::array<std::uint32_t, kGroupCount>& values);
    // A control band different from the stored one retitles the panel and
    // asks for the groups again (MU read).
    void OnBands(std::uint32_t transmitBand, std::uint32_t controlBand);

    const GroupStates& groups() const { return m_groups; }
    std::uint32_t controlBand() const { return m_controlBand; }

protected:
    void OnInitDialog() override;

private:
    GroupStates m_groups{};
    std::uint32_t m_controlBand = kNoControlBand;
};

} // namespace pandor

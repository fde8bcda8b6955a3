// SPDX-License-Identifier: GPL-3.0-or-later
// group_panel.h - what the memory group and scan group panels share: ten
// framed groups with an ON and an OFF button each, the ALL, OK and Cancel
// buttons, and the band the groups belong to in the title.
//
// ALL turns every group ON unless all are ON already, then every group OFF.
// Enter presses ALL, OK or Cancel when one of them has the focus and does
// nothing elsewhere; Esc is Cancel. A group never reported shows neither
// button lit and counts as OFF.
#pragma once

#include "group_title.h"
#include "panel_base.h"

#include <QPointer>

#include <array>
#include <cstdint>

class CButtonEx;
class CStaticFrameEx;
class QPushButton;

namespace pandor {

class CGroupPanel : public CPanelBase {
    Q_OBJECT
public:
    static constexpr int kAllId = 3;
    static constexpr int kOkId = 24106;
    static constexpr int kCancelId = 2;

    CGroupPanel(const PanelTraits& traits, QWidget* parent);

    // A control band different from the stored one retitles the panel and
    // asks for the groups again.
    void OnBands(std::uint32_t transmitBand, std::uint32_t controlBand);

    const GroupStates& groups() const { return m_groups; }
    std::uint32_t controlBand() const { return m_controlBand; }
    bool IsOn(std::size_t group) const { return group < kGroupCount && m_groups[group].value_or(false); }
    // The ON states as the radio takes them: 1 ON, 0 otherwise.
    std::array<std::uint32_t, kGroupCount> OnStates() const;

    QPushButton* onButton(std::size_t group) const;
    QPushButton* offButton(std::size_t group) const;
    QPushButton* allButton() const;
    QPushButton* okButton() const;
    QPushButton* cancelButton() const;

    void PressAll();

protected:
    // Builds the groups `top` pixels from the top of the panel and the three
    // buttons below them, then reads the stored control band.
    void BuildGroups(int top);
    void ApplyGroupValues(const std::array<std::uint32_t, kGroupCount>& values);
    void SetGroup(std::size_t group, bool on);
    // Asks the radio for the groups of this panel (MU or SU read).
    virtual void AskForGroups() = 0;
    void OnEnterKey() override {}
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowGroup(std::size_t group);

    std::array<QPointer<CButtonEx>, kGroupCount> m_on{};
    std::array<QPointer<CButtonEx>, kGroupCount> m_off{};
    QPointer<CButtonEx> m_all;
    QPointer<CButtonEx> m_ok;
    QPointer<CButtonEx> m_cancel;
    GroupStates m_groups{};
    std::uint32_t m_controlBand = kNoControlBand;
};

} // namespace pandor

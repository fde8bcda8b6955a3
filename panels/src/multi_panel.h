// SPDX-License-Identifier: GPL-3.0-or-later
// multi_panel.h - the multi-function level panel ("MULTI").
//
// Seventeen drop-down lists of transmit and receive levels. Choosing an
// entry writes it to the radio at once; the replies the console forwards
// move the lists to the radio's values (a value outside a list selects
// nothing). The power list is rebuilt whenever the mode, the band class or
// the fine power-step setting (extended menu 23) changes its limits; it
// never writes a value outside them. F5 asks the radio for every level
// again. Forwarded values update the panel while it is hidden as well.
#pragma once

#include "multi_lists.h"
#include "panel_base.h"

#include <QPointer>

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

class CStaticEx;
class QComboBox;

namespace pandor {

// The single-value replies forwarded to this panel.
enum class MultiReply : int { AL, CG, CN, ID, KS, MG, ML, NL, NR, OF, PC, QC, RL, SD, TN, VD, VG, Count };

class CMultiPanel final : public CPanelBase {
    Q_OBJECT
public:
    static constexpr std::uint32_t kFullIdentity = 19;

    explicit CMultiPanel(QWidget* parent);

    void OnReply(MultiReply reply, std::uint32_t value);
    void OnProcLevels(std::uint32_t input, std::uint32_t output);
    void OnMode(std::uint32_t mode);
    void OnBand(std::uint32_t band);
    void OnMenuText(const char* text);
    // The read forms of every level, the identity and the mode (F5).
    void Refresh();

    std::optional<std::uint32_t> reply(MultiReply which) const;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> procLevels() const { return m_procLevels; }
    std::uint32_t mode() const { return m_mode; }
    std::optional<std::uint32_t> band() const { return m_band; }
    bool fineStep() const { return m_fineStep; }
    int bandClass() const { return m_bandClass; }
    const PowerLimits& powerLimits() const { return m_limits; }
    bool versionFlagA() const { return m_flagA; }
    bool versionFlagB() const { return m_flagB; }
    QComboBox* list(MultiList which) const;
    CStaticEx* unitLabel(MultiList which) const;

protected:
    void OnInitDialog() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void ReadVersionFlags();
    void ReadFineStep();
    void ReadMode();
    void FillList(MultiList which);
    // Recomputes the limits; rebuilds the power list (and asks for the
    // power) when they changed or when `force` is set.
    void UpdatePower(bool force);
    void RebuildPowerList();
    void RebuildNoiseReductionList(std::uint32_t state);
    void ApplyIdentity(std::uint32_t identity);
    void Select(MultiList which, int index);
    void OnChosen(MultiList which, int index);
    PowerInputs CurrentPowerInputs();

    std::array<QPointer<QComboBox>, kMultiListCount> m_lists{};
    std::array<QPointer<CStaticEx>, kMultiListCount> m_units{};
    std::array<std::optional<std::uint32_t>, static_cast<int>(MultiReply::Count)> m_replies{};
    std::optional<std::pair<std::uint32_t, std::uint32_t>> m_procLevels;
    std::optional<std::uint32_t> m_identity;
    std::optional<std::uint32_t> m_noiseReductionState;
    std::uint32_t m_mode = 0;
    std::optional<std::uint32_t> m_band;
    int m_bandClass = 0;
    bool m_fineStep = false;
    bool m_flagA = false;
    bool m_flagB = false;
    PowerLimits m_limits{};
};

// The value text of an EX reply as a number; false when it is not one.
bool ParseMenuNumber(const char* text, long* number);

} // namespace pandor

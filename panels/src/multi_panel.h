// multi_panel.h - the multi-function level panel ("MULTI").
//
// Holds what the console forwards: the last reported value of each level
// reply, the speech-processor pair, the mode, the band of the current
// frequency and the fine power-step flag of extended menu 23. Forwarded
// values update the panel while it is hidden as well.
#pragma once

#include "panel_base.h"

#include <array>
#include <cstdint>
#include <optional>
#include <utility>

namespace pandor {

// The single-value replies forwarded to this panel.
enum class MultiReply : int { AL, CG, CN, ID, KS, MG, ML, NL, NR, OF, PC, QC, RL, SD, TN, VD, VG, Count };

class CMultiPanel final : public CPanelBase {
    Q_OBJECT
public:
    explicit CMultiPanel(QWidget* parent);

    void OnReply(MultiReply reply, std::uint32_t value);
    void OnProcLevels(std::uint32_t input, std::uint32_t output);
    void OnMode(std::uint32_t mode);
    void OnBand(std::uint32_t band);
    void OnMenuText(const char* text);

    std::optional<std::uint32_t> reply(MultiReply which) const;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> procLevels() const { return m_procLevels; }
    std::uint32_t mode() const { return m_mode; }
    std::optional<std::uint32_t> band() const { return m_band; }
    bool fineStep() const { return m_fineStep; }

protected:
    void OnInitDialog() override;

private:
    std::array<std::optional<std::uint32_t>, static_cast<int>(MultiReply::Count)> m_replies{};
    std::optional<std::pair<std::uint32_t, std::uint32_t>> m_procLevels;
    std::uint32_t m_mode = 0;
    std::optional<std::uint32_t> m_band;
    bool m_fineStep = false;
};

// The value text of an EX reply as a number; false when it is not one.
bool ParseMenuNumber(const char* text, long* number);

} // namespace pandor

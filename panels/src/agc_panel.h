// agc_panel.h - the AGC time-constant panel.
//
// Keeps the last AGC value reported (999 until the first report) and whether
// the slider may be used (not in FM).
#pragma once

#include "panel_base.h"

#include <cstdint>

namespace pandor {

class CAgcPanel final : public CPanelBase {
    Q_OBJECT
public:
    static constexpr std::uint32_t kNoValue = 999;
    static constexpr std::uint32_t kModeFm = 4;

    explicit CAgcPanel(QWidget* parent);

    void OnAgcValue(std::uint32_t value);
    void OnMode(std::uint32_t mode);

    std::uint32_t lastValue() const { return m_lastValue; }
    bool sliderEnabled() const { return m_sliderEnabled; }

protected:
    void OnInitDialog() override;

private:
    std::uint32_t m_lastValue = kNoValue;
    bool m_sliderEnabled = true;
};

} // namespace pandor

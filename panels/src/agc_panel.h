// SPDX-License-Identifier: GPL-3.0-or-later
// agc_panel.h - the AGC time-constant panel.
//
// One slider, 0 (slow, left) to 20 (fast, right), for the GT value. A value
// the radio reports moves the slider unless the operator is holding the
// mouse button in the panel or the value is the one shown already; the end
// of an operator's movement writes the new position. The slider is disabled
// in FM. The last value is 999 until the first report.
#pragma once

#include "panel_base.h"

#include <QPointer>

#include <cstdint>

class QSlider;

namespace pandor {

class CAgcPanel final : public CPanelBase {
    Q_OBJECT
public:
    static constexpr std::uint32_t kNoValue = 999;
    static constexpr std::uint32_t kModeFm = 4;
    static constexpr int kSliderMax = 20;

    explicit CAgcPanel(QWidget* parent);

    void OnAgcValue(std::uint32_t value);
    void OnMode(std::uint32_t mode);

    std::uint32_t lastValue() const { return m_lastValue; }
    bool sliderEnabled() const { return m_sliderEnabled; }
    bool mouseHeld() const { return m_mouseHeld; }
    QSlider* slider() const { return m_slider.data(); }

protected:
    void OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // The operator let go of the slider (mouse or key): write its position.
    void OnMovementEnd();

    QPointer<QSlider> m_slider;
    const QObject* m_filtered = nullptr; // the slider, for the event filter
    QPointer<QWidget> m_close;
    std::uint32_t m_lastValue = kNoValue;
    bool m_sliderEnabled = true;
    bool m_mouseHeld = false;
};

} // namespace pandor

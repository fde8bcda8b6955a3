// SPDX-License-Identifier: GPL-3.0-or-later
#include "agc_panel.h"

#include <corvan.h>
#include <kestrin.h>

#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QSlider>

namespace pandor {

namespace {
constexpr int kCloseId = 24007;
constexpr int kSliderId = 24042;
constexpr int kSlowId = 24043;
constexpr int kFastId = 24044;
constexpr int kOffId = 24045;
constexpr unsigned kLabelTextSize = 15;
} // namespace

CAgcPanel::CAgcPanel(QWidget* parent) : CPanelBase(kAgcTraits, parent) {}

void CAgcPanel::OnInitDialog() {
    auto* slow = new CStaticEx(this, kSlowId, QRect(10, 4, 60, 20), QStringLiteral("SLOW"));
    auto* fast = new CStaticEx(this, kFastId, QRect(196, 4, 60, 20), QStringLiteral("FAST"),
                               Qt::AlignRight | Qt::AlignVCenter);
    auto* off = new CStaticEx(this, kOffId, QRect(10, 62, 60, 20), QStringLiteral("OFF"));
    for (CStaticEx* label : {slow, fast, off}) {
        label->SetTextSize(kLabelTextSize);
    }
    m_slider = new QSlider(Qt::Horizontal, this);
    m_slider->setObjectName(QStringLiteral("slider%1").arg(kSliderId));
    m_slider->setGeometry(10, 26, 246, 32);
    m_slider->setRange(0, kSliderMax);
    m_slider->setSingleStep(1);
    m_slider->setPageStep(5);
    m_slider->setTickPosition(QSlider::TicksBelow);
    m_slider->setTickInterval(1);
    m_slider->setEnabled(m_sliderEnabled);
    m_slider->installEventFilter(this);
    m_filtered = m_slider.data();
    auto* close = new CButtonEx(this, kCloseId, QRect(266, 60, 80, 28), QStringLiteral("&Close"));
    m_close = close;
    connect(close, &QPushButton::clicked, this, [this] { OnOK(); });

    if (CCorvan* radio = link()) {
        radio->ConnMD("R", 0);
        radio->ConnGT("R", 0);
    }
    m_mouseHeld = false;
    m_lastValue = kNoValue;
}

void CAgcPanel::OnAgcValue(std::uint32_t value) {
    if (m_mouseHeld || value == m_lastValue) {
        return;
    }
    // A time constant the slider cannot show is not shown at its end.
    if (value > static_cast<std::uint32_t>(kSliderMax)) {
        return;
    }
    m_lastValue = value;
    if (m_slider != nullptr) {
        const QSignalBlocker quiet(m_slider.data());
        m_slider->setValue(static_cast<int>(value));
    }
}

void CAgcPanel::OnMode(std::uint32_t mode) {
    m_sliderEnabled = mode != kModeFm;
    if (m_slider != nullptr) {
        m_slider->setEnabled(m_sliderEnabled);
    }
}

void CAgcPanel::OnMovementEnd() {
    if (m_slider == nullptr || m_mouseHeld) {
        return;
    }
    const auto position = static_cast<std::uint32_t>(m_slider->value());
    if (position == m_lastValue) {
        return;
    }
    if (CCorvan* radio = link()) {
        radio->ConnGT("W", position);
    }
}

bool CAgcPanel::eventFilter(QObject* watched, QEvent* event) {
    // Compared as an object only: the filter also sees the slider's last
    // events while it is being destroyed, when it is no QSlider any more.
    if (watched != nullptr && watched == m_filtered) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                m_mouseHeld = true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                m_mouseHeld = false;
                // After the slider has taken the release.
                QMetaObject::invokeMethod(this, &CAgcPanel::OnMovementEnd, Qt::QueuedConnection);
            }
            break;
        case QEvent::KeyRelease:
            if (!static_cast<QKeyEvent*>(event)->isAutoRepeat()) {
                OnMovementEnd();
            }
            break;
        case QEvent::Wheel:
            QMetaObject::invokeMethod(this, &CAgcPanel::OnMovementEnd, Qt::QueuedConnection);
            break;
        default:
            break;
        }
    }
    return CPanelBase::eventFilter(watched, event);
}

void CAgcPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_mouseHeld = true;
    }
    CPanelBase::mousePressEvent(event);
}

void CAgcPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_mouseHeld = false;
    }
    CPanelBase::mouseReleaseEvent(event);
}

bool CAgcPanel::focusNextPrevChild(bool next) {
    QWidget* focused = focusWidget();
    if ((focused == nullptr || focused == this) && m_close != nullptr) {
        m_close->setFocus(Qt::TabFocusReason);
        return true;
    }
    return CPanelBase::focusNextPrevChild(next);
}

} // namespace pandor

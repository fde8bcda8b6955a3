// SPDX-License-Identifier: GPL-3.0-or-later
#include "group_panel.h"

#include <corvan.h>
#include <kestrin.h>

#include <QKeyEvent>

namespace pandor {

namespace {

struct GroupIds {
    int frame;
    int on;
    int off;
};
constexpr GroupIds kGroupIds[kGroupCount] = {
    {24111, 24112, 24113}, {24114, 24115, 24116}, {24117, 24118, 24119}, {24120, 24121, 24122},
    {24126, 24127, 24128}, {24144, 24145, 24146}, {24147, 24148, 24149}, {24150, 24151, 24152},
    {24153, 24154, 24155}, {24156, 24157, 24158},
};

// Two columns of five groups.
constexpr int kColumnLeft[2] = {6, 158};
constexpr int kFrameWidth = 146;
constexpr int kFrameHeight = 44;
constexpr int kRowPitch = 46;
constexpr int kButtonWidth = 60;
constexpr int kButtonHeight = 24;

constexpr COLORREF kOnLit = 0x0070E070;  // green
constexpr COLORREF kOffLit = 0x00A8A8F0; // soft red
constexpr COLORREF kUnlit = 0x00E8E8E8;
constexpr COLORREF kLitText = 0x00000000;
constexpr COLORREF kUnlitText = 0x00606060;

void Light(CButtonEx* button, bool lit, COLORREF colour) {
    if (button == nullptr) {
        return;
    }
    button->setChecked(lit);
    button->SetBackColor(lit ? colour : kUnlit);
    button->SetForeColor(lit ? kLitText : kUnlitText);
}

} // namespace

CGroupPanel::CGroupPanel(const PanelTraits& traits, QWidget* parent) : CPanelBase(traits, parent) {}

void CGroupPanel::BuildGroups(int top) {
    m_controlBand = kNoControlBand;
    m_groups = GroupStates{};
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        const int left = kColumnLeft[g / 5];
        const int frameTop = top + static_cast<int>(g % 5) * kRowPitch;
        new CStaticFrameEx(this, kGroupIds[g].frame, QRect(left, frameTop, kFrameWidth, kFrameHeight),
                           QStringLiteral("Group %1").arg(g));
        auto* on = new CButtonEx(this, kGroupIds[g].on,
                                 QRect(left + 10, frameTop + 15, kButtonWidth, kButtonHeight), QStringLiteral("ON"));
        auto* off = new CButtonEx(this, kGroupIds[g].off,
                                  QRect(left + 76, frameTop + 15, kButtonWidth, kButtonHeight), QStringLiteral("OFF"));
        for (CButtonEx* button : {on, off}) {
            button->setCheckable(true);
            // The state follows the radio and the panel's own rules, not the
            // button's own toggling.
            button->setAutoExclusive(false);
        }
        connect(on, &QPushButton::clicked, this, [this, g] { SetGroup(g, true); });
        connect(off, &QPushButton::clicked, this, [this, g] { SetGroup(g, false); });
        m_on[g] = on;
        m_off[g] = off;
        ShowGroup(g);
    }
    const int buttonsTop = top + 5 * kRowPitch + 8;
    m_all = new CButtonEx(this, kAllId, QRect(8, buttonsTop, 92, 28), QStringLiteral("&ALL"));
    m_ok = new CButtonEx(this, kOkId, QRect(108, buttonsTop, 92, 28), QStringLiteral("&OK"));
    m_cancel = new CButtonEx(this, kCancelId, QRect(208, buttonsTop, 92, 28), QStringLiteral("&Cancel"));
    connect(m_all.data(), &QPushButton::clicked, this, [this] { PressAll(); });
    connect(m_ok.data(), &QPushButton::clicked, this, [this] { OnOK(); });
    connect(m_cancel.data(), &QPushButton::clicked, this, [this] { OnCancel(); });

    // The band the radio reported last, if it has.
    if (CCorvan* radio = link()) {
        std::uint32_t transmitBand = 0;
        std::uint32_t controlBand = 0;
        for (int attempt = 0; attempt < 10; ++attempt) {
            if (radio->RcvDataDC(&transmitBand, &controlBand) != 0) {
                OnBands(transmitBand, controlBand);
                break;
            }
        }
    }
}

void CGroupPanel::OnBands(std::uint32_t /*transmitBand*/, std::uint32_t controlBand) {
    if (controlBand == m_controlBand) {
        return;
    }
    m_controlBand = controlBand;
    setWindowTitle(BandTitle(traits().window.title, controlBand));
    AskForGroups();
}

void CGroupPanel::ApplyGroupValues(const std::array<std::uint32_t, kGroupCount>& values) {
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        ApplyGroupValue(m_groups[g], values[g]);
        ShowGroup(g);
    }
}

void CGroupPanel::SetGroup(std::size_t group, bool on) {
    if (group >= kGroupCount) {
        return;
    }
    m_groups[group] = on;
    ShowGroup(group);
}

void CGroupPanel::ShowGroup(std::size_t group) {
    const std::optional<bool>& state = m_groups[group];
    Light(m_on[group], state.value_or(false), kOnLit);
    Light(m_off[group], state.has_value() && !*state, kOffLit);
}

std::array<std::uint32_t, kGroupCount> CGroupPanel::OnStates() const {
    std::array<std::uint32_t, kGroupCount> states{};
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        states[g] = IsOn(g) ? 1 : 0;
    }
    return states;
}

void CGroupPanel::PressAll() {
    bool allOn = true;
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        allOn = allOn && IsOn(g);
    }
    for (std::size_t g = 0; g < kGroupCount; ++g) {
        SetGroup(g, !allOn);
    }
}

void CGroupPanel::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == 0) {
        QWidget* focused = focusWidget();
        const bool ownButton = focused != nullptr &&
                               (focused == m_all.data() || focused == m_ok.data() || focused == m_cancel.data());
        if (!ownButton) {
            // An ON or OFF button, or nothing: Enter does nothing.
            event->accept();
            return;
        }
    }
    CPanelBase::keyPressEvent(event);
}

QPushButton* CGroupPanel::onButton(std::size_t group) const {
    return group < kGroupCount ? m_on[group].data() : nullptr;
}

QPushButton* CGroupPanel::offButton(std::size_t group) const {
    return group < kGroupCount ? m_off[group].data() : nullptr;
}

QPushButton* CGroupPanel::allButton() const {
    return m_all.data();
}

QPushButton* CGroupPanel::okButton() const {
    return m_ok.data();
}

QPushButton* CGroupPanel::cancelButton() const {
    return m_cancel.data();
}

} // namespace pandor

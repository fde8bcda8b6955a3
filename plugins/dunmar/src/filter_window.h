// SPDX-License-Identifier: GPL-3.0-or-later
// filter_window.h - the "RX Filter" window and what the radio last reported.
#pragma once

#include "filter_rules.h"

#include <platform.h>

#include <QString>

#include <cstdint>

class CButtonEx;
class CStaticEx;
class CStaticFrameEx;
class QComboBox;
class QSpinBox;

namespace dunmar {

class PassbandView;

// The radio's filter as forwarded by the console; -1 while not reported.
struct Reported {
    int transmitBand = -1;
    int controlBand = -1;
    int mode = -1;
    int lowCut = -1;   // SL index
    int highCut = -1;  // SH index
    int width = -1;    // FW
    int shift = -1;    // IS, signed
    int preset = -1;   // menu 50, sub-item 1
};

class CFilterWindow final : public platform::SecondaryWindow {
    Q_OBJECT
public:
    struct Controls {
        CStaticEx* band = nullptr;
        CStaticEx* mode = nullptr;
        QComboBox* preset = nullptr;
        PassbandView* passband = nullptr;
        CStaticFrameEx* cutFrame = nullptr;
        QComboBox* lowCut = nullptr;
        QComboBox* highCut = nullptr;
        QComboBox* width = nullptr;
        QSpinBox* shift = nullptr;
        CButtonEx* shiftSet = nullptr;
        CStaticEx* status = nullptr;
        CButtonEx* close = nullptr;
    };

    CFilterWindow(QWidget* parent, const Reported& reported);

    // Shows and activates the window and asks the radio for its filter.
    void View();
    void Apply(const Reported& reported);

    const Controls& controls() const { return m_ui; }
    const Reported& shown() const { return m_shown; }

protected:
    void OnInitDialog() override;
    void reject() override;

private:
    void refresh();
    void fillWidths();
    void fillCuts();
    void requestValues();
    void setStatus(const QString& text);
    void sent(bool ok, const QString& what);
    // A set command of the link that takes one number.
    using SetCommand = std::int32_t (CCorvan::*)(const char*, std::uint32_t);
    // The operator chose entry `index` of `list`: its value goes out by
    // `command`, and once the link took it `shown` holds it; the status line
    // names it after `what`.
    void sendChoice(QComboBox* list, int index, SetCommand command, int& shown, const QString& what);

    void onLowCut(int index);
    void onHighCut(int index);
    void onWidth(int index);
    void onShift();
    void onPreset(int index);

    Controls m_ui;
    Reported m_shown;
    ModeClass m_widthClass = ModeClass::Ssb; // the class the width list holds
    std::uint32_t m_cutModel = 0xFFFFFFFFu;   // the model type the cut lists are for
    bool m_filling = false;
};

} // namespace dunmar

// SPDX-License-Identifier: GPL-3.0-or-later
// eqg_window.h - the samples window "Audio Editor - Samples": seven types
// of five ready-made tap sets. The operator picks a type, one of the five
// picture buttons (each shows the response of its sample), receive or
// transmit, and writes; after a confirmation the sample's tap text goes out
// with UR (RX EQ.) or UT (TX EQ.).
#pragma once

#include "eq_window.h"

#include <QPointer>

#include <array>

class CButtonEx;
class QButtonGroup;
class QComboBox;
class QPushButton;
class QRadioButton;

namespace tonwell {

// Control ids of the window (also the controls' object names).
enum EqgControl : int {
    kIdSampleWrite = 1,
    kIdSampleClose = 2,
    kIdSampleEqFrame = 3032,
    kIdSampleTx = 3031,
    kIdSampleTypeFrame = 3064,
    kIdSampleRx = 3066,
    kIdSample1 = 3070, // to 3074 for sample 5
    kIdSampleTypeList = 3075,
};

class CEqgWindow : public CEqWindow {
    Q_OBJECT
public:
    explicit CEqgWindow(QWidget* parent);
    ~CEqgWindow() override;

    // Type 1..7 (the list's index + 1) and the selected sample 1..5 (0 when
    // none is selected).
    int type() const;
    int sample() const;
    // The picture ids shown on the five buttons, for the current type.
    std::array<int, 5> pictureIds() const { return m_pictureIds; }

    void SelectType(int type);
    void SelectSample(int sample);
    // The Write button: confirm, then send the selected sample.
    void WriteToRadio();

protected:
    void OnInitDialog() override;
    void OnEnterKey() override;

private:
    void LoadPictures();

    std::array<QPointer<CButtonEx>, 5> m_samples{};
    std::array<int, 5> m_pictureIds{};
    QButtonGroup* m_group = nullptr;
    QPointer<QComboBox> m_types;
    QPointer<QRadioButton> m_rx;
    QPointer<QRadioButton> m_tx;
    QPointer<CButtonEx> m_write;
    QPointer<CButtonEx> m_close;
};

} // namespace tonwell

// SPDX-License-Identifier: GPL-3.0-or-later
// vscan_window.h - the "Visual Scan" window.
//
// A thin shell: its operations live in files by topic -
//   vscan_layout.cpp  the controls, the lists, creation and destruction;
//   vscan_sweep.cpp   Start, Pause, Stop, Reset, Set, band keys, the lists'
//                     changes, the slider and the bars drawn for the thread;
//   vscan_entry.cpp   the digit fields, the keyboard entry and the dial;
//   vscan_radio.cpp   the radio's reports, menu 015, View and Close.
// UI thread only; the sweep thread reaches the window through posted
// messages (SweepSink) and the shared ScanControl.
#pragma once

#include "scan_rules.h"
#include "sweep_engine.h"

#include <QString>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>

class CCorvan;
class CButtonEx;
class CStaticEx;
class CStaticFrameEx;
class QComboBox;
class QRadioButton;
class QSlider;
class QTimer;

namespace glimra {

class GraphWidget;
class DialIcon;

// Message numbers the window receives.
inline constexpr unsigned kDrawMessage = 0x1100;     // from the sweep thread: draw a bar
inline constexpr unsigned kSweepEndMessage = 0x1151; // from the sweep thread: run Stop

class CVisualScanDlg : public QWidget, private SweepSink {
    Q_OBJECT
public:
    // The window's controls, for the operations and for tests.
    struct Controls {
        GraphWidget* graph = nullptr;
        QSlider* slider = nullptr;
        CStaticEx* lowLabel = nullptr;
        CStaticEx* centreLabel = nullptr;
        CStaticEx* highLabel = nullptr;
        std::array<CStaticEx*, kDigits> digits{};
        std::array<CStaticEx*, 3> separators{};
        CButtonEx* ent = nullptr;
        DialIcon* dial = nullptr;
        CButtonEx* set = nullptr;
        CButtonEx* reset = nullptr;
        QComboBox* graphList = nullptr;
        QComboBox* stepList = nullptr;
        QComboBox* spanList = nullptr;
        QComboBox* intervalList = nullptr;
        QComboBox* bandList = nullptr;
        QRadioButton* repeatOn = nullptr;
        QRadioButton* repeatOff = nullptr;
        CButtonEx* bandDown = nullptr;
        CButtonEx* bandUp = nullptr;
        CButtonEx* start = nullptr;
        CButtonEx* pause = nullptr;
        CButtonEx* stop = nullptr;
        CButtonEx* close = nullptr;
    };

    static constexpr int kWidth = 460;
    static constexpr int kHeight = 540;

    explicit CVisualScanDlg(QWidget* parent);
    ~CVisualScanDlg() override;

    // ---- exports (vscan_radio.cpp)
    // Shows and activates the window; `created` on the call that made it.
    void View(bool created = false);
    void MsgEX(std::int32_t menu, std::int32_t item, std::int32_t a, std::int32_t b,
               const char* text);
    void MsgDC(std::int32_t first, std::int32_t second);
    void MsgFR(std::int32_t value);
    void MsgSC(std::int32_t value);
    void MsgTX(std::int32_t value);
    void MsgRX(std::int32_t value);
    void OnClose();
    // The console's link is about to close; `writable` while the line still
    // takes commands. The open window gives the radio its menu 015 back.
    void LinkClosing(bool writable);
    // The radio may be back: menu 015 given back at a closing is cleared
    // again while the window is open.
    void RadioMayBeBack();

    // ---- operations (vscan_sweep.cpp)
    void Start();
    void Pause();
    void Stop();
    void Reset();
    void Set();
    void BandDown();
    void BandUp();
    void SpanChanged(int index);
    void StepChanged(int index);
    void IntervalChanged(int index);
    void GraphChanged(int index);
    void BandChanged(int index);
    void RepeatChanged(bool on);
    void SliderMoved(int position);
    void BarClicked(int channel);

    // ---- frequency entry and dial (vscan_entry.cpp)
    void EntToggle();
    // A key while in entry mode or on a focused button; true when used.
    bool HandleKey(int key, const QString& text);
    void DigitPressed(int fieldFromRight, bool raise);
    void DigitReleased();
    void DialClicked();
    void DialDoubleClicked();
    void DialMove(bool raise);

    // ---- state, for the console and tests
    const Controls& controls() const { return m_ui; }
    const ScanControl& control() const { return m_control; }
    bool isOpen() const { return m_open; }
    std::int64_t entered() const { return m_entered; }
    void setEntered(std::int64_t hz);
    bool entryActive() const { return m_entry.active(); }
    int band() const { return m_band; }
    int graphMode() const { return m_graphMode; }
    int dialPosition() const { return m_dial.position(); }
    std::uint32_t saved015() const { return m_saved015; }
    QString sliderTip() const { return m_sliderTip; }
    int transmitting() const { return m_transmit; }
    std::int64_t stepListValue() const;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // SweepSink: called on the sweep thread, only posts.
    void drawBar(int channel, int show) override;
    void sweepEnded() override;

    // vscan_layout.cpp
    void buildControls();
    void fillLists();
    void fillStepList(int band, int selection);
    void connectControls();
    void setSweepControls(bool enabled);

    // vscan_sweep.cpp
    void onDrawMessage(int channel, int show);
    void recomputeEdges();
    void showEdges();
    void setSliderQuiet(int position);
    void setSliderRange(int span);
    bool readSelectorFrequency(std::int64_t& hz);
    void queryFrequency();
    // False when the link did not take the command.
    bool tune(std::int64_t hz);
    bool subBandCheck(bool& onlyReset);
    void sendBandChangeIfNeeded();
    // What Set and the band keys start with: the sub-band check, then the
    // band change; false when the action ends there (refused, or a reset).
    bool beginBandAction();
    void changeBand(bool up);
    void putBackAfterSweep();

    // vscan_entry.cpp
    void showEntered();
    void showEntryFields();
    void endEntry();
    void cancelEntry();
    void repeatDigit();

    // vscan_radio.cpp
    void readInitialState();
    void saveAndClearMenu015();
    void clearMenu015();
    // False when the link did not take it; the value is then owed.
    bool restoreMenu015();
    void restoreRadioStep();
    void applyGuardRule();
    bool inBand(std::int64_t hz);

    Controls m_ui;
    std::unique_ptr<CCorvan> m_link;
    ScanControl m_control;
    std::unique_ptr<SweepEngine> m_engine;

    bool m_open = false;
    int m_graphMode = 1;
    int m_band = 0;
    int m_dcFirst = 9;
    int m_dcSecond = 9;
    int m_frMain = 9;
    int m_frSub = 9;
    std::int64_t m_entered = 0;
    FrequencyEntry m_entry;
    DialState m_dial;
    int m_sliderPos = 0;
    std::int64_t m_sliderFreq = 0;
    QString m_sliderTip;
    int m_transmit = 0;
    std::array<int, 3> m_guard{}; // menu 061/01, 061/05, 062/05
    std::uint32_t m_saved015 = 0;
    // Menu 015 was given back to the radio when the link closed under the
    // open window: it is cleared again once the radio is back.
    bool m_menu015Given = false;
    // What a sweep changed on the radio and puts back when it stops: the
    // receive VFO Start switched (FR, -1 when untouched), and the sub band's
    // step the Step list set (ST as the radio had it, -1 when untouched;
    // whether the window's step is on the radio now).
    int m_frBeforeSweep = -1;
    int m_radioStep = -1;
    bool m_stepApplied = false;
    int m_listBand = 0; // the band the Step list is filled for
    bool m_busy = false;
    bool m_quietLists = false;

    // Held digit field: which place and direction, repeated by the timer.
    QTimer* m_repeatTimer = nullptr;
    int m_heldField = -1;
    bool m_heldRaise = false;
};

} // namespace glimra

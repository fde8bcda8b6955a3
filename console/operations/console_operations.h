// SPDX-License-Identifier: GPL-3.0-or-later
// console_operations.h - what the operator's actions do: the front panel's
// buttons, lists and sliders, the keypad and its entry mode, the tuning
// dial, the keyboard, the mouse wheel and the press-and-hold timers.
//
// A handler turns a press into commands on the wire; it does not draw the
// result, because the radio's reply comes back through the reply table and
// the display operations draw the new state. The operations live in files
// by topic:
//   frequency_entry.cpp    digit stepping, the keypad entry mode, ENT, digits, point
//   vfo_operations.cpp     A = B, A / B, SPLIT, TUNE, BAND, MULTI
//   control_handlers.cpp   the control table: which control runs what
//   operator_modes.cpp     the FUNC layer, and the end of each operator mode
//   control_functions.cpp  the toggles and cycles of the front panel's functions
//   monitors.cpp           RX M. and DSP M. (press to monitor, release to restore)
//   sliders.cpp            the RIT/XIT slider and the scan speed bar
//   level_bars.cpp         when a level bar sends (every way it can move)
//   memory_keys.cpp        M. IN, CLR, VFO / M, CALL, clearing a channel, lock-out
//   memory_modes.cpp       memory scroll mode, the quick memory, PM and PM IN
//   vfo_capture.cpp        the VFO copied into the memory record before a write
//   meter_control.cpp      METER: the next second meter the band allows
//   scan_control.cpp       SCAN, V.SCAN, the scan menu and the speed arrows
//   console_input.cpp      the pre-filter: keys, pointer, dial, wheel, hold timers
//   console_operations.cpp construction, the waits, the console's commands
//   menu_commands.cpp      the menu items that act on the radio
//
// Threading: UI thread only. An operation of several dependent commands runs
// inside the connection's operation guard; its waits pump window messages.
#pragma once

#include <console_state.h>
#include <secondary_windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CCorvan;
class ConsoleControls;
class ConsoleDisplay;
class QEvent;
class QObject;
class QWidget;
namespace platform {
class TimerTable;
}
namespace zephyra {
class ConsoleLink;
}

// What the operations need of the console window beyond its parts.
struct OperationsHost {
    QWidget* window = nullptr;              // the console (active-window tests, boxes)
    std::function<int()> pump;              // PumpMessages
    std::function<void(int ms)> sleep;      // a pause inside an operation
    std::function<bool()> running;          // an operation runs (guard or sequence)
    std::function<void(int commandId)> command; // OnCommand
    // The dial picture for a wheel selection 0..8 (icons 142..150).
    std::function<void(int selection)> showDial;
    // The operator's SEND: keys (true) or unkeys the transmitter through its
    // one owner. Unset: TX and RX go straight to the link.
    std::function<void(bool on)> transmit;
    std::uint32_t faceColour = 0xC0C0C0;    // the system button face (0x00BBGGRR)
};

// The scroll codes of a level bar, as the console's horizontal-scroll
// handler receives them.
enum class ScrollCode { LineLeft, LineRight, PageLeft, PageRight, Thumb, End };

class ConsoleOperations {
public:
    // Hold and repeat timers of the front panel (the platform timer table).
    static constexpr int kRitRepeatTimer = 1003;
    static constexpr int kTuneRepeatTimer = 1005;
    static constexpr int kMultiRepeatTimer = 1006;
    static constexpr int kBandRepeatTimer = 1007;
    static constexpr int kMemoryClearTimer = 1008;
    static constexpr int kMainSimplexHoldTimer = 1011;
    static constexpr int kSubSimplexHoldTimer = 1012;
    static constexpr int kDigitRepeatTimer = 1013;
    static constexpr int kQuickMemoryHoldTimer = 1014;
    static constexpr int kFirstRepeat = 300; // ms before a held button repeats

    ConsoleOperations(zephyra::ConsoleState& state, ConsoleControls& controls, CCorvan& link,
                      zephyra::SecondaryWindows& windows, zephyra::ConsoleLink& connection,
                      ConsoleDisplay& display, OperationsHost host);
    ~ConsoleOperations();
    ConsoleOperations(const ConsoleOperations&) = delete;
    ConsoleOperations& operator=(const ConsoleOperations&) = delete;

    zephyra::ConsoleState& state;
    ConsoleControls& controls;
    CCorvan& link;
    zephyra::SecondaryWindows& windows;
    zephyra::ConsoleLink& connection;
    ConsoleDisplay& display;
    OperationsHost host;
    platform::TimerTable& timers() { return *m_timers; }

    // Connects every front-panel control to its handler.
    void Install();
    // A pause inside an operation: pumps window messages so replies are handled.
    void Pause(int milliseconds);
    // True while an operation runs (the guard or a sequence of the connection).
    bool OperationRunning() const { return host.running && host.running(); }
    // A command of the console's menu (windows of their own open through it).
    void RunCommand(int commandId);

    // ---- hold and repeat timers (console_input.cpp)
    // A hold or repeat timer fired (also called by tests to tick a timer).
    void OnTimer(int id);
    // Every repeat and hold timer stopped, the monitors released (every
    // button-up, the console losing focus, the link closing).
    void StopRepeats();

    // ---- operator modes (operator_modes.cpp)
    // An operator mode ended (CancelPendingMode): its captions and pictures back.
    void LeaveOperatorMode(int mode);
    // The FUNC layer on or off: the second captions of its thirteen buttons.
    void SetFuncMode(bool on);
    // A press with FUNC on ends FUNC and takes its key's second function: true then.
    bool TakeFunc();

    // ---- frequency entry and tuning (frequency_entry.cpp, vfo_operations.cpp)
    // One click on a digit of display `band` (0 main, 1 sub): the VFO that
    // display shows steps from the frequency it shows.
    void StepFrequencyDigit(int band, int position, int direction);
    void SetEntryMode(int on);
    void EntryDigit(int digit);
    void EntryPoint();
    void EntryEnter();
    void AEqualsB();
    void ASlashB();
    void Split();
    void TuneUp();
    void TuneDown();
    void BandUp();
    void BandDown();
    void MultiStep(int direction); // +1 MULTI UP, -1 MULTI DOWN

    // ---- the control table (control_handlers.cpp)
    // A click on a front-panel control; false when the control has no row.
    bool OnControl(int id);
    // A double click: in entry mode the keypad's digit keys type again.
    void OnControlDoubleClick(int id);
    // The step list's selection changed by the operator.
    void OnStepSelected(int index);

    // ---- memory keys (memory_keys.cpp, memory_modes.cpp, vfo_capture.cpp)
    // "M. IN": the first press browses (memory scroll mode), the second writes.
    void MemoryIn();
    void KeypadClear();
    // Memory scroll mode on or off: channels are shown, not selected.
    void SetMemoryScroll(int on);
    // "M. IN" and "MR" of the quick memory.
    void QuickMemoryIn();
    void QuickMemoryRead();
    // "PM" (read-channel mode) and "PM IN" (write-channel mode).
    void ProgrammableMemory();
    void ProgrammableMemoryIn();
    // Memory > LockOut.
    void LockOutCommand();
    // Memory > Clear Memory: asks, then clears the channel that was on the
    // display when the question was asked (never one the radio moved to).
    void ClearMemoryAsked();
    // The control band's record filled from what its VFO holds.
    void CaptureVfoRecord();
    void VfoMemory();
    void CallChannel();
    // The automatic simplex check switched (menu A.S.C. and a held TF-SET).
    void AutoSimplexCheck();

    // ---- functions (control_functions.cpp)
    void Power();
    void Att();
    void Pre();
    void Send();
    void LsbUsb();
    void CwFsk();
    void FmAm();
    void TfSet();
    void Disp();
    void VoiceMemory(int channel); // CH1..CH3
    void Tone();
    void Shift();
    void Agc();
    void Meter();
    void MainSub();
    void ControlBand();
    void RitButtons(int step); // "<" -1, "<<" -10, ">" +1, ">>" +10
    void NoiseReduction(int button); // 1 or 2
    void BeatCancel();
    void BeatCancelMode(int mode); // 1 AUTO, 2 MANUAL
    void Satellite();
    // The read-toggle of one SA value (0-based index); `stepOnly` sends
    // the toggle only when the fifth value is 1 (REV).
    void ToggleSatellite(int index);
    void SatelliteReverse();
    void SatelliteVfo();

    // ---- monitors (monitors.cpp)
    void RxMonitor(bool on);
    void DspMonitor(bool on);
    bool RxMonitorOn() const { return m_rxMonitor; }
    bool DspMonitorOn() const { return m_dspMonitor; }

    // ---- sliders (sliders.cpp): the RIT/XIT slider and the scan speed
    void OnScroll(int barId, ScrollCode code);

    // ---- level bars (level_bars.cpp): when a level is sent
    static bool IsLevelBar(int id);
    // The bar's value changed (never by the radio: its reports move the
    // bars silently); sends now, or at the end of the gesture in hand.
    void LevelMoved(int id);
    // A key or a button went down on a level bar / every key or button up.
    void LevelGestureBegin(int id);
    void LevelGestureEnd();

    // ---- scan (scan_control.cpp)
    void ScanButton();
    void VisualScan();
    void ScanSpeed(int direction); // -1 RD 1, +1 RU 1 (the menu's UP and Down)
    void SlowScanFrequency();

    // ---- input (console_input.cpp)
    // The console's pre-filter: true when the event was consumed.
    bool PreFilter(QObject* receiver, QEvent* event);
    // The tuning dial's selection on (1) or off (0).
    void SetWheelSelection(int selection);
    // One wheel notch: +1 up, -1 down. False when the selection is off.
    bool Wheel(int direction);
    // The wheel turned by `delta` (120 a notch) over a level bar or slider.
    void WheelOnBar(int barId, int delta);

private:
    struct LevelGesture {
        bool held = false;  // a key or button is down on the bar
        bool moved = false; // the operator moved it during the gesture
        int base = 0;       // where the gesture found it (or the last level sent)
    };
    void InstallLevelBars();
    LevelGesture* GestureOf(int bar);
    void SendLevel(int bar);
    // Up to ten times: pump, test, pause 100 ms; true at the first match.
    bool WaitFor(const std::function<bool()>& done);
    // The control band's mode as last reported; asked for (and FUNC ended) when unknown.
    bool ReadMode(std::uint32_t& mode);
    // A mode key's choice sent and kept as the key's last.
    void SendModeKey(int& last, int next);
    // The lock set to `next` of the one last reported (its second value kept);
    // only the read request goes out when it is unknown.
    void SetLock(std::uint32_t (*next)(std::uint32_t lock));
    // console_input.cpp: a hold or repeat timer started.
    void StartHold(int timer, int milliseconds);
    // frequency_entry.cpp: a mode the keypad types in ended
    // (zephyra::OperatorMode); entry mode off.
    void LeaveKeypadMode(int mode);
    // memory_keys.cpp: CLR as its control runs it (KeypadClear unless an
    // operation runs).
    void PressClear();
    // The VFO a display shows and the frequency it shows (offsets aside).
    struct DigitTarget {
        int vfo = -1; // 0 VFO A, 1 VFO B, 2 the sub receiver; -1 none
        std::int64_t shown = 0;
        bool channelStep = false; // the sub band steps by at least its channel step
    };
    DigitTarget DigitTargetOf(int band) const;
    // A step of a held digit: on from the value sent last.
    void StepDigit(int band, int position, int direction);
    void RepeatDigit();
    void ClearMemoryChannel();
    void KeypadCaptions(bool entry);
    void PressDigitLabel(int band, int position, int direction, bool repeat);
    bool ControlAt(QObject* receiver, int& id) const;

    std::unique_ptr<platform::TimerTable> m_timers;
    int m_repeatDirection = 0; // TUNE, MULTI, BAND while held
    int m_ritStep = 0;         // "<" -1, "<<" -10, ">" +1, ">>" +10
    int m_digitBand = 0;
    int m_digitPosition = 0;
    int m_digitDirection = 0;
    std::int64_t m_digitSent = -1; // the frequency the held digit sent last; -1 none
    int m_digitSentVfo = -1;
    // The frequencies of the last digit steps (the value stepped from, then
    // each one sent) and when the last went out: a report of one of them is
    // an answer still on its way, not a new value of the radio's.
    std::vector<std::int64_t> m_digitChain;
    std::chrono::steady_clock::time_point m_digitSentAt{};
    int m_dialMoves = 0;
    LevelGesture m_levelGestures[6];
    int m_lineStepBar = 0; // the bar taking a line step right now
    static constexpr int kWheelNotch = 120;
    int m_wheelRest = 0; // a part notch of a fine-stepping wheel, kept for the next turn
    bool m_rxMonitor = false;
    bool m_dspMonitor = false;
    bool m_toneHold = false;
    bool m_tfSetHeld = false;       // the automatic simplex check came from a long press
    bool m_quickMemoryHeld = false; // "M. IN" held on a program-scan channel
    // The channel the operator agreed to clear (band, position); band -1: none asked.
    int m_clearBand = -1;
    zephyra::MemoryPosition m_clearAsked{};
    zephyra::MemoryRecord m_clearShown{}; // the channel as the question showed it
    int m_lastSideband = 1;         // LSB 1 or USB 2
    int m_lastCwFsk = 3;            // CW 3, CW-R 7, FSK 6, FSK-R 9
    int m_lastCw = 3;
    int m_lastFsk = 6;
    int m_lastFmAm = 4;
    // What the monitors put back on release.
    std::uint32_t m_keptSquelch = 0, m_keptCt = 0, m_keptDq = 0;
    bool m_keptSquelchRead = false, m_keptCtRead = false, m_keptDqRead = false;
    std::uint32_t m_keptSh = 0, m_keptSl = 0, m_keptFw = 0;
    bool m_keptShRead = false, m_keptSlRead = false, m_keptFwRead = false;
    int m_monitorBand = 0;
    int m_monitorMode = 0;
};

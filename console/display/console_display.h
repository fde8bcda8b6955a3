// SPDX-License-Identifier: GPL-3.0-or-later
// console_display.h - the console's display operations: how the console
// follows the radio.
//
// One display operation per reply code, called by the reply table
// (reply_table.cpp) with the values the link's accessor returned, and the
// operations the other topics share (drawing a frequency, the mode label,
// the RIT/XIT offset, the memory lamp). The operations live in files by
// topic:
//   frequency_display.cpp  the two frequency displays, FA/FB/FC, SelectRxVfo,
//                          the RIT/XIT offset on the sub display
//   transmit_display.cpp   IF, OI, TX, RX, FT, RT, XT
//   display_state.cpp      the indicator labels, lamps, sliders, status lines,
//                          the mode label, SB, AC, AR, TS, CM, DC, BY
//   operating_modes.cpp    PS, UL, TC, EX, SA and the ZUL line
//   meters_display.cpp     SM and RM on the meters
//   memory_display.cpp     MR, MC and QR: the channel records and numbers
//   reply_table.cpp        one row per notification: accessor, display, exports
//   window_messages.cpp    the secondary windows' messages to the console
//
// Threading: UI thread only. Nothing here blocks except the bounded waits
// an operation names (each pumps window messages while it waits).
#pragma once

#include <console_state.h>
#include <secondary_windows.h>

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CCorvan;
class ConsoleControls;
class QAction;
class QWidget;
namespace platform {
class TimerTable;
}
namespace zephyra {
class ConsoleLink;
}

// The fields of an IF or OI reply, converted.
struct IfReport {
    std::int64_t frequency = 0;
    int step = 0;
    int offset = 0;   // RIT/XIT offset, hertz
    int rit = 0;
    int xit = 0;
    int bank = 0;
    int channel = 0;
    int transmitting = 0;
    int mode = 0;
    int function = 0; // the VFO: 0 A, 1 B, 2 memory, 3 call
    int scan = 0;
    int split = 0;
    int tone = 0;     // 0 off, 1 tone, 2 CTCSS, 3 DCS
    int toneNumber = 0;
    int shift = 0;
};

// The values of an SA reply.
struct SatelliteReport {
    int on = 0;
    int channel = 0;
    int swap = 0;
    int control = 0;
    int trace = 0;
    int reverse = 0;
    int memory = 0;
    QString name;
};

// The fields of an MR reply: one half (0 receive, 1 transmit) of a channel.
struct MemoryReport {
    int half = 0;
    int bank = 0;
    int channel = 0;
    std::int64_t frequency = 0;
    std::string frequencyText; // eleven digits as the radio sent them
    int mode = 0;
    int lockout = 0;
    int toneType = 0;
    int toneNumber = 0;
    int ctcssNumber = 0;
    int dcsCode = 0;
    int reverse = 0;
    int shift = 0;
    int offset = 0;
    int step = 0;
    int group = 0;
    std::string name;
};

// What the display needs of the console window beyond its controls.
struct DisplayHost {
    QWidget* window = nullptr;                      // parent of message boxes
    std::function<QAction*(int commandId)> menuAction; // a menu command by id
    std::function<int()> pump;                      // PumpMessages
};

class ConsoleDisplay {
public:
    // Timers of the display (the platform timer table).
    static constexpr int kTunerBlinkTimer = 1001;
    static constexpr int kSubReverseBlinkTimer = 1009;
    static constexpr int kMainReverseBlinkTimer = 1010;
    static constexpr std::uint32_t kDisplayColour = 0x80C0FF; // RGB(255,192,128)
    static constexpr std::uint32_t kLitColour = 65280;        // green

    ConsoleDisplay(zephyra::ConsoleState& state, ConsoleControls& controls, CCorvan& link,
                   zephyra::SecondaryWindows& windows, zephyra::ConsoleLink& connection,
                   DisplayHost host);
    ~ConsoleDisplay();
    ConsoleDisplay(const ConsoleDisplay&) = delete;
    ConsoleDisplay& operator=(const ConsoleDisplay&) = delete;

    // The shared parts, public so each topic file reaches them alike.
    zephyra::ConsoleState& state;
    ConsoleControls& controls;
    CCorvan& link;
    zephyra::SecondaryWindows& windows;
    zephyra::ConsoleLink& connection;
    DisplayHost host;
    platform::TimerTable& timers() { return *m_timers; }

    // A display timer fired.
    void OnTimer(int id);
    // Every indicator label, mark and status line empty (the link closed,
    // or before the initial read).
    void ClearAll();

    // ---- frequency display (frequency_display.cpp)
    void ShowMainFrequency(std::int64_t frequency);
    void ShowSubFrequency(std::int64_t frequency);
    // The transverter offset a display (0 main, 1 sub) adds to the radio's
    // frequency of a band that is not off (0 with the transverter off).
    std::int64_t TransverterOffsetOf(int band);
    void SelectRxVfo(int vfo);
    void OnFA(std::int64_t frequency);
    void OnFB(std::int64_t frequency);
    void OnFC(std::int64_t frequency);
    void OnFR(int vfo);
    // "EXT" by the antenna flag and the main frequency.
    void UpdateExtLabel();
    // Both displays drawn again from the stored frequencies.
    void RedrawFrequencies();
    // The VFO marks of the main band drawn from its receive and transmit VFO.
    void ShowVfoMarks();
    // The RIT/XIT offset on the sub display in place of its frequency.
    void ShowRitXitOffset(int offset);

    // ---- transmit, split and RIT/XIT (transmit_display.cpp)
    void OnIF(const IfReport& report);
    void OnOI(const IfReport& report);
    void OnTX(int band);
    // The two parts of a band's signal bar forget what they showed (a
    // transmission starts or ends).
    void ResetBandMeters(int band);
    void OnRX(int band);
    // The radio switched off while transmitting: every band's receive
    // display back, without asking the radio for anything.
    void EndTransmitDisplay();
    void OnFT(int vfo);
    void OnRT(int on);
    void OnXT(int on);
    // The sub display back from the RIT/XIT offset to what it shows otherwise.
    void RestoreSubDisplay();

    // ---- indicators (display_state.cpp)
    static QString ModeName(int mode);
    void OnAC(int rxTuner, int txTuner, int state);
    void OnAG(int band, int level);
    void OnAI(int value);
    void OnAM(int value);
    void OnAN(int value);
    void OnAR(int band, int checkOn, int checkRunning);
    void OnBC(int value);
    void OnBP(int value);
    void OnBY(int mainBusy, int subBusy);
    void OnCA(int value);
    void OnCM(int value);
    void OnCT(int value);
    void OnDC(int transmitBand, int controlBand);
    void OnDQ(int value);
    void OnFS(int value);
    void OnFW(int value);
    void OnGT(int value);
    void OnLK(int first, int second);
    void OnLM(int value);
    void OnLT(int value);
    void OnMD(int mode);
    void OnNB(int value);
    void OnNR(int value);
    void OnNT(int value);
    void OnOF(int value);
    void OnOS(int value);
    void OnPA(int mainValue, int subValue);
    void OnPB(int value);
    void OnPM(int value);
    void OnPR(int value);
    void OnRA(int mainValue, int subValue);
    void OnRG(int value);
    void OnSB(int value);
    void OnSQ(int band, int level);
    void OnSS(int value);
    void OnTI(int first, int second, int third);
    void OnTO(int value);
    void OnTS(int value);
    void OnVX(int value);
    // The mode label of a band drawn again from its stored mode.
    void ShowModeLabel(int band);
    // The main band's status line: memory name, CW TUNE, REC, PLAY.
    void ShowMainStatus();
    // The sub band's status line: "Select DTMF CH" in DTMF digit mode, "TNC Mode" in TNC mode.
    void ShowSubStatus();
    void UpdateMemoryLamp();

    // ---- operating modes (operating_modes.cpp)
    void OnPS(int value);
    void OnUL(int value);
    void OnTC(int value);
    void OnEX(int menu, int sub, int third, int fourth, const char* text);
    void OnSA(const SatelliteReport& report);
    // The ZUL line by its priority: PLL unlocked, ZUL state, remote control,
    // repeater mode, nothing.
    void ShowZulLine();

    // ---- memory channels (memory_display.cpp)
    // A frequency as a channel record holds it: eleven digits ("%011lld").
    static std::string RecordFrequencyText(std::int64_t hz);
    void OnMR(const MemoryReport& report);
    void OnMC(int bank, int channel);
    void OnQR(int on, int channel);
    // The channel number of a band in its three fields ("%d%02d"), "M.CH"
    // and "L .OUT" by the band's record.
    void ShowChannelNumber(int band, int bank, int channel);

    // ---- the channel-step list (step_list.cpp)
    // 1 SSB, CW and FSK; 2 FM and AM; 3 AM on the broadcast band with its 9 kHz step.
    int ModeClass();
    // The step in hertz of the list's selection (0 when nothing is selected).
    int ChannelStep();
    // Refills the list for the mode class and selects entry `index`.
    void FillStepList(int index);

    // ---- scan (scan_display.cpp)
    // The scan text of a state, with the speed when one is known ("%s P%d").
    static QString ScanText(int scan, int speed = -1);
    void OnSC(int value);
    void OnScanSpeed(int speed); // RD and RU
    // "Slow Scan Freq." follows the control band's receive VFO and channel.
    void UpdateSlowScanCommand();

    // ---- meters (meters_display.cpp)
    void OnSM(int meter, int value);
    void OnRM(int selector, int value);
    // Scale, name and colours of a meter (0 main, 1 second, 2 sub) for receive 0 or
    // transmit 1 (meters 0 and 2) or the second meter's kind (meter 1); the transmit
    // band's stored frequency when `frequency` is negative.
    void ShowMeterScale(int meter, int value, std::int64_t frequency = -1);

private:
    // A CA, LM or PB value (0 to `highest`) kept in `kept`; on, it takes the
    // main status line as `status`.
    void OnMainStatusReply(int value, int highest, int& kept, int status);

    bool m_blinkLit = true;   // the tuner words' blink phase
    bool m_blinkFirst = true; // the tuner blink's first tick (500 ms, then 700)
    int m_mainStatus = 0;     // the reply the main status line shows: 0 none, 1 CA, 2 LM, 3 PB
    bool m_tuneFailureOpen = false; // the "AT TUNE was failed." box is open
    std::int64_t m_browsedFrequency = 0; // memory scroll mode: the shown channel's receive frequency
    std::unique_ptr<platform::TimerTable> m_timers;
};

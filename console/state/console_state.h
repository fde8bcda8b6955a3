// SPDX-License-Identifier: GPL-3.0-or-later
// console_state.h - the one state of the console.
//
// Every sequence and every operation of the console reads and writes this
// struct: the connection (Control > ON/OFF, the watchdog, the initial read),
// the reply handlers, the display operations and the control handlers. The
// console window owns the only instance; the others hold a reference.
//
// Every field starts at its power-off value (ResetConsoleState puts them
// back, keeping what outlives a reset: the open connection, a running
// operation, terminal mode).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zephyra {

// A band's memory-channel position (bank 9 means not read).
struct MemoryPosition {
    int bank = 9;
    int channel = 0;
};

// The control band's memory record as the display needs it: the receive
// and transmit frequencies as eleven-digit texts, the modes, the group and
// the channel name.
struct MemoryRecord {
    std::string rxFrequency;
    std::string txFrequency;
    int rxMode = 0;
    int txMode = 0;
    int rxStep = 0;
    int txStep = 0;
    int offset = 0;
    int shift = 0;
    int reverse = 0;
    int toneNumber = 0;
    int ctcssNumber = 0;
    int dcsCode = 0;
    int toneType = 0;
    int group = 0;
    int lockout = 0;
    int type = 0;         // 1 ordinary channel, 2 program-scan channel (with a transmit half)
    int transmitHalf = 0; // the channel has a transmit half
    std::string name;
};

struct ConsoleState {
    // ---- connection
    int connected = 0;
    int noReplyCount = 0;
    int consoleReady = 0;
    int initialReadDone = 0;
    int radioIdentification = 0;
    int tncMode = 0;
    int baudRate = 9600;
    int dialWait = 5; // "Setting"/"DialWait"
    // operation guard: busy flag and the lock state saved at its begin
    // (first value 10 = not read)
    int busy = 0;
    std::array<int, 2> savedLock{10, 0};

    // ---- extended menu and type
    int repeaterValue = 0;   // menu 61, sub-item 1
    int remoteValue = 0;     // menu 61, sub-item 5
    int zulState = 0;        // menu 62, sub-item 5
    int extendedOptions = 0; // TY eighth field 0
    int typeSixthFlag = 0;   // TY sixth field 0
    int menuBank = -1;       // MF value; -1 until reported
    int menu4 = 0;
    int amBroadcastStep = 0;      // menu 5
    int memoryTransmitOption = 0; // menu 6, sub-item 1
    int menu6Second = 0;          // menu 6, sub-item 2
    int antennaFlag = 0;          // menu 18
    int meterSquelch = 0;         // menu 19, sub-item 1
    int rxEqualizer = 0;          // menu 20
    int txEqualizer = 0;          // menu 21
    int transverter = 0;          // menu 25
    int menu42 = 0;
    int menu44 = 0;
    int tncBand = 0;              // menu 46
    int filterNumber = -1;        // menu 50, sub-item 1; -1 until reported
    int zulApplied = 0;           // menu 62/5 value the display last applied

    // ---- bands and VFOs (0 main, 1 sub)
    int controlBand = 0;
    int transmitBand = 0;
    std::int64_t mainFrequency = 0;
    std::int64_t subFrequency = 0;
    int mainVfo = 0; // 0 A, 1 B, 2 memory, 3 call
    int subVfo = 0;  // 0 sub VFO, 2 memory, 3 call
    int mainTransmitVfo = 0;
    std::array<int, 2> lastVfo{0, 0};
    int nonCallVfo = 0;
    std::array<int, 2> mode{0, 0};        // MD per band; 0 not yet known
    std::array<int, 2> filterWidth{-1, -1}; // FW per band; -1 not stored
    std::array<int, 2> agc{0, 0};
    int split = 0;
    int subReceiver = 0;
    int tfSetActive = 0;
    int pct = 0;          // "P.C.T." (CM 1)
    int cmValue = -1;     // last CM value; -1 until reported
    int pllUnlocked = 0;  // UL 1

    // ---- repeater shift, reverse and tones per band
    std::array<int, 2> shift{0, 0}; // 0 none, 1 plus, 2 minus, 3 fixed minus
    std::array<std::int64_t, 2> offsetFrequency{0, 0};
    std::array<int, 2> reverse{0, 0};
    std::array<int, 2> tone{0, 0};
    std::array<int, 2> ctcss{0, 0};
    std::array<int, 2> dcs{0, 0};
    int toneScan = 0; // a tone scan runs

    // ---- RIT / XIT
    int ritXitOffset = 0; // hertz, signed
    int ritOn = 0;        // RT 1
    int xitOn = 0;        // XT 1
    int subShowsOffset = 0;
    int ritXitWorking = 0; // the RIT/XIT slider's working value

    // ---- transmit and receive
    std::array<int, 2> transmitting{0, 0};
    std::array<int, 2> busySignal{0, 0}; // BY per band
    int meterTransmitStarted = 0;
    int secondMeterKind = 0;  // RM kind shown on the second meter
    int secondMeterLevel = 0; // RM level shown on the second meter
    int processorOn = 0; // PR
    int voxOn = 0;       // VX

    // ---- memory (the records of both bands)
    std::array<MemoryPosition, 2> memory{};
    std::array<MemoryRecord, 2> record{};
    int erasedChannel = 0;
    int memoryScroll = 0;
    int splitAtEntry = 0; // split on when memory scroll mode began
    MemoryPosition scrollFrom{}; // the control band's channel when memory scroll mode began
    MemoryPosition scrollShown{-1, 0}; // the channel whose record is on the display while browsing
    MemoryRecord scrollChannel{};      // that channel as its MR replies showed it, both halves
    int scrollTransmitShown = 0;       // its transmit half has been answered too
    int quickMemory = 0;
    int quickChannel = 10; // 0..9; 10 none

    // ---- satellite
    int satelliteMode = 0;
    int satelliteChannel = -1;
    int satelliteVfoFlag = 0;
    int satelliteMemoryFlag = 0;
    std::string satelliteName;
    int satelliteSetup = 0; // the satellite set-up sequence runs

    // ---- operator modes
    int entryMode = 0;
    int entryBand = 0;
    int entryVfo = 0;
    int entryCount = 0;
    int mouseWheelSelection = 0; // tuning-dial selection: 0 off, 1..8 on
    int voiceRecallDigits = 0;
    int readChannel = 0;
    int writeChannel = 0;
    int dtmfDigits = 0;
    std::array<int, 2> scanRunning{0, 0}; // main, sub
    std::array<int, 2> scanValue{0, 0};   // SC per band
    int recording = 0; // LM value
    int playback = 0;  // PB value
    int cwTune = 0;    // CA 1
    int funcMode = 0;

    // ---- hosted windows
    int panelOpen = 0;      // memory editor or satellite-name panel open
    int visualScanOpen = 0; // the visual scan window was opened
};

// A program-scan channel (it has a transmit half and a slow-scan
// frequency): bank 2, channels 90 to 99; the older radio (identification
// 18) has one bank, and its channels 90 to 99.
inline bool IsProgramScanChannel(int identification, const MemoryPosition& at) {
    if (at.channel < 90 || at.channel > 99)
        return false;
    return at.bank == (identification == 18 ? 0 : 2);
}

// The control band's receive VFO is on a program-scan channel.
inline bool OnProgramScanChannel(const ConsoleState& s) {
    const bool sub = s.controlBand == 1;
    return (sub ? s.subVfo : s.mainVfo) == 2 && IsProgramScanChannel(s.radioIdentification, s.memory[sub ? 1 : 0]);
}

// A value the radio last reported, taken from the link's store: `read` is
// tried up to ten times, and true comes back at the first that succeeds.
template <typename Read>
bool ReadStored(Read read) {
    for (int attempt = 0; attempt < 10; ++attempt)
        if (read())
            return true;
    return false;
}

} // namespace zephyra

// SPDX-License-Identifier: GPL-3.0-or-later
// qxsim.h - a virtual QX-9000 transceiver on a pseudo-terminal.
//
// The radio serves the radio's side of a pseudo-terminal pair; the other
// side (devicePath()) is what a program opens as its serial port. It frames
// commands by ";" across reads, answers every read query of the protocol in
// the radio's reply layouts, applies set commands within their accepted
// ranges (anything else gets "?;"), keeps the radio's whole state and, with
// auto-information on (AI 2), reports every change on its own.
//
// Tests use it in-process: start a Radio, connect the link to devicePath(),
// then examine the commands received, play front-panel actions (they reach
// the program only through auto-information) and inject line faults.
//
// How it behaves on the line:
//  - Empty commands (a lone ";") are ignored; control bytes before a command
//    code are skipped; a command it cannot take is answered "?;".
//  - AI 2: every change is reported unasked with the reply of its code (and
//    IF where IF carries the changed field): front-panel actions, scans, and
//    (Options::echoSets) changes made by set commands. AI 0: it speaks only
//    when asked.
//  - Switched off (PS 0, or setPower(false)): it answers "PS;" (with "PS0;")
//    and "ID;", and takes only PS 1..3; everything else is ignored, silently.
//  - Terminal mode (TC 0, or menu 55 set to 1): every received byte is
//    echoed raw until "TC 1;" arrives.
//  - SR 1 resets the VFOs; SR 2 resets everything (memories, menus, AI) and
//    puts the radio back to 9600 baud.
//  - It listens only while the program's port is set to the radio's rate
//    (Options::checkLineRate).
//
// Threading: a Radio runs one thread of its own (started by start(), joined
// by stop() and by the destructor) that serves the pseudo-terminal. Every
// public member may be called from any thread at any time; state access
// copies under one lock, so snapshots are consistent.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace qxsim {

// Faults of the line, applied to what the radio sends (and, for drops, to
// what it receives). Probabilities are 0..1 per byte; all draws come from
// the seeded generator, so a run repeats.
struct Faults {
    double noise = 0.0;        // chance of a random byte inserted before each sent byte
    double drop = 0.0;         // chance that a sent byte is lost
    double duplicate = 0.0;    // chance that a sent byte goes out twice
    double dropReceived = 0.0; // chance that a received byte is lost
    int splitAt = -1;          // >= 0: each reply is written in two pieces split here
    std::chrono::milliseconds splitPause{0};  // pause between the two pieces
    std::chrono::milliseconds delay{0};       // delay before every reply
    bool silent = false;       // receive and record, answer nothing
};

// Named fault profiles for zephyra-sim --faults: "none", "noise", "lossy",
// "split", "slow", "silent", "rough" (a bit of everything). False when the
// name is unknown.
bool faultProfile(const std::string& name, Faults& out);

struct Options {
    // Identity answered to ID: 19 (default), 18, 17, 15, any other number,
    // or -1 for a radio that never answers ID. The command family (which
    // layouts and ranges apply) follows it: 17/18 -> the 1 family,
    // 15 -> the 2 family, everything else -> the 3 family.
    int identity = 19;
    bool pace = false;          // pace sent bytes at the line rate (10 bits a byte)
    unsigned baud = 9600;       // the radio's line rate at start (State::baud)
    std::uint64_t seed = 1;     // band model and fault draws
    std::string tracePath;      // append every byte in and out, with time
    std::string typeCode = "000";  // the TY reply's three characters
    bool echoSets = true;       // with AI 2, also report changes made by set commands
    // The radio reads the line only when the program's port runs at the
    // radio's rate (State::baud); otherwise it hears garbage and stays quiet.
    bool checkLineRate = true;
    std::chrono::milliseconds scanStep{100};  // one scan step of the radio
    Faults faults;
};

// One command the radio received, without its ";", as it stood on the line
// (control characters before the command code are stripped).
struct Received {
    std::chrono::steady_clock::time_point at;
    std::string text;
};

// One memory half (0 receive, 1 transmit) with every field of MW/MR.
struct MemoryHalf {
    std::int64_t frequency = 0;
    int mode = 0;
    int lockout = 0;
    int toneType = 0;    // 0 off, 1 tone, 2 CTCSS, 3 DCS
    int toneNumber = 0;
    int ctcss = 0;
    int dcs = 0;
    int reverse = 0;
    int shift = 0;
    long offset = 0;
    int step = 0;
    int group = 0;
    std::string name;    // up to 8 characters
};

struct MemoryChannel {
    std::array<MemoryHalf, 2> half;
    bool hasTransmitHalf = false;
};

inline constexpr int kMemoryChannels = 300;      // bank 0..2, channel 0..99
inline constexpr int kCallChannel = 300;         // addressed as bank 3, channel 0

// The radio's state. Levels and switches that are a plain set of numbers live
// in `values`, keyed by command code ("PC", "NB", "PA", "MU", ...) or code
// plus receiver ("AG0", "AG1", "SQ0", "SQ1", "AR0", "AR1"), each holding the
// numbers in the order of the reply.
struct State {
    int power = 1;            // PS: 0 off, 1 on, 2/3 on in the ZUL states
    unsigned baud = 9600;     // the radio's line rate (Options::baud at start, 9600 after SR 2)
    int ai = 0;               // auto-information
    std::int64_t vfoA = 14'195'000;
    std::int64_t vfoB = 7'050'000;
    std::int64_t subFrequency = 145'000'000;  // FC, the sub receiver
    int modeA = 2, modeB = 1, modeSub = 4;     // mode codes (1 LSB ... 9 FSK-R)
    int rxVfo = 0;            // FR: 0 A, 1 B, 2 memory, 3 call
    int txVfo = 0;            // FT
    int subVfo = 0;           // the sub receiver's FR while it is the control band
    int controlBand = 0;      // DC second value: 0 main, 1 sub
    int transmitBand = 0;     // DC first value
    int rit = 0, xit = 0;
    int ritOffset = 0;        // -99999..99999 Hz
    int bank = 0, channel = 0;        // main band's memory channel (MC)
    int subBank = 0, subChannel = 0;  // sub band's memory channel
    std::array<MemoryChannel, kMemoryChannels + 1> memory{};  // [300] = call channel
    int quickOn = 0, quickChannel = 0;
    std::array<MemoryHalf, 10> quick{};
    std::array<std::string, 10> satelliteNames{};   // SI
    std::array<int, 7> satellite{};                  // SA values
    std::string satelliteName;                       // SA name
    int scan = 0;             // SC: 0 off, 1 scan, 2 MHz, 3 visual, 4 tone, 5 CTCSS, 6 DCS
    int scanSpeed = 5;        // RD/RU while scanning, 1..9
    int transmitting = 0;     // TX/RX
    int terminal = 1;         // TC second value: 1 command mode, 0 terminal (raw echo)
    int meter = 1;            // RM selector
    std::map<std::string, std::string> menu;   // "MMMSSab" -> value text
    std::string receiveTaps, transmitTaps;     // UR / UT, 128 characters each
    std::string keyerText;                     // last KY text
    std::map<std::string, std::vector<long long>> values;
};

// Front-panel keys (each changes state and, with AI 2, is reported).
enum class Key {
    VfoAB,       // main receive (and transmit) VFO A <-> B
    Split,       // transmit on the other VFO / back
    Rit,
    Xit,
    MemoryVfo,   // VFO <-> memory
    Call,        // call channel <-> VFO
    ModeUp,      // next mode on the control band
    Lock,        // frequency lock on/off
    Sub,         // sub receiver on/off
    Att,
    Pre,
    Nb,
    Proc,
    Vox,
    ControlBand, // control band main <-> sub
};

// Which frequency setFrequency changes.
enum class Vfo { A = 0, B = 1, Sub = 2 };

class Radio {
public:
    explicit Radio(Options options = {});
    ~Radio();
    Radio(const Radio&) = delete;
    Radio& operator=(const Radio&) = delete;

    // Opens the pseudo-terminal and starts serving it. False (with lastError())
    // when no pseudo-terminal could be had. start() after stop() opens a new pair.
    bool start();
    void stop();
    bool running() const;
    std::string devicePath() const;  // the program's side, e.g. /dev/pts/7
    std::string lastError() const;
    Options options() const;

    // ---- what the radio received
    std::vector<Received> received() const;
    void clearReceived();
    std::size_t countOf(const std::string& prefix) const;
    // True as soon as a command starting with `prefix` has been received
    // (since the last clearReceived), false when the timeout passes first.
    bool waitFor(const std::string& prefix, std::chrono::milliseconds timeout) const;
    // `done` gets a copy of the commands received (it may call the Radio).
    bool waitFor(const std::function<bool(const std::vector<Received>&)>& done,
                 std::chrono::milliseconds timeout) const;
    // True as soon as `count` bytes in all have arrived from the program
    // (heard or not: a wrong line rate or lost bytes still count).
    bool waitForBytesIn(std::uint64_t count, std::chrono::milliseconds timeout) const;
    // Every reply and report the radio sent, without ";", in order.
    std::vector<std::string> sent() const;
    void clearSent();
    bool waitForSent(const std::string& prefix, std::chrono::milliseconds timeout) const;

    // ---- state (a consistent copy; modify() changes it silently, no report)
    State state() const;
    void modify(const std::function<void(State&)>& change);
    // One number of `values` (0 when absent).
    long long value(const std::string& key, std::size_t field = 0) const;
    std::string menuValue(int menu, int sub, int a = 0, int b = 0) const;

    // ---- front panel (reported with AI 2, as the radio reports its panel)
    void setFrequency(Vfo vfo, std::int64_t hz);
    void turnDial(int steps);          // the control band's receive VFO, by the step size
    void setDialStep(int hz);          // default 10 Hz
    void pressKey(Key key);
    void setMode(int mode);            // the control band
    void setValue(const std::string& key, std::vector<long long> numbers);
    void setMenu(int menu, int sub, int a, int b, const std::string& text);
    void setPower(bool on);
    void transmit(bool on);
    void startScan(int kind);          // SC value 1..6
    void stopScan();
    void setIdentity(int identity);    // takes effect at the next ID query
    // A DX spot from the packet cluster: reported as PK (frequency in Hz,
    // call, comment, time such as "1200z") with AI 2, on the 3 family only.
    void reportSpot(std::int64_t hz, const std::string& call, const std::string& comment,
                    const std::string& time);

    // ---- faults
    void setFaults(const Faults& faults);
    Faults faults() const;
    // Sends raw bytes to the program at once, outside any reply.
    void inject(const std::string& bytes);
    // Closes the radio's side: the program sees its device vanish. The radio
    // stays stopped until start() again.
    void hangUp();

    // ---- meters
    // The S-meter reading (0..30 for the 3 family) the band model gives a
    // receiver tuned to `hz`: noise floor plus the fixed stations near it.
    int sMeterAt(std::int64_t hz) const;
    // Frequencies of the band model's stations (for tests and pictures).
    std::vector<std::int64_t> stations() const;

    // Counters
    std::uint64_t bytesIn() const;
    std::uint64_t bytesOut() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace qxsim

// SPDX-License-Identifier: GPL-3.0-or-later
// The radio itself, without any line: takes one command at a time, changes
// the state and says what goes back on the line. Not thread-safe; the Radio
// guards it with its lock.
#pragma once

#include "band_model.h"

#include <qxsim.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace qxsim::detail {

using Clock = std::chrono::steady_clock;

// The command family: which layouts and ranges the radio speaks.
int familyOf(int identity);

// Whether the radio of version `typeCode` (its TY reply) receives `hz` on
// any of its receivers.
bool receivable(const std::string& typeCode, long long hz);

class Engine {
public:
    explicit Engine(const Options& options);

    // One command from the line, without ";" and with leading control bytes
    // stripped. Replies and auto-information reports (without ";") are
    // appended to `out`.
    void handle(const std::string& command, Clock::time_point now, std::vector<std::string>& out);

    // Time-driven work: scans, the keyer. Appends reports to `out`.
    void tick(Clock::time_point now, std::vector<std::string>& out);
    Clock::time_point nextTick() const { return nextTick_; }

    // With auto-information on, reports the busy state (BY) when the signal
    // at the receive frequencies opened or closed the squelch.
    void reportBusyChange(std::vector<std::string>& out);

    // Reports `code`'s reply when auto-information is on.
    void report(const std::string& code, std::vector<std::string>& out) const;
    // The read reply of `code` ("FA", "AG0", "SM1", "MR0" for the current
    // channel's receive half, ...); empty when the family has no such reply.
    std::string reply(const std::string& code) const;

    State& state() { return s_; }
    const State& state() const { return s_; }
    const BandModel& band() const { return band_; }
    int family() const { return family_; }
    int identity() const { return identity_; }
    void setIdentity(int identity);
    bool terminalMode() const { return s_.terminal == 0; }
    unsigned lineRate() const { return lineRate_; }

    // Front-panel actions; each appends its reports to `out`.
    void panelFrequency(Vfo vfo, std::int64_t hz, std::vector<std::string>& out);
    void panelDial(int steps, std::vector<std::string>& out);
    void panelKey(Key key, std::vector<std::string>& out);
    void panelMode(int mode, std::vector<std::string>& out);
    void panelValue(const std::string& key, std::vector<long long> numbers,
                    std::vector<std::string>& out);
    void panelMenu(int menu, int sub, int a, int b, const std::string& text,
                   std::vector<std::string>& out);
    void panelPower(bool on, std::vector<std::string>& out);
    void panelTransmit(bool on, std::vector<std::string>& out);
    void panelScan(int kind, Clock::time_point now, std::vector<std::string>& out);
    int dialStep = 10;

    // The frequency the control band receives on, and the transmit frequency.
    std::int64_t controlFrequency() const;
    // TF-SET in split on the main band (outside FM, where TS is reverse):
    // the radio listens on the transmit VFO and the dial tunes it.
    bool listensOnTransmit() const;
    std::int64_t transmitFrequency() const;
    std::int64_t mainReceiveFrequency() const; // the main band's receive VFO or channel
    int sMeter(int meter) const;

private:
    struct Command {
        std::string code;   // the two letters
        std::string args;   // what follows them
        bool read;          // nothing follows: the read form
        Clock::time_point now;
    };
    void handleRadio(const Command& cmd, std::vector<std::string>& out);
    void handleReceiver(const Command& cmd, std::vector<std::string>& out);
    void handleMemory(const Command& cmd, std::vector<std::string>& out);
    void handleExtra(const Command& cmd, std::vector<std::string>& out);
    void refuse(std::vector<std::string>& out) const;
    void answer(std::vector<std::string>& out, const std::string& key) const;
    // The read form of a code kept in two records, 0 and 1, chosen by its
    // one-digit argument.
    void answerIndexed(std::vector<std::string>& out, const std::string& code, const std::string& args) const;
    void changed(std::vector<std::string>& out, const std::string& key) const;
    void reset(bool full);
    void loadDefaults();
    std::int64_t& vfoRef(int vfo);
    int& modeRef(int vfo);
    MemoryHalf* currentMemory();
    const MemoryHalf* currentMemory() const;
    int memoryIndex(int bank, int channel) const;
    void moveControlFrequency(std::int64_t delta, std::vector<std::string>& out);
    void setControlFrequency(std::int64_t hz, std::vector<std::string>& out);
    void stepChannel(int delta, std::vector<std::string>& out);
    void scanStep(std::vector<std::string>& out);
    void reportFrequencyChange(std::vector<std::string>& out) const;
    std::string formatIf(bool other) const;
    std::string formatMr(int half, int bank, int channel) const;
    long long value(const std::string& key, std::size_t field = 0) const;

    Options options_;
    State s_;
    BandModel band_;
    int identity_;
    int family_;
    unsigned lineRate_;
    Clock::time_point nextTick_ = Clock::time_point::max();
    Clock::time_point keyerDone_{};
    int scanPause_ = 0;
    bool haveLastKeyer_ = false;
    std::string lastMenu1_ = "EX00000";
    std::string lastBusy_;  // the BY reply last reported  // the 1 family's EX reply: the last item set
};

}  // namespace qxsim::detail

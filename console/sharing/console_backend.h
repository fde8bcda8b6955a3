// SPDX-License-Identifier: GPL-3.0-or-later
// console_backend.h - what a sharing client gets and sets, over the console's
// link and state (the backend's class; its parts are in backend_*.cpp).
//
// ConsoleBackend answers what a client reads from the reply store (kept
// current by auto-information) and the console state, with a read query only
// where nothing is stored, and carries out what a client sets with the
// console's link, waiting (briefly, on the console's thread, without pumping
// window messages) until the radio has reported the new value. It is busy
// while the console runs an operation of its own, so a request never runs
// inside the operation guard.
//
// Threading: the console's thread only.
#pragma once

#include <console_state.h>
#include <zephyra_share.h>

#include <array>
#include <functional>
#include <optional>

class CCorvan;

namespace zephyra {

class ConsoleBackend : public zshare::RadioBackend {
public:
    using LinkSource = std::function<CCorvan*()>;
    using BusyCheck = std::function<bool()>;

    // `link` gives the console's link (null once it has gone); `busy` tells
    // when the console runs an operation.
    ConsoleBackend(ConsoleState& state, LinkSource link, BusyCheck busy);

    // This radio's bands, modes, steps and filters.
    static zshare::RadioDescription QxDescription();

    // How long a set waits for the radio's own report before it asks, and
    // how long it waits for the answer to that read.
    void SetWaits(int reportMs, int answerMs) {
        m_reportMs = reportMs;
        m_answerMs = answerMs;
    }

    bool Busy() const override;
    bool Ready() const override;
    const zshare::RadioDescription& Describe() const override { return m_description; }

    zshare::Result GetFrequency(zshare::Vfo vfo, std::int64_t& hz) override;
    zshare::Result SetFrequency(zshare::Vfo vfo, std::int64_t hz) override;
    zshare::Result GetMode(zshare::Vfo vfo, zshare::Mode& mode, int& passband) override;
    zshare::Result SetMode(zshare::Vfo vfo, zshare::Mode mode, int passband) override;
    zshare::Result GetVfo(zshare::Vfo& vfo) override;
    zshare::Result SetVfo(zshare::Vfo vfo) override;
    zshare::Result GetPtt(bool& on) override;
    zshare::Result SetPtt(bool on) override;
    zshare::Result GetSplit(bool& on, zshare::Vfo& txVfo) override;
    zshare::Result SetSplit(bool on, zshare::Vfo txVfo) override;
    zshare::Result GetRit(int& hz) override;
    zshare::Result SetRit(int hz) override;
    zshare::Result GetXit(int& hz) override;
    zshare::Result SetXit(int hz) override;
    zshare::Result GetLevel(zshare::Level level, double& value) override;
    zshare::Result SetLevel(zshare::Level level, double value) override;
    zshare::Result GetPowerOn(bool& on) override;
    zshare::Result SetPowerOn(bool on) override;
    zshare::Result GetFunc(zshare::Func func, bool& on) override;
    zshare::Result SetFunc(zshare::Func func, bool on) override;
    zshare::Result DoVfoOp(zshare::VfoOp op) override;
    zshare::Result SendMorse(const std::string& text) override;
    zshare::Result GetShift(zshare::Shift& shift) override;
    zshare::Result SetShift(zshare::Shift shift) override;
    zshare::Result GetRepeaterOffset(std::int64_t& hz) override;
    zshare::Result SetRepeaterOffset(std::int64_t hz) override;
    zshare::Result GetCtcssTone(int& tenths) override;
    zshare::Result SetCtcssTone(int tenths) override;
    zshare::Result GetDcsCode(int& code) override;
    zshare::Result SetDcsCode(int code) override;
    zshare::Result GetMemory(int& channel) override;
    zshare::Result SetMemory(int channel) override;

    // The mode codes of the radio (1 LSB ... 9 FSK-R) and back.
    static int ModeCode(zshare::Mode mode);
    static zshare::Mode ModeOfCode(int code);

private:
    struct IfFields {
        std::int64_t frequency = 0;
        int offset = 0;
        int rit = 0;
        int xit = 0;
        int transmitting = 0;
        int mode = 0;
        int function = 0; // the receive VFO: 0 A, 1 B, 2 memory, 3 call
        int split = 0;
    };
    // A value read from the store: nullopt while nothing is stored.
    using Stored = std::function<std::optional<long long>()>;

    zshare::Result Check(bool needPower = true) const;
    CCorvan* Link() const { return m_link(); }
    // The stored value, or the answer to `query` (waited for).
    std::optional<long long> Read(const Stored& stored, const std::function<void()>& query);
    // Writes with `write` (false: the link refused), then waits until
    // `stored` shows `expected`: first for the radio's own report, then for
    // the answer to `query`.
    zshare::Result SetAndConfirm(const std::function<bool()>& write, const Stored& stored,
                                 long long expected, const std::function<void()>& query);
    std::optional<IfFields> StoredIf() const;
    std::optional<IfFields> ReadIf();
    // 0 A, 1 B, 2 memory, 3 call: the main band's receive and transmit VFO.
    int ReceiveVfo();
    int TransmitVfo();
    std::optional<long long> StoredFrequency(int vfo) const;
    zshare::Result GetOffset(int& hz, bool xit);
    zshare::Result SetOffset(int hz, bool xit);
    // A value of one reply code: `get` reads the store, `set` is the code's
    // builder (its read form asks).
    using Getter = std::int32_t (CCorvan::*)(std::uint32_t*);
    using Setter = std::int32_t (CCorvan::*)(const char*, std::uint32_t);
    zshare::Result ReadCode(Getter get, Setter set, long long& value);
    zshare::Result WriteCode(Setter set, Getter get, std::uint32_t value);
    // The VFO number (0..3) of FR or FT: stored, else the answer to its read.
    std::optional<long long> ReadVfoNumber(Getter get, Setter set);
    // Sends `write` and waits until `stored` differs from what it was (a
    // step or band change whose result the radio decides).
    zshare::Result WriteAndAwaitChange(const std::function<bool()>& write, const Stored& stored,
                                       const std::function<void()>& query);
    // FR with `vfo`, confirmed by its FR and IF; MD and FT are read again
    // where the store no longer holds them.
    zshare::Result SelectReceiveVfo(int vfo);
    zshare::Result SelectTransmitVfo(int vfo);
    // Waits until `done`: first for the radio's own report, then for the
    // answer to `query`. False when it did not come.
    bool Await(const std::function<bool()>& done, const std::function<void()>& query);
    // The mode of VFO `which` (0 A, 1 B) while the other one receives: read
    // with OI, else the one last set or seen on it; Unknown when neither.
    zshare::Mode ReadOtherMode(int which);
    int NormalWidth(zshare::Mode mode) const;
    // FM, and AM (the band here is always the main one), have a narrow and a
    // wide filter instead of a width in Hz: FW 0 is narrow, FW 1 wide.
    static bool NarrowOrWide(zshare::Mode mode);
    // The FW value for a client's passband in `mode` (0 the normal width,
    // below 0 keep the width: -1).
    int FilterValue(zshare::Mode mode, int passband) const;
    // The width in Hz a client is told for the radio's FW value in `mode`.
    int FilterWidth(zshare::Mode mode, long long value) const;
    // The main band's mode as the console has it (it gives the shared
    // filter's value its meaning), else the one last seen on receive VFO
    // `rx`, else `fallback`.
    zshare::Mode ReceiveMode(int rx, zshare::Mode fallback) const;
    // True while the main band transmits (after the last PTT change's IF).
    bool Transmitting();
    // Waits for the IF that follows the last PTT change made here.
    void SettlePtt();

    ConsoleState& m_state;
    LinkSource m_link;
    BusyCheck m_busy;
    zshare::RadioDescription m_description;
    // The modes last seen on VFO A and B (the radio reports only the
    // receive VFO's).
    std::array<zshare::Mode, 2> m_vfoMode{zshare::Mode::Unknown, zshare::Mode::Unknown};
    int m_reportMs = 300;
    int m_answerMs = 600;
    // The waits as this line needs them: a slow line adds its round trip.
    int ReportWaitMs() const;
    int AnswerWaitMs() const;
    // Split kept across a client's VFO selection: the transmit VFO of the
    // split a client's "V" left, and the receive VFO it left the radio on
    // (-1: none). Selecting the transmit VFO itself to receive leaves the
    // radio without split for a moment; selecting the other VFO again puts
    // the split back, unless the radio has changed in between.
    int m_keptSplitTx = -1;
    int m_keptSplitRx = -1;
    // The transmit state the IF report of the last PTT change will show
    // (-1: none awaited).
    int m_pttAwaitingIf = -1;
    // The frequencies of VFO A and B the radio reported last.
    mutable std::array<std::optional<long long>, 2> m_lastFrequency;
};

} // namespace zephyra

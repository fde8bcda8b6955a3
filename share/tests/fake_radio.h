// SPDX-License-Identifier: GPL-3.0-or-later
// fake_radio.h - a backend with plain state for the protocol tests: it
// records every call and can be made busy or not ready.
#pragma once

#include <zephyra_share.h>

#include <string>
#include <type_traits>
#include <vector>

namespace share_test {

struct FakeRadio : zshare::RadioBackend {
    bool busy = false;
    bool ready = true;
    std::int64_t a = 14'074'000, b = 7'050'000;
    zshare::Mode modeA = zshare::Mode::Usb, modeB = zshare::Mode::Lsb;
    int width = 2400;
    zshare::Vfo rx = zshare::Vfo::A, tx = zshare::Vfo::A;
    bool ptt = false, power = true;
    int rit = 0, xit = 0;
    double af = 0.5, rf = 1.0, sql = 0.0, rfPower = 1.0, strength = -12.0;
    double keySpeed = 20, preamp = 0, attenuator = 0, micGain = 0.5, compression = 0.25, raw = 12;
    bool funcs[5] = {};
    zshare::Shift shift = zshare::Shift::None;
    std::int64_t offset = 600'000;
    int tone = 885, dcs = 23, memory = 0;
    std::string morse;
    std::vector<std::string> calls; // "SetFrequency 7074000", ...
    zshare::RadioDescription description;

    FakeRadio() {
        description.name = QStringLiteral("QX-9000");
        description.receive = {{30'000, 60'000'000, 0x1bf, -1, -1, 0x3, 0x3}};
        description.transmit = {{14'000'000, 14'350'000, 0x1bf, 5000, 100000, 0x3, 0x3}};
        description.steps = {{0x1bf, 10}, {0x1bf, 100}};
        description.filters = {{0x0c, 2400}, {0x82, 500}};
        description.maxRit = description.maxXit = 99'999;
        description.bandwidths = {500, 2400};
        using L = zshare::Level;
        description.getLevels = {L::Strength, L::RawStrength, L::RfPower, L::Af, L::Rf, L::Squelch,
                                 L::KeySpeed, L::Preamp, L::Attenuator, L::MicGain, L::Compression};
        description.setLevels = {L::RfPower, L::Af, L::Rf, L::Squelch, L::KeySpeed,
                                 L::Preamp, L::Attenuator, L::MicGain, L::Compression};
        using F = zshare::Func;
        description.funcs = {F::NoiseBlanker, F::NoiseReduction, F::Compressor, F::Tone, F::ToneSquelch};
        using O = zshare::VfoOp;
        description.vfoOps = {O::Up, O::Down, O::BandUp, O::BandDown, O::Copy, O::Exchange};
        description.preamps = {10};
        description.attenuators = {12};
        description.ctcssTones = {670, 719, 885};
        description.toneBurst = 17'500;
        description.dcsCodes = {23, 25, 754};
        description.keyerLimit = 24;
        description.maxMemory = 299;
        description.maxRepeaterOffset = 59'950'000;
    }

    zshare::Vfo Resolve(zshare::Vfo v) const { return v == zshare::Vfo::Current ? rx : v; }
    bool Busy() const override { return busy; }
    bool Ready() const override { return ready; }
    const zshare::RadioDescription& Describe() const override { return description; }

    zshare::Result Check() const { return ready ? zshare::Result::Ok : zshare::Result::NotAvailable; }
    void Note(const std::string& what) { calls.push_back(what); }
    // A getter hands out a field; a setter notes its call, then stores. Set
    // notes the name and the value as a number ("SetRit 120", "SetPtt 1").
    template <class T>
    zshare::Result Read(T& out, const std::type_identity_t<T>& value) const {
        out = value;
        return Check();
    }
    template <class T>
    zshare::Result Store(T& field, const std::type_identity_t<T>& value, const std::string& what) {
        Note(what);
        field = value;
        return Check();
    }
    template <class T>
    zshare::Result Set(T& field, const std::type_identity_t<T>& value, const char* name) {
        const std::string number = std::to_string(static_cast<long long>(value));
        return Store(field, value, std::string(name) + " " + number);
    }

    zshare::Result GetFrequency(zshare::Vfo v, std::int64_t& hz) override {
        return Read(hz, Resolve(v) == zshare::Vfo::B ? b : a);
    }
    zshare::Result SetFrequency(zshare::Vfo v, std::int64_t hz) override {
        Note("SetFrequency " + std::string(Resolve(v) == zshare::Vfo::B ? "B " : "A ") + std::to_string(hz));
        (Resolve(v) == zshare::Vfo::B ? b : a) = hz;
        return Check();
    }
    zshare::Result GetMode(zshare::Vfo v, zshare::Mode& m, int& passband) override {
        m = Resolve(v) == zshare::Vfo::B ? modeB : modeA;
        passband = width;
        return Check();
    }
    zshare::Result SetMode(zshare::Vfo v, zshare::Mode m, int passband) override {
        Note("SetMode " + std::string(zshare::ModeName(m)) + " " + std::to_string(passband));
        (Resolve(v) == zshare::Vfo::B ? modeB : modeA) = m;
        if (passband > 0)
            width = passband;
        return Check();
    }
    zshare::Result GetVfo(zshare::Vfo& v) override { return Read(v, rx); }
    zshare::Result SetVfo(zshare::Vfo v) override {
        Note("SetVfo");
        rx = tx = v;
        return Check();
    }
    zshare::Result GetPtt(bool& on) override { return Read(on, ptt); }
    zshare::Result SetPtt(bool on) override { return Set(ptt, on, "SetPtt"); }
    zshare::Result GetSplit(bool& on, zshare::Vfo& v) override {
        on = tx != rx;
        v = tx;
        return Check();
    }
    zshare::Result SetSplit(bool on, zshare::Vfo v) override {
        Note(on ? "SetSplit 1" : "SetSplit 0");
        tx = on ? v : rx;
        return Check();
    }
    zshare::Result GetRit(int& hz) override { return Read(hz, rit); }
    zshare::Result SetRit(int hz) override { return Set(rit, hz, "SetRit"); }
    zshare::Result GetXit(int& hz) override { return Read(hz, xit); }
    zshare::Result SetXit(int hz) override { return Set(xit, hz, "SetXit"); }
    double& LevelRef(zshare::Level l) {
        switch (l) {
        case zshare::Level::Af: return af;
        case zshare::Level::Rf: return rf;
        case zshare::Level::Squelch: return sql;
        case zshare::Level::RfPower: return rfPower;
        case zshare::Level::KeySpeed: return keySpeed;
        case zshare::Level::Preamp: return preamp;
        case zshare::Level::Attenuator: return attenuator;
        case zshare::Level::MicGain: return micGain;
        case zshare::Level::Compression: return compression;
        case zshare::Level::RawStrength: return raw;
        default: return strength;
        }
    }
    zshare::Result GetLevel(zshare::Level l, double& v) override {
        return Read(v, l == zshare::Level::PowerMeter ? (ptt ? rfPower : 0.0) : LevelRef(l));
    }
    zshare::Result SetLevel(zshare::Level l, double v) override {
        return Store(LevelRef(l), v,
                     "SetLevel " + std::to_string(static_cast<int>(l)) + " " + std::to_string(v));
    }
    zshare::Result GetPowerOn(bool& on) override { return Read(on, power); }
    zshare::Result SetPowerOn(bool on) override { return Set(power, on, "SetPowerOn"); }
    zshare::Result GetFunc(zshare::Func f, bool& on) override {
        return Read(on, funcs[static_cast<int>(f)]);
    }
    zshare::Result SetFunc(zshare::Func f, bool on) override {
        return Store(funcs[static_cast<int>(f)], on,
                     "SetFunc " + std::to_string(static_cast<int>(f)) + (on ? " 1" : " 0"));
    }
    zshare::Result DoVfoOp(zshare::VfoOp op) override {
        Note("DoVfoOp " + std::to_string(static_cast<int>(op)));
        return Check();
    }
    zshare::Result SendMorse(const std::string& text) override {
        Note("SendMorse " + text);
        morse = text;
        return Check();
    }
    zshare::Result GetShift(zshare::Shift& s) override { return Read(s, shift); }
    zshare::Result SetShift(zshare::Shift s) override { return Set(shift, s, "SetShift"); }
    zshare::Result GetRepeaterOffset(std::int64_t& hz) override { return Read(hz, offset); }
    zshare::Result SetRepeaterOffset(std::int64_t hz) override {
        return Set(offset, hz, "SetRepeaterOffset");
    }
    zshare::Result GetCtcssTone(int& t) override { return Read(t, tone); }
    zshare::Result SetCtcssTone(int t) override { return Set(tone, t, "SetCtcssTone"); }
    zshare::Result GetDcsCode(int& c) override { return Read(c, dcs); }
    zshare::Result SetDcsCode(int c) override { return Set(dcs, c, "SetDcsCode"); }
    zshare::Result GetMemory(int& c) override { return Read(c, memory); }
    zshare::Result SetMemory(int c) override { return Set(memory, c, "SetMemory"); }
};

} // namespace share_test

// SPDX-License-Identifier: GPL-3.0-or-later
// Builders with a mode argument whose set form carries more than one value,
// a frequency or a text.
#include "builders.h"
#include "link.h"

#include <corvan.h>

#include <cstring>
#include <optional>

using namespace corvan::detail;

namespace {

bool In(std::uint32_t v, std::uint32_t lo, std::uint32_t hi) { return v >= lo && v <= hi; }

// True when a builder refuses before looking at its values: the link cannot
// send, the mode is missing or the model type is not among `models`. A
// builder that goes on to choose its form by the model type passes the one
// it read, so that the check and the choice see the same type.
bool RefusedOutright(std::uint8_t models, const char* mode, std::uint32_t model)
{
    return !CanSend() || mode == nullptr || !HasModel(models, model);
}

bool RefusedOutright(std::uint8_t models, const char* mode) { return RefusedOutright(models, mode, Model()); }

// The start every plain builder shares: 0 when refused outright; for the read
// form, the query's result. Empty for a set form, whose values the builder
// checks next.
std::optional<std::int32_t> RefuseOrQuery(std::uint8_t models, const char* mode, Rec record, const char* query)
{
    if (RefusedOutright(models, mode))
        return 0;
    if (IsRead(mode))
        return Query(record, query);
    return std::nullopt;
}

// The frequency builders FA, FB, FC.
std::int32_t FrequencyBuilder(char code, Rec record, std::uint8_t models, const char* mode,
                              const char* frequency)
{
    if (RefusedOutright(models, mode))
        return 0;
    if (IsRead(mode)) {
        const char query[4] = {'F', code, ';', '\0'};
        return Query(record, query);
    }
    std::int64_t hertz = 0;
    if (!ParseFrequency(frequency, hertz))
        return 0;
    return Send("F%c%011lld;", code, static_cast<long long>(hertz));
}

// The scan-speed builders RD and RU: model type 3 sends a value and reads it
// back while a scan runs; the other accepted model types send the bare code.
std::int32_t ScanStepBuilder(CCorvan& link, std::int32_t (CCorvan::*self)(const char*, std::uint32_t),
                             const char* code, Rec record, std::uint8_t plainModels,
                             const char* mode, std::uint32_t v)
{
    if (!CanSend() || mode == nullptr)
        return 0;
    const std::uint32_t model = Model();
    const char bare[4] = {code[0], code[1], ';', '\0'};
    if (HasModel(plainModels, model))
        return Send("%s", bare);
    if (model != 3)
        return 0;
    if (IsRead(mode))
        return Query(record, bare);
    if (v > 99999)
        return 0;
    const std::int32_t result = v == 0 ? Send("%s", bare) : Send("%c%c%05u;", code[0], code[1], v);
    if (result != 0 && Global().Get(Rec::SC).num[0] != 0) {
        ReadBackPause();
        (link.*self)("R", v);
    }
    return result;
}

// The per-receiver level builders AG and SQ: model type 1 has one receiver
// and sets it without a read-back; model type 3 addresses receiver 0 or 1
// and reads the level back after a set.
std::int32_t ReceiverLevelBuilder(CCorvan& link,
                                  std::int32_t (CCorvan::*self)(const char*, std::uint32_t, std::uint32_t),
                                  const char* code, Rec firstRecord, const char* mode, std::uint32_t receiver,
                                  std::uint32_t level)
{
    const std::uint32_t model = Model();
    if (RefusedOutright(M13, mode, model))
        return 0;
    if (IsRead(mode)) {
        // The receiver selects a record: only 0 and 1 exist.
        if (receiver > 1)
            return 0;
        Global().Reset(Offset(firstRecord, receiver));
        return model == 1 ? Send("%s;", code) : Send("%s%01u;", code, receiver);
    }
    if (level > 255)
        return 0;
    if (model == 1)
        return receiver == 0 ? Send("%s%03u;", code, level) : 0;
    if (receiver > 1)
        return 0;
    const std::int32_t result = Send("%s%01u%03u;", code, receiver, level);
    if (result != 0) {
        ReadBackPause();
        (link.*self)("R", receiver, level);
    }
    return result;
}

} // namespace

std::int32_t CCorvan::ConnAC(const char* mode, std::uint32_t a, std::uint32_t b, std::uint32_t c)
{
    if (const auto done = RefuseOrQuery(M123, mode, Rec::AC, "AC;"))
        return *done;
    const std::uint32_t cMax = Model() == 3 ? 2 : 1;
    if (!In(a, 0, 1) || !In(b, 0, 1) || !In(c, 0, cMax))
        return 0;
    return Send("AC%01u%01u%01u;", a, b, c);
}

std::int32_t CCorvan::ConnAG(const char* mode, std::uint32_t receiver, std::uint32_t gain)
{
    return ReceiverLevelBuilder(*this, &CCorvan::ConnAG, "AG", Rec::AG0, mode, receiver, gain);
}

std::int32_t CCorvan::ConnAI(const char* mode, std::uint32_t v)
{
    if (const auto done = RefuseOrQuery(M123, mode, Rec::AI, "AI;"))
        return *done;
    if (v != 0 && v != 2)
        return 0;
    return Send("AI%01u;", v);
}

std::int32_t CCorvan::ConnAR(const char* mode, std::uint32_t receiver, std::uint32_t a, std::uint32_t b)
{
    if (RefusedOutright(M3, mode) || receiver > 1)
        return 0;
    if (IsRead(mode)) {
        Global().Reset(Offset(Rec::AR0, receiver));
        return Send("AR%01u;", receiver);
    }
    // b is one digit on the wire: a larger value would shift the command.
    if (!In(a, 0, 1) || b > 9)
        return 0;
    return Send("AR%01u%01u%01u;", receiver, a, b);
}

std::int32_t CCorvan::ConnAS(const char* mode, std::uint32_t a, std::uint32_t b, const char* frequency,
                             std::uint32_t c)
{
    if (RefusedOutright(M3, mode))
        return 0;
    if (IsRead(mode)) {
        if (a > 9 || b > 99)
            return 0;
        Global().Reset(Rec::AS);
        return Send("AS%01u%02u;", a, b);
    }
    std::int64_t hertz = 0;
    if (!In(a, 0, 3) || !In(b, 0, 99) || !In(c, 0, 9) || !ParseFrequency(frequency, hertz))
        return 0;
    return Send("AS%01u%02u%011lld%01u;", a, b, static_cast<long long>(hertz), c);
}

std::int32_t CCorvan::ConnDC(const char* mode, std::uint32_t a, std::uint32_t b)
{
    if (const auto done = RefuseOrQuery(M3, mode, Rec::DC, "DC;"))
        return *done;
    if (!In(a, 0, 1) || !In(b, 0, 1))
        return 0;
    return Send("DC%01u%01u;", a, b);
}

std::int32_t CCorvan::ConnEX(const char* mode, std::uint32_t menu, std::uint32_t sub, std::uint32_t a,
                             std::uint32_t b, const char* text)
{
    const std::uint32_t model = Model();
    if (RefusedOutright(M13, mode, model))
        return 0;
    if (IsRead(mode)) {
        if (model == 1)
            return Query(Rec::EX, "EX;");
        if (menu > 999 || sub > 99 || a > 9 || b > 9)
            return 0;
        Global().Reset(Rec::EX);
        return Send("EX%03u%02u%01u%01u;", menu, sub, a, b);
    }
    if (model == 1) {
        if (menu > 46 || sub > 74)
            return 0;
        return Send("EX%03u%04u;", menu, sub);
    }
    if (menu > 999 || sub > 99 || a > 9 || b > 9 || TextLength(text) > 16 || BreaksFraming(text))
        return 0;
    const std::int32_t result = Send("EX%03u%02u%01u%01u%s;", menu, sub, a, b, text);
    if (result != 0) {
        ReadBackPause();
        ConnEX("R", menu, sub, a, b, text);
    }
    return result;
}

std::int32_t CCorvan::ConnFA(const char* mode, const char* frequency)
{
    return FrequencyBuilder('A', Rec::FA, M123, mode, frequency);
}

std::int32_t CCorvan::ConnFB(const char* mode, const char* frequency)
{
    return FrequencyBuilder('B', Rec::FB, M123, mode, frequency);
}

std::int32_t CCorvan::ConnFC(const char* mode, const char* frequency)
{
    return FrequencyBuilder('C', Rec::FC, M3, mode, frequency);
}

std::int32_t CCorvan::ConnIS(const char* mode, const char* sign, std::uint32_t v)
{
    if (const auto done = RefuseOrQuery(M123, mode, Rec::IS, "IS;"))
        return *done;
    if (sign == nullptr || sign[0] == '\0')
        return 0;
    const char s = sign[0];
    switch (Model()) {
    case 1:
        if ((s != '+' && s != '-' && s != ' ') || v > 1100)
            return 0;
        return Send("IS%1c%03u;", s, v);
    case 2:
        if ((s != '+' && s != ' ') || v > 6000)
            return 0;
        return Send("IS%1c%03u;", s, v);
    default:
        if (s != ' ' || v > 9999)
            return 0;
        return Send("IS %04u;", v);
    }
}

std::int32_t CCorvan::ConnKY(const char* mode, const char* text)
{
    if (const auto done = RefuseOrQuery(M123, mode, Rec::KY, "KY;"))
        return *done;
    if (TextLength(text) > 24 || BreaksFraming(text))
        return 0;
    return Send("KY %-24s;", text);
}

std::int32_t CCorvan::ConnLK(const char* mode, std::uint32_t a, std::uint32_t b)
{
    if (const auto done = RefuseOrQuery(M123, mode, Rec::LK, "LK;"))
        return *done;
    if (Model() == 1)
        return In(a, 0, 2) ? Send("LK%01u;", a) : 0;
    if (!In(a, 0, 2) || !In(b, 0, 2))
        return 0;
    return Send("LK%01u%01u;", a, b);
}

std::int32_t CCorvan::ConnMC(const char* mode, std::uint32_t bank, std::uint32_t channel)
{
    if (const auto done = RefuseOrQuery(M13, mode, Rec::MC, "MC;"))
        return *done;
    if (Model() == 1)
        return channel <= 99 ? Send("MC %02u;", channel) : 0;
    if (bank > 9 || channel > 99)
        return 0;
    return Send("MC%01u%02u;", bank, channel);
}

std::int32_t CCorvan::ConnMU(const char* mode, std::uint32_t v0, std::uint32_t v1, std::uint32_t v2,
                             std::uint32_t v3, std::uint32_t v4, std::uint32_t v5, std::uint32_t v6,
                             std::uint32_t v7, std::uint32_t v8, std::uint32_t v9)
{
    if (const auto done = RefuseOrQuery(M3, mode, Rec::MU, "MU;"))
        return *done;
    const std::uint32_t v[] = {v0, v1, v2, v3, v4, v5, v6, v7, v8, v9};
    for (std::uint32_t x : v) {
        if (x > 1)
            return 0;
    }
    const std::int32_t result = Send("MU%01u%01u%01u%01u%01u%01u%01u%01u%01u%01u;", v0, v1, v2, v3, v4,
                                     v5, v6, v7, v8, v9);
    if (result != 0) {
        ReadBackPause();
        ConnMU("R", v0, v1, v2, v3, v4, v5, v6, v7, v8, v9);
    }
    return result;
}

std::int32_t CCorvan::ConnPL(const char* mode, std::uint32_t a, std::uint32_t b)
{
    if (const auto done = RefuseOrQuery(M23, mode, Rec::PL, "PL;"))
        return *done;
    const std::uint32_t max = Model() == 2 ? 255 : 100;
    if (a > max || b > max)
        return 0;
    const std::int32_t result = Send("PL%03u%03u;", a, b);
    if (result != 0 && Model() == 3) {
        ReadBackPause();
        ConnPL("R", a, b);
    }
    return result;
}

std::int32_t CCorvan::ConnQR(const char* mode, std::uint32_t a, std::uint32_t b)
{
    if (const auto done = RefuseOrQuery(M3, mode, Rec::QR, "QR;"))
        return *done;
    if (a > 1 || b > 9)
        return 0;
    return Send("QR%01u%01u;", a, b);
}

std::int32_t CCorvan::ConnRD(const char* mode, std::uint32_t v)
{
    return ScanStepBuilder(*this, &CCorvan::ConnRD, "RD", Rec::RD, M1, mode, v);
}

std::int32_t CCorvan::ConnRU(const char* mode, std::uint32_t v)
{
    return ScanStepBuilder(*this, &CCorvan::ConnRU, "RU", Rec::RU, M12, mode, v);
}

std::int32_t CCorvan::ConnSA(const char* mode, std::uint32_t a, std::uint32_t b, std::uint32_t c,
                             std::uint32_t d, std::uint32_t e, std::uint32_t f, std::uint32_t g,
                             const char* /*name: kept by the caller, never sent*/)
{
    if (const auto done = RefuseOrQuery(M3, mode, Rec::SA, "SA;"))
        return *done;
    if (a > 1 || b > 9 || c > 1 || d > 1 || e > 1 || f > 1 || g > 1)
        return 0;
    return Send("SA%01u%01u%01u%01u%01u%01u%01u;", a, b, c, d, e, f, g);
}

std::int32_t CCorvan::ConnSQ(const char* mode, std::uint32_t receiver, std::uint32_t level)
{
    return ReceiverLevelBuilder(*this, &CCorvan::ConnSQ, "SQ", Rec::SQ0, mode, receiver, level);
}

std::int32_t CCorvan::ConnSU(const char* mode, std::uint32_t v0, std::uint32_t v1, std::uint32_t v2,
                             std::uint32_t v3, std::uint32_t v4, std::uint32_t v5, std::uint32_t v6,
                             std::uint32_t v7, std::uint32_t v8, std::uint32_t v9, std::uint32_t v10)
{
    if (RefusedOutright(M3, mode))
        return 0;
    if (IsRead(mode)) {
        if (v0 > 9)
            return 0;
        Global().Reset(Rec::SU);
        return Send("SU%01u;", v0);
    }
    const std::uint32_t v[] = {v0, v1, v2, v3, v4, v5, v6, v7, v8, v9, v10};
    for (std::uint32_t x : v) {
        if (x > 1)
            return 0;
    }
    const std::int32_t result = Send("SU%01u%01u%01u%01u%01u%01u%01u%01u%01u%01u%01u;", v0, v1, v2, v3,
                                     v4, v5, v6, v7, v8, v9, v10);
    if (result != 0) {
        ReadBackPause();
        ConnSU("R", v0, v1, v2, v3, v4, v5, v6, v7, v8, v9, v10);
    }
    return result;
}

std::int32_t CCorvan::ConnTC(const char* mode, std::uint32_t /*a: not sent*/, std::uint32_t b)
{
    // Works in direct mode too: this is how terminal mode is left.
    if (TheLink().portOpen.load() == 0 || mode == nullptr || Model() != 3)
        return 0;
    if (IsRead(mode))
        return Query(Rec::TC, "TC;");
    if (b > 1)
        return 0;
    if (b == 1) {
        Global().directMode.store(0);
        return Send("%c;\rTC 1;\r", 3);
    }
    return Send("\rTC 0;");
}

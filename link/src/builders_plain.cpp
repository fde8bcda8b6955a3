// SPDX-License-Identifier: GPL-3.0-or-later
// Builders without a mode argument: queries, one-shot actions and the memory
// commands.
#include "builders.h"
#include "link.h"

#include <corvan.h>

using namespace corvan::detail;

namespace {

bool Accepts(std::uint8_t models) { return CanSend() && HasModel(models, Model()); }

// A bare query that first clears its record, whatever the model type.
std::int32_t ClearingQuery(Rec record, std::uint8_t models, const char* text)
{
    if (!CanSend())
        return 0;
    Global().Reset(record);
    if (!HasModel(models, Model()))
        return 0;
    return Send("%s", text);
}

// DN and UP: model type 1 sends the bare code, model type 3 a step count.
std::int32_t StepBuilder(char c0, char c1, std::uint32_t v)
{
    if (!Accepts(M13))
        return 0;
    if (Model() == 1 || v == 0)
        return Send("%c%c;", c0, c1);
    if (v > 99)
        return 0;
    return Send("%c%c%02u;", c0, c1, v);
}

// UR and UT: a text right-aligned in 128 characters.
std::int32_t PaddedText(char c0, char c1, const char* text)
{
    if (!Accepts(M13) || TextLength(text) > 128 || BreaksFraming(text))
        return 0;
    return Send("%c%c%128s;", c0, c1, text);
}

} // namespace

std::int32_t CCorvan::ConnBD() { return Accepts(M3) ? Send("BD;") : 0; }
std::int32_t CCorvan::ConnBU() { return Accepts(M3) ? Send("BU;") : 0; }
std::int32_t CCorvan::ConnBY() { return ClearingQuery(Rec::BY, M123, "BY;"); }
std::int32_t CCorvan::ConnCH(std::uint32_t v) { return Accepts(M3) && v <= 1 ? Send("CH%u;", v) : 0; }
std::int32_t CCorvan::ConnCI() { return Accepts(M3) ? Send("CI;") : 0; }
std::int32_t CCorvan::ConnDN(std::uint32_t v) { return StepBuilder('D', 'N', v); }
std::int32_t CCorvan::ConnFD() { return ClearingQuery(Rec::FD, M23, "FD;"); }
std::int32_t CCorvan::ConnIF() { return ClearingQuery(Rec::IF, M123, "IF;"); }
std::int32_t CCorvan::ConnOI() { return ClearingQuery(Rec::OI, M3, "OI;"); }
std::int32_t CCorvan::ConnPI(std::uint32_t v) { return Accepts(M3) && v <= 5 ? Send("PI%01u;", v) : 0; }
std::int32_t CCorvan::ConnQI() { return Accepts(M3) ? Send("QI;") : 0; }
std::int32_t CCorvan::ConnRC() { return Accepts(M123) ? Send("RC;") : 0; }
std::int32_t CCorvan::ConnRX() { return ClearingQuery(Rec::RX, M123, "RX;"); }
std::int32_t CCorvan::ConnSR(std::uint32_t v) { return Accepts(M123) && v >= 1 && v <= 2 ? Send("SR%01u;", v) : 0; }
std::int32_t CCorvan::ConnSV() { return Accepts(M3) ? Send("SV;") : 0; }
std::int32_t CCorvan::ConnTD(std::uint32_t v) { return Accepts(M3) && v <= 9 ? Send("TD%02u;", v) : 0; }
std::int32_t CCorvan::ConnTI() { return Accepts(M3) ? Send("TI;") : 0; }
std::int32_t CCorvan::ConnTX() { return ClearingQuery(Rec::TX, M123, "TX;"); }
std::int32_t CCorvan::ConnTY() { return ClearingQuery(Rec::TY, M3, "TY;"); }
std::int32_t CCorvan::ConnUP(std::uint32_t v) { return StepBuilder('U', 'P', v); }
std::int32_t CCorvan::ConnUR(const char* text) { return PaddedText('U', 'R', text); }
std::int32_t CCorvan::ConnUT(const char* text) { return PaddedText('U', 'T', text); }
std::int32_t CCorvan::ConnVR(std::uint32_t v) { return Accepts(M13) && v >= 1 && v <= 2 ? Send("VR%01u;", v) : 0; }

std::int32_t CCorvan::ConnMR(std::uint32_t split, std::uint32_t bank, std::uint32_t channel)
{
    if (!Accepts(M13) || split > 1 || channel > 99)
        return 0;
    if (Model() == 1) {
        Global().Reset(Offset(Rec::MR0, split));
        return Send("MR%01u %02u;", split, channel);
    }
    if (bank > 9)
        return 0;
    Global().Reset(Offset(Rec::MR0, split));
    return Send("MR%01u%01u%02u;", split, bank, channel);
}

std::int32_t CCorvan::ConnMW(std::uint32_t split, std::uint32_t bank, std::uint32_t channel,
                             const char* frequency, std::uint32_t f5, std::uint32_t f6, std::uint32_t f7,
                             std::uint32_t f8, std::uint32_t f9, std::uint32_t f10, std::uint32_t f11,
                             std::uint32_t f12, std::uint32_t f13, std::uint32_t f14, std::uint32_t f15,
                             const char* name)
{
    if (!Accepts(M13) || split > 1 || channel > 99 || f5 > 9 || f6 > 1)
        return 0;
    std::int64_t hertz = 0;
    if (!ParseFrequency(frequency, hertz))
        return 0;
    const auto hz = static_cast<long long>(hertz);
    if (Model() == 1) {
        if (f7 > 1 || f8 < 1 || f8 > 39)
            return 0;
        return Send("MW%01u %02u%011lld%01u%01u%01u%02u ;", split, channel, hz, f5, f6, f7, f8);
    }
    // f11 is one digit on the wire: a larger value would shift every field after it.
    if (bank > 9 || f7 > 3 || f8 > 39 || f9 > 38 || f10 > 103 || f11 > 9 || f12 > 9 ||
        f13 > 999999999 || f14 > 99 || f15 > 9 || TextLength(name) > 8 || BreaksFraming(name))
        return 0;
    return Send("MW%01u%01u%02u%011lld%01u%01u%01u%02u%02u%03u%01u%01u%09u%02u%01u%s;", split, bank,
                channel, hz, f5, f6, f7, f8, f9, f10, f11, f12, f13, f14, f15, name);
}

std::int32_t CCorvan::ConnSI(std::uint32_t index, const char* text)
{
    if (!Accepts(M3) || index > 9 || TextLength(text) > 8 || BreaksFraming(text))
        return 0;
    return Send("SI%01u%s;", index, text);
}

std::int32_t CCorvan::ConnSM(std::uint32_t meter)
{
    // Only meters 0..3 have a record; a larger index must not reach the store.
    if (!Accepts(M13) || meter > 3)
        return 0;
    Global().Reset(Offset(Rec::SM0, meter));
    return Model() == 1 ? Send("SM;") : Send("SM%01u;", meter);
}

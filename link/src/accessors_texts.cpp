// SPDX-License-Identifier: GPL-3.0-or-later
// The accessors of replies that carry texts (frequencies, names) and of the
// direct text.
#include "accessors.h"

#include <corvan.h>

using namespace corvan::detail;

namespace {

// FA empties the caller's text when it has no value to give; FB and FC leave
// it as it was.
enum class WhenNotValid { Empty, Leave };

std::int32_t Frequency(Rec record, Pending pending, std::uint8_t models, WhenNotValid notValid, char* frequency)
{
    Global().ClearPending(pending);
    if (notValid == WhenNotValid::Empty)
        EmptyText(frequency);
    Record x;
    if (!Fetch(record, models, x))
        return 0;
    CopyText(frequency, x, 0, corvan::kFrequencyTextSize);
    return 1;
}

std::int32_t Information(Rec record, std::uint8_t models, char* frequency,
                         std::initializer_list<std::uint32_t*> outs)
{
    ZeroAll(outs);
    Record x;
    if (!Fetch(record, models, x))
        return 0;
    CopyText(frequency, x, 0, corvan::kFrequencyTextSize);
    std::size_t i = 0;
    for (std::uint32_t* p : outs)
        Put(p, x.num[i++]);
    return 1;
}

} // namespace

std::int32_t CCorvan::RcvDataDirect(char* text)
{
    char scratch[corvan::kDirectTextSize];
    Global().TakeDirect(text != nullptr ? text : scratch);
    return 1;
}

std::int32_t CCorvan::RcvDataFA(char* frequency)
{
    return Frequency(Rec::FA, Pending::FA, M13, WhenNotValid::Empty, frequency);
}
std::int32_t CCorvan::RcvDataFB(char* frequency)
{
    return Frequency(Rec::FB, Pending::FB, M13, WhenNotValid::Leave, frequency);
}
std::int32_t CCorvan::RcvDataFC(char* frequency)
{
    return Frequency(Rec::FC, Pending::FC, M3, WhenNotValid::Leave, frequency);
}

std::int32_t CCorvan::RcvDataFD(char* text)
{
    Record x;
    if (!Fetch(Rec::FD, M3, x))
        return 0;
    CopyText(text, x, 0, corvan::kShortTextSize);
    return 1;
}

std::int32_t CCorvan::RcvDataAS(std::uint32_t* a, std::uint32_t* b, char* frequency, std::uint32_t* c)
{
    ZeroAll({a, b, c});
    EmptyText(frequency);
    Record x;
    if (!Fetch(Rec::AS, M3, x))
        return 0;
    Put(a, x.num[0]);
    Put(b, x.num[1]);
    CopyText(frequency, x, 0, corvan::kFrequencyTextSize);
    Put(c, x.num[2]);
    return 1;
}

std::int32_t CCorvan::RcvDataEX(std::uint32_t* menu, std::uint32_t* sub, std::uint32_t* a, std::uint32_t* b,
                                char* text)
{
    ZeroAll({menu, sub, a, b});
    Record x;
    if (!Fetch(Rec::EX, M13, x))
        return 0;
    Put(menu, x.num[0]);
    Put(sub, x.num[1]);
    if (GetModelType() == 1)
        return 1;
    Put(a, x.num[2]);
    Put(b, x.num[3]);
    CopyText(text, x, 0, corvan::kNameTextSize);
    return 1;
}

std::int32_t CCorvan::RcvDataIF(char* frequency, std::uint32_t* n13, std::uint32_t* n17, std::uint32_t* d23,
                                std::uint32_t* d24, std::uint32_t* d25, std::uint32_t* n26, std::uint32_t* d28,
                                std::uint32_t* d29, std::uint32_t* d30, std::uint32_t* d31, std::uint32_t* d32,
                                std::uint32_t* d33, std::uint32_t* n34, std::uint32_t* d36)
{
    return Information(Rec::IF, M13, frequency,
                       {n13, n17, d23, d24, d25, n26, d28, d29, d30, d31, d32, d33, n34, d36});
}

std::int32_t CCorvan::RcvDataOI(char* frequency, std::uint32_t* n13, std::uint32_t* n17, std::uint32_t* d23,
                                std::uint32_t* d24, std::uint32_t* d25, std::uint32_t* n26, std::uint32_t* d28,
                                std::uint32_t* d29, std::uint32_t* d30, std::uint32_t* d31, std::uint32_t* d32,
                                std::uint32_t* d33, std::uint32_t* n34, std::uint32_t* d36)
{
    return Information(Rec::OI, M3, frequency,
                       {n13, n17, d23, d24, d25, n26, d28, d29, d30, d31, d32, d33, n34, d36});
}

std::int32_t CCorvan::RcvDataIS(char* sign, std::uint32_t* v)
{
    Put(v, 0);
    Record x;
    if (!Fetch(Rec::IS, M13, x))
        return 0;
    if (sign != nullptr) {
        sign[0] = static_cast<char>(x.num[0]);
        sign[1] = '\0';
    }
    Put(v, x.num[1]);
    return 1;
}

std::int32_t CCorvan::RcvDataMR(std::uint32_t index, std::uint32_t* d3, std::uint32_t* channel, char* frequency,
                                std::uint32_t* d17, std::uint32_t* d18, std::uint32_t* d19, std::uint32_t* n20,
                                std::uint32_t* n22, std::uint32_t* n24, std::uint32_t* d27, std::uint32_t* d28,
                                std::uint32_t* n29, std::uint32_t* n38, std::uint32_t* d40, char* name)
{
    ZeroAll({d3, channel, d17, d18, d19, n20, n22, n24, d27, d28, n29, n38, d40});
    Record x;
    if (index > 1 || !Fetch(Offset(Rec::MR0, index), M13, x))
        return 0;
    std::uint32_t* const outs[] = {d3, channel, d17, d18, d19, n20, n22, n24, d27, d28, n29, n38, d40};
    // Model type 1 replies have no digit at 40.
    const std::size_t count = GetModelType() == 1 ? 12 : 13;
    for (std::size_t i = 0; i < count; ++i)
        Put(outs[i], x.num[i]);
    CopyText(frequency, x, 0, corvan::kFrequencyTextSize);
    CopyText(name, x, 1, corvan::kNameTextSize);
    return 1;
}

std::int32_t CCorvan::RcvDataPK(char* t1, char* t2, char* t3, char* t4)
{
    Record x;
    if (!Fetch(Rec::PK, M3, x))
        return 0;
    CopyText(t1, x, 0, corvan::kFrequencyTextSize);
    CopyText(t2, x, 1, corvan::kFrequencyTextSize);
    CopyText(t3, x, 2, corvan::kLongTextSize);
    CopyText(t4, x, 3, corvan::kShortTextSize);
    return 1;
}

std::int32_t CCorvan::RcvDataSA(std::uint32_t* a, std::uint32_t* b, std::uint32_t* c, std::uint32_t* d,
                                std::uint32_t* e, std::uint32_t* f, std::uint32_t* g, char* text)
{
    ZeroAll({a, b, c, d, e, f, g});
    Record x;
    if (!Fetch(Rec::SA, M3, x))
        return 0;
    std::uint32_t* const outs[] = {a, b, c, d, e, f, g};
    for (std::size_t i = 0; i < 7; ++i)
        Put(outs[i], x.num[i]);
    CopyText(text, x, 0, corvan::kShortTextSize);
    return 1;
}

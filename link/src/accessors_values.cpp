// SPDX-License-Identifier: GPL-3.0-or-later
// The accessors of plain stored numbers.
#include "accessors.h"

#include <corvan.h>

using namespace corvan::detail;

#define ONE_VALUE(name, rec, models)                                                               \
    std::int32_t CCorvan::name(std::uint32_t* v) { return OneValue(Rec::rec, models, v); }

// clang-format off
ONE_VALUE(RcvDataAI, AI, M13)
ONE_VALUE(RcvDataAL, AL, M3)
ONE_VALUE(RcvDataAM, AM, M3)
ONE_VALUE(RcvDataAN, AN, M13)
ONE_VALUE(RcvDataBC, BC, M13)
ONE_VALUE(RcvDataBP, BP, M3)
ONE_VALUE(RcvDataCA, CA, M13)
ONE_VALUE(RcvDataCG, CG, M3)
ONE_VALUE(RcvDataCM, CM, M3)
ONE_VALUE(RcvDataCN, CN, M13)
ONE_VALUE(RcvDataCT, CT, M13)
ONE_VALUE(RcvDataDQ, DQ, M3)
ONE_VALUE(RcvDataFR, FR, M13)
ONE_VALUE(RcvDataFS, FS, M13)
ONE_VALUE(RcvDataFT, FT, M13)
ONE_VALUE(RcvDataFW, FW, M13)
ONE_VALUE(RcvDataGT, GT, M13)
ONE_VALUE(RcvDataKS, KS, M13)
ONE_VALUE(RcvDataKY, KY, M13)
ONE_VALUE(RcvDataLM, LM, M13)
ONE_VALUE(RcvDataLT, LT, M3)
ONE_VALUE(RcvDataMD, MD, M13)
ONE_VALUE(RcvDataMF, MF, M3)
ONE_VALUE(RcvDataMG, MG, M13)
ONE_VALUE(RcvDataML, ML, M3)
ONE_VALUE(RcvDataMO, MO, M3)
ONE_VALUE(RcvDataNB, NB, M13)
ONE_VALUE(RcvDataNL, NL, M3)
ONE_VALUE(RcvDataNR, NR, M13)
ONE_VALUE(RcvDataNT, NT, M3)
ONE_VALUE(RcvDataOF, OF, M3)
ONE_VALUE(RcvDataOS, OS, M3)
ONE_VALUE(RcvDataPB, PB, M13)
ONE_VALUE(RcvDataPC, PC, M13)
ONE_VALUE(RcvDataPM, PM, M3)
ONE_VALUE(RcvDataPR, PR, M13)
ONE_VALUE(RcvDataPS, PS, M13)
ONE_VALUE(RcvDataQC, QC, M3)
ONE_VALUE(RcvDataRD, RD, M3)
ONE_VALUE(RcvDataRG, RG, M13)
ONE_VALUE(RcvDataRL, RL, M3)
ONE_VALUE(RcvDataRT, RT, M13)
ONE_VALUE(RcvDataRU, RU, M3)
ONE_VALUE(RcvDataRX, RX, M3)
ONE_VALUE(RcvDataSB, SB, M3)
ONE_VALUE(RcvDataSC, SC, M13)
ONE_VALUE(RcvDataSD, SD, M13)
ONE_VALUE(RcvDataSH, SH, M13)
ONE_VALUE(RcvDataSL, SL, M13)
ONE_VALUE(RcvDataSS, SS, M3)
ONE_VALUE(RcvDataST, ST, M3)
ONE_VALUE(RcvDataTN, TN, M13)
ONE_VALUE(RcvDataTO, TO, M13)
ONE_VALUE(RcvDataTS, TS, M3)
ONE_VALUE(RcvDataTX, TX, M3)
ONE_VALUE(RcvDataUL, UL, M3)
ONE_VALUE(RcvDataVD, VD, M13)
ONE_VALUE(RcvDataVG, VG, M13)
ONE_VALUE(RcvDataVX, VX, M13)
ONE_VALUE(RcvDataXT, XT, M13)
// clang-format on

std::int32_t CCorvan::RcvDataAC(std::uint32_t* a, std::uint32_t* b, std::uint32_t* c)
{
    return Values(Rec::AC, M13, {a, b, c});
}

std::int32_t CCorvan::RcvDataDC(std::uint32_t* a, std::uint32_t* b) { return Values(Rec::DC, M3, {a, b}); }
std::int32_t CCorvan::RcvDataLK(std::uint32_t* a, std::uint32_t* b) { return Values(Rec::LK, M13, {a, b}); }
std::int32_t CCorvan::RcvDataPL(std::uint32_t* a, std::uint32_t* b) { return Values(Rec::PL, M3, {a, b}); }
std::int32_t CCorvan::RcvDataQR(std::uint32_t* a, std::uint32_t* b) { return Values(Rec::QR, M3, {a, b}); }
std::int32_t CCorvan::RcvDataTC(std::uint32_t* a, std::uint32_t* b) { return Values(Rec::TC, M3, {a, b}); }

std::int32_t CCorvan::RcvDataTI(std::uint32_t* a, std::uint32_t* b, std::uint32_t* c)
{
    return Values(Rec::TI, M3, {a, b, c});
}

std::int32_t CCorvan::RcvDataMU(std::uint32_t* v0, std::uint32_t* v1, std::uint32_t* v2, std::uint32_t* v3,
                                std::uint32_t* v4, std::uint32_t* v5, std::uint32_t* v6, std::uint32_t* v7,
                                std::uint32_t* v8, std::uint32_t* v9)
{
    return Values(Rec::MU, M3, {v0, v1, v2, v3, v4, v5, v6, v7, v8, v9});
}

std::int32_t CCorvan::RcvDataSU(std::uint32_t* v0, std::uint32_t* v1, std::uint32_t* v2, std::uint32_t* v3,
                                std::uint32_t* v4, std::uint32_t* v5, std::uint32_t* v6, std::uint32_t* v7,
                                std::uint32_t* v8, std::uint32_t* v9, std::uint32_t* v10)
{
    return Values(Rec::SU, M3, {v0, v1, v2, v3, v4, v5, v6, v7, v8, v9, v10});
}

std::int32_t CCorvan::RcvDataTY(std::uint32_t* bit0, std::uint32_t* bit1, std::uint32_t* bit2,
                                std::uint32_t* bit3, std::uint32_t* bit4, std::uint32_t* bit5,
                                std::uint32_t* bit6, std::uint32_t* bit7, std::uint32_t* digit)
{
    return Values(Rec::TY, M3, {bit0, bit1, bit2, bit3, bit4, bit5, bit6, bit7, digit});
}

namespace {

// Model type 1 replies carry only the first value of these codes.
std::int32_t PairOrFirst(Rec record, std::uint32_t* a, std::uint32_t* b)
{
    if (CCorvan::GetModelType() == 1) {
        Put(b, 0);
        return Values(record, M1, {a});
    }
    return Values(record, M3, {a, b});
}

} // namespace

std::int32_t CCorvan::RcvDataBY(std::uint32_t* a, std::uint32_t* b) { return PairOrFirst(Rec::BY, a, b); }
std::int32_t CCorvan::RcvDataPA(std::uint32_t* a, std::uint32_t* b) { return PairOrFirst(Rec::PA, a, b); }
std::int32_t CCorvan::RcvDataRA(std::uint32_t* a, std::uint32_t* b) { return PairOrFirst(Rec::RA, a, b); }

std::int32_t CCorvan::RcvDataMC(std::uint32_t* a, std::uint32_t* channel)
{
    ZeroAll({a, channel});
    Record x;
    if (!Fetch(Rec::MC, M13, x))
        return 0;
    if (GetModelType() != 1)
        Put(a, x.num[0]);
    Put(channel, x.num[1]);
    return 1;
}

std::int32_t CCorvan::RcvDataRM(std::uint32_t* selector, std::uint32_t* value)
{
    Global().ClearPending(Pending::RM);
    return Values(Rec::RM, M13, {selector, value});
}

std::int32_t CCorvan::RcvDataAG(std::uint32_t receiver, std::uint32_t* gain)
{
    Put(gain, 0);
    return receiver <= 1 ? OneValue(Offset(Rec::AG0, receiver), M13, gain) : 0;
}

std::int32_t CCorvan::RcvDataAR(std::uint32_t receiver, std::uint32_t* a, std::uint32_t* b)
{
    ZeroAll({a, b});
    return receiver <= 1 ? Values(Offset(Rec::AR0, receiver), M3, {a, b}) : 0;
}

std::int32_t CCorvan::RcvDataSQ(std::uint32_t receiver, std::uint32_t* v)
{
    Put(v, 0);
    return receiver <= 1 ? OneValue(Offset(Rec::SQ0, receiver), M13, v) : 0;
}

std::int32_t CCorvan::RcvDataSM(std::uint32_t meter, std::uint32_t* v)
{
    Put(v, 0);
    if (meter > 3)
        return 0;
    Global().ClearPending(static_cast<Pending>(static_cast<std::uint32_t>(Pending::SM0) + meter));
    return OneValue(Offset(Rec::SM0, meter), M13, v);
}

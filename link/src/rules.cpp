// SPDX-License-Identifier: GPL-3.0-or-later
// The table of stored replies.
#include "rules.h"

namespace corvan::detail {

namespace {

constexpr Field D(std::uint8_t pos, std::uint8_t slot) { return {Kind::Digit, pos, 1, slot, 0}; }
constexpr Field NA(std::uint8_t pos, std::uint8_t width, std::uint8_t slot)
{
    return {Kind::NumAt, pos, width, slot, 0};
}
constexpr Field NF(std::uint8_t pos, std::uint8_t slot) { return {Kind::NumFrom, pos, 0, slot, 0}; }
constexpr Field TA(std::uint8_t pos, std::uint8_t width, std::uint8_t slot, std::uint8_t size)
{
    return {Kind::TextAt, pos, width, slot, size};
}
constexpr Field TF(std::uint8_t pos, std::uint8_t slot, std::uint8_t size)
{
    return {Kind::TextFrom, pos, 0, slot, size};
}
constexpr Field CH(std::uint8_t pos, std::uint8_t slot) { return {Kind::Char, pos, 1, slot, 0}; }
constexpr Field Z(std::uint8_t slot) { return {Kind::Zero, 0, 0, slot, 0}; }
constexpr Field DP(std::uint8_t pos, std::uint8_t slot) { return {Kind::DigitPair, pos, 2, slot, 0}; }
constexpr Field HB(std::uint8_t pos) { return {Kind::HexBits, pos, 2, 0, 0}; }

constexpr Field kDigit2[] = {D(2, 0)};
constexpr Field kDigits23[] = {D(2, 0), D(3, 1)};
constexpr Field kDigits234[] = {D(2, 0), D(3, 1), D(4, 2)};
constexpr Field kNum2[] = {NF(2, 0)};
constexpr Field kNum3[] = {NF(3, 0)};
constexpr Field kDigits34[] = {D(3, 0), D(4, 1)};
constexpr Field kAS[] = {D(2, 0), NA(3, 2, 1), TA(5, 11, 0, 20), D(16, 2)};
constexpr Field kEX1[] = {NA(2, 3, 0), NA(5, 2, 1)};
constexpr Field kEX3[] = {NA(2, 3, 0), NA(5, 2, 1), D(7, 2), D(8, 3), TF(9, 0, 20)};
constexpr Field kFreq[] = {TF(2, 0, 20)};
constexpr Field kFD[] = {TF(2, 0, 12)};
constexpr Field kIF1[] = {TA(2, 11, 0, 20), NA(13, 5, 0), NA(18, 5, 1), D(23, 2), D(24, 3),
                          D(25, 4), NA(26, 2, 5), D(28, 6), D(29, 7), D(30, 8), D(31, 9),
                          D(32, 10), D(33, 11), NA(34, 2, 12), D(36, 13)};
constexpr Field kIF3[] = {TA(2, 11, 0, 20), NA(13, 4, 0), NA(17, 6, 1), D(23, 2), D(24, 3),
                          D(25, 4), NA(26, 2, 5), D(28, 6), D(29, 7), D(30, 8), D(31, 9),
                          D(32, 10), D(33, 11), NA(34, 2, 12), D(36, 13)};
constexpr Field kIS[] = {CH(2, 0), NF(3, 1)};
constexpr Field kMC1[] = {Z(0), NF(3, 1)};
constexpr Field kMC3[] = {D(2, 0), NF(3, 1)};
constexpr Field kMR1[] = {NA(4, 2, 1), TA(6, 11, 0, 20), D(17, 2), D(18, 3), D(19, 4),
                          NA(20, 2, 5)};
constexpr Field kMR3[] = {D(3, 0),     NA(4, 2, 1),  TA(6, 11, 0, 20), D(17, 2),  D(18, 3),
                          D(19, 4),    NA(20, 2, 5), NA(22, 2, 6),     NA(24, 3, 7), D(27, 8),
                          D(28, 9),    NA(29, 9, 10), NA(38, 2, 11),   D(40, 12), TA(41, 8, 1, 20)};
constexpr Field kMU[] = {D(2, 0), D(3, 1), D(4, 2), D(5, 3), D(6, 4),
                         D(7, 5), D(8, 6), D(9, 7), D(10, 8), D(11, 9)};
constexpr Field kPK[] = {TA(2, 11, 0, 20), TA(13, 12, 1, 20), TA(25, 20, 2, 40), TA(45, 5, 3, 12)};
constexpr Field kPL[] = {NA(2, 3, 0), NF(5, 1)};
constexpr Field kRA3[] = {DP(2, 0), DP(4, 1)};
constexpr Field kRM[] = {D(2, 0), NF(3, 1)};
constexpr Field kSA[] = {D(2, 0), D(3, 1), D(4, 2), D(5, 3), D(6, 4), D(7, 5), D(8, 6), TF(9, 0, 12)};
constexpr Field kSU[] = {D(2, 0), D(3, 1), D(4, 2), D(5, 3),  D(6, 4),  D(7, 5),
                         D(8, 6), D(9, 7), D(10, 8), D(11, 9), D(12, 10)};
constexpr Field kTY[] = {HB(2), D(4, 8)};

constexpr Rule R(const char (&code)[3], std::uint8_t models, Rec rec, std::span<const Field> f)
{
    return {{code[0], code[1], '\0'}, models, rec, -1, 1, 0, Special::None, f};
}
constexpr Rule RI(const char (&code)[3], std::uint8_t models, Rec rec, std::uint8_t count,
                  std::span<const Field> f, std::uint8_t length = 0)
{
    return {{code[0], code[1], '\0'}, models, rec, 2, count, length, Special::None, f};
}
constexpr Rule RL(const char (&code)[3], std::uint8_t models, Rec rec, std::uint8_t length,
                  std::span<const Field> f)
{
    return {{code[0], code[1], '\0'}, models, rec, -1, 1, length, Special::None, f};
}
constexpr Rule RS(const char (&code)[3], std::uint8_t models, Rec rec, Special s,
                  std::span<const Field> f)
{
    return {{code[0], code[1], '\0'}, models, rec, -1, 1, 0, s, f};
}

// Levels (gains, settings with a number, the meter readings) are taken only at
// the width the radio writes them: a reply cut short or run long on a noisy
// line reads as some other level ("AG013" would be receiver 0 at 13) and is
// dropped like any other malformed reply.
constexpr Rule kRules[] = {
    R("AC", M123, Rec::AC, kDigits234),
    RL("AG", M1, Rec::AG0, 5, kNum2),
    RI("AG", M3, Rec::AG0, 2, kNum3, 6),
    R("AI", M123, Rec::AI, kDigit2),
    RL("AL", M3, Rec::AL, 5, kNum2),
    R("AM", M3, Rec::AM, kDigit2),
    R("AN", M123, Rec::AN, kDigit2),
    RI("AR", M3, Rec::AR0, 2, kDigits34),
    R("AS", M3, Rec::AS, kAS),
    R("BC", M123, Rec::BC, kDigit2),
    RL("BP", M3, Rec::BP, 5, kNum2),
    R("BY", M12, Rec::BY, kDigit2),
    R("BY", M3, Rec::BY, kDigits23),
    R("CA", M13, Rec::CA, kDigit2),
    RL("CG", M23, Rec::CG, 5, kNum2),
    R("CM", M3, Rec::CM, kDigit2),
    R("CN", M13, Rec::CN, kNum2),
    R("CT", M123, Rec::CT, kDigit2),
    R("DC", M3, Rec::DC, kDigits23),
    R("DQ", M3, Rec::DQ, kDigit2),
    R("EX", M1, Rec::EX, kEX1),
    RS("EX", M3, Rec::EX, Special::DirectFromEx, kEX3),
    RL("FA", M123, Rec::FA, 13, kFreq),
    RL("FB", M123, Rec::FB, 13, kFreq),
    RL("FC", M3, Rec::FC, 13, kFreq),
    R("FD", M23, Rec::FD, kFD),
    R("FR", M13, Rec::FR, kDigit2),
    R("FS", M123, Rec::FS, kDigit2),
    R("FT", M13, Rec::FT, kDigit2),
    R("FW", M123, Rec::FW, kNum2),
    RL("GT", M123, Rec::GT, 5, kNum2),
    RS("ID", MAll, Rec::ID, Special::Identity, kNum2),
    R("IF", M1, Rec::IF, kIF1),
    RL("IF", M3, Rec::IF, 37, kIF3),
    R("IS", M123, Rec::IS, kIS),
    RL("KS", M123, Rec::KS, 5, kNum2),
    R("KY", M123, Rec::KY, kDigit2),
    R("LK", M1, Rec::LK, kDigit2),
    R("LK", M3, Rec::LK, kDigits23),
    R("LM", M123, Rec::LM, kDigit2),
    R("LT", M3, Rec::LT, kDigit2),
    R("MC", M1, Rec::MC, kMC1),
    R("MC", M3, Rec::MC, kMC3),
    R("MD", M123, Rec::MD, kDigit2),
    R("MF", M3, Rec::MF, kDigit2),
    RL("MG", M123, Rec::MG, 5, kNum2),
    RL("ML", M3, Rec::ML, 5, kNum2),
    R("MO", M3, Rec::MO, kDigit2),
    RI("MR", M1, Rec::MR0, 2, kMR1),
    RI("MR", M3, Rec::MR0, 2, kMR3),
    R("MU", M3, Rec::MU, kMU),
    R("NB", M123, Rec::NB, kDigit2),
    RL("NL", M3, Rec::NL, 5, kNum2),
    R("NR", M13, Rec::NR, kDigit2),
    R("NT", M23, Rec::NT, kDigit2),
    R("OF", M3, Rec::OF, kNum2),
    RL("OI", M3, Rec::OI, 37, kIF3),
    R("OS", M23, Rec::OS, kDigit2),
    R("PA", M12, Rec::PA, kDigit2),
    R("PA", M3, Rec::PA, kDigits23),
    R("PB", M123, Rec::PB, kDigit2),
    RL("PC", M123, Rec::PC, 5, kNum2),
    R("PK", M3, Rec::PK, kPK),
    R("PL", M23, Rec::PL, kPL),
    R("PM", M3, Rec::PM, kDigit2),
    R("PR", M123, Rec::PR, kDigit2),
    R("PS", M123, Rec::PS, kDigit2),
    R("QC", M23, Rec::QC, kNum2),
    R("QR", M3, Rec::QR, kDigits23),
    R("RA", M12, Rec::RA, kNum2),
    R("RA", M3, Rec::RA, kRA3),
    R("RD", M3, Rec::RD, kNum2),
    R("RT", M123, Rec::RT, kDigit2),
    R("RU", M3, Rec::RU, kNum2),
    R("RX", M3, Rec::RX, kNum2),
    R("XT", M123, Rec::XT, kDigit2),
    RL("RG", M123, Rec::RG, 5, kNum2),
    RL("RL", M3, Rec::RL, 4, kNum2),
    RL("RM", M123, Rec::RM, 7, kRM),
    R("SA", M3, Rec::SA, kSA),
    R("SB", M23, Rec::SB, kDigit2),
    R("SC", M13, Rec::SC, kDigit2),
    RL("SD", M123, Rec::SD, 6, kNum2),
    R("SH", M123, Rec::SH, kNum2),
    R("SL", M123, Rec::SL, kNum2),
    RL("SM", M1, Rec::SM0, 6, kNum2),
    RI("SM", M3, Rec::SM0, 4, kNum3, 7),
    RL("SQ", M1, Rec::SQ0, 5, kNum2),
    RI("SQ", M3, Rec::SQ0, 2, kNum3, 6),
    R("SS", M3, Rec::SS, kDigit2),
    R("ST", M3, Rec::ST, kNum2),
    R("SU", M3, Rec::SU, kSU),
    RS("TC", M3, Rec::TC, Special::DirectFromTc, kDigits23),
    R("TI", M3, Rec::TI, kDigits234),
    R("TN", M13, Rec::TN, kNum2),
    R("TO", M123, Rec::TO, kDigit2),
    R("TS", M3, Rec::TS, kDigit2),
    R("TX", M3, Rec::TX, kNum2),
    R("TY", M3, Rec::TY, kTY),
    R("UL", M3, Rec::UL, kDigit2),
    RL("VD", M123, Rec::VD, 6, kNum2),
    RL("VG", M13, Rec::VG, 5, kNum2),
    R("VX", M123, Rec::VX, kDigit2),
};

constexpr std::size_t kRuleCount = sizeof(kRules) / sizeof(kRules[0]);
constexpr std::uint8_t kNoRule = 0xFF;
static_assert(kRuleCount < kNoRule);

// First rule of every code "AA".."ZZ"; the rules of one code stand together.
struct CodeIndex {
    std::uint8_t first[26 * 26];
    constexpr CodeIndex() : first{}
    {
        for (auto& f : first)
            f = kNoRule;
        for (std::size_t i = kRuleCount; i-- > 0;)
            first[(kRules[i].code[0] - 'A') * 26 + (kRules[i].code[1] - 'A')] =
                static_cast<std::uint8_t>(i);
    }
};
constexpr CodeIndex kIndex;

std::size_t FirstRule(const char* piece)
{
    const unsigned a = static_cast<unsigned char>(piece[0]) - 'A';
    const unsigned b = static_cast<unsigned char>(piece[1]) - 'A';
    if (a >= 26 || b >= 26)
        return kNoRule;
    return kIndex.first[a * 26 + b];
}

} // namespace

std::span<const Rule> ReplyRules() { return kRules; }

const Rule* FindRule(const char* piece, std::uint32_t model)
{
    std::size_t i = FirstRule(piece);
    if (i == kNoRule)
        return nullptr;
    for (; i < kRuleCount && kRules[i].code[0] == piece[0] && kRules[i].code[1] == piece[1]; ++i) {
        if (HasModel(kRules[i].models, model))
            return &kRules[i];
    }
    return nullptr;
}

bool IsStoredCode(const char* piece) { return FirstRule(piece) != kNoRule; }

} // namespace corvan::detail

// SPDX-License-Identifier: GPL-3.0-or-later
// The reply decoder.
#include "decoder.h"

#include "rules.h"

#include <algorithm>
#include <cstring>

namespace corvan::detail {

namespace {

// A piece is copied into a zeroed buffer long enough for every field
// position of the table, so reading past the piece's end finds zeros.
constexpr std::size_t kPieceBuffer = 320;

// A digit as its stored 32-bit pattern.
std::uint32_t Stored(int digit) { return static_cast<std::uint32_t>(digit); }

// Applies one field of `rule` to `x`; false when the reply is refused (cut
// off before one of its digit fields, or a byte that is no hexadecimal pair).
bool ApplyField(const Field& f, const char* piece, std::size_t len, Record& x)
{
    switch (f.kind) {
    case Kind::Digit:
        if (f.pos >= len)
            return false;
        x.num[f.slot] = Stored(DigitOf(piece[f.pos]));
        return true;
    case Kind::NumAt:
        x.num[f.slot] = ParseNumber(piece + f.pos, f.width);
        return true;
    case Kind::NumFrom:
        x.num[f.slot] = f.pos < len ? ParseNumber(piece + f.pos, len - f.pos) : 0;
        return true;
    case Kind::TextAt:
    case Kind::TextFrom: {
        auto& t = x.text[f.slot];
        t.fill('\0');
        std::size_t n = f.kind == Kind::TextAt ? f.width : (f.pos < len ? len - f.pos : 0);
        if (n > static_cast<std::size_t>(f.size) - 1)
            n = static_cast<std::size_t>(f.size) - 1;
        // The piece buffer is zero past the piece, so the copy ends there.
        std::size_t i = 0;
        for (; i < n && piece[f.pos + i] != '\0'; ++i)
            t[i] = piece[f.pos + i];
        return true;
    }
    case Kind::Char:
        x.num[f.slot] = static_cast<unsigned char>(piece[f.pos]);
        return true;
    case Kind::Zero:
        x.num[f.slot] = 0;
        return true;
    case Kind::DigitPair:
        if (f.pos + 1u >= len)
            return false;
        x.num[f.slot] = Stored(DigitOf(piece[f.pos]) * 10 + DigitOf(piece[f.pos + 1]));
        return true;
    case Kind::HexBits: {
        char hex[3] = {piece[f.pos], piece[f.pos + 1], '\0'};
        char bits[9] = {};
        if (hex[0] == '\0' || hex[1] == '\0' || HexToBinary(hex, bits) == nullptr)
            return false;
        // bits[] holds bit 7 first; the store keeps bit 0 first.
        for (int i = 0; i < 8; ++i)
            x.num[static_cast<std::size_t>(i)] = bits[7 - i] == '1' ? 1u : 0u;
        return true;
    }
    }
    return false;
}

// Stores one accepted piece (caller holds b.mu).
void StorePiece(const char* piece, std::size_t len, Block& b)
{
    const std::uint32_t model = b.modelType.load();
    const Rule* rule = FindRule(piece, model);
    if (rule == nullptr)
        return;
    if (rule->exactLength != 0 && len != rule->exactLength)
        return;
    Rec r = rule->record;
    if (rule->indexPos >= 0) {
        const auto at = static_cast<std::size_t>(rule->indexPos);
        const int index = at < len ? DigitOf(piece[at]) : -1;
        if (index < 0 || index >= rule->indexCount)
            return;
        r = Offset(r, static_cast<std::uint32_t>(index));
    }
    Record x = b.rec[static_cast<std::size_t>(r)];
    for (const Field& f : rule->fields) {
        if (!ApplyField(f, piece, len, x))
            return;
    }
    x.valid = 1;
    b.rec[static_cast<std::size_t>(r)] = x;

    switch (rule->special) {
    case Special::None:
        break;
    case Special::Identity:
        b.modelType.store(ModelFromIdentity(x.num[0]));
        break;
    case Special::DirectFromEx:
        b.directMode.store(std::strncmp(piece, "EX05500001", 10) == 0 ? 1u : 0u);
        break;
    case Special::DirectFromTc:
        // The second field as stored: "TC00" and "TC 0" both enter terminal mode.
        b.directMode.store(x.num[1] == 0 ? 1u : 0u);
        break;
    }
}

} // namespace

std::uint32_t ParseNumber(const char* p, std::size_t n)
{
    std::size_t i = 0;
    while (i < n && p[i] == ' ')
        ++i;
    bool negative = false;
    if (i < n && (p[i] == '+' || p[i] == '-')) {
        negative = p[i] == '-';
        ++i;
        while (i < n && p[i] == ' ')
            ++i;
    }
    constexpr std::int64_t kLimit = 2147483648LL;
    std::int64_t v = 0;
    for (; i < n && p[i] >= '0' && p[i] <= '9'; ++i) {
        v = v * 10 + (p[i] - '0');
        if (v > kLimit)
            v = kLimit;
    }
    if (negative)
        v = -v;
    else if (v > kLimit - 1)
        v = kLimit - 1;
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(v));
}

bool CommandCheck(const char* piece, std::size_t len, const Block& b)
{
    const Record& ty = b.rec[static_cast<std::size_t>(Rec::TY)];
    bool extended = false;
    if (ty.valid == 1 && ty.num[8] == 0) {
        const std::uint32_t low = ty.num[0] | (ty.num[1] << 1) | (ty.num[2] << 2) | (ty.num[3] << 3);
        extended = low == 1 || low == 2 || low == 6 || low == 9 || low == 10;
    }
    const unsigned char top = extended ? 0xFF : 0x7F;
    for (std::size_t i = 0; i < len; ++i) {
        const auto c = static_cast<unsigned char>(piece[i]);
        if (c < 0x20 || c > top)
            return false;
    }
    return true;
}

std::uint32_t ModelFromIdentity(std::uint32_t identity)
{
    switch (identity) {
    case 15:
        return 2;
    case 17:
    case 18:
        return 1;
    case 19:
        return 3;
    default:
        return 0;
    }
}

void ConstituteData(const char* text, std::size_t len, Block& b)
{
    std::size_t start = 0;
    while (start < len) {
        const void* semi = std::memchr(text + start, ';', len - start);
        if (semi == nullptr)
            return;
        const std::size_t end = static_cast<std::size_t>(static_cast<const char*>(semi) - text);
        const std::size_t n = end - start;
        char piece[kPieceBuffer] = {};
        bool accepted = false;
        if (n <= kPieceMax) {
            std::memcpy(piece, text + start, n);
            std::lock_guard lock(b.mu);
            accepted = CommandCheck(piece, n, b);
            if (accepted)
                StorePiece(piece, n, b);
        }
        // A rejected or overlong piece is an empty text: it matches no code.
        if (accepted && n >= 2)
            WinMsgSend(piece, n, b);
        start = end + 1;
    }
}

void DirectDataIO(const char* text, std::size_t len, Block& b)
{
    {
        // Only the newest kDirectMax bytes of the joined text are kept.
        char fresh[kDirectMax];
        std::size_t n = 0;
        std::size_t i = len;
        while (i > 0 && n < kDirectMax) {
            --i;
            if (text[i] != '\0')
                ++n;
        }
        std::size_t k = 0;
        for (; i < len; ++i) {
            if (text[i] != '\0')
                fresh[k++] = text[i];
        }
        std::lock_guard lock(b.mu);
        const std::size_t keep = std::min(b.directLen, kDirectMax - n);
        std::memmove(b.direct.data(), b.direct.data() + (b.directLen - keep), keep);
        std::memcpy(b.direct.data() + keep, fresh, n);
        b.directLen = keep + n;
        b.direct[b.directLen] = '\0';
    }
    std::lock_guard targetLock(b.targetMu);
    if (b.target == nullptr)
        return;
    bool post = false;
    {
        std::lock_guard lock(b.mu);
        auto& flag = b.pending[static_cast<std::size_t>(Pending::Direct)];
        if (flag == 0) {
            flag = 1;
            post = true;
        }
    }
    if (post)
        b.target->post(kMessageDirect, 0, 0);
}

char* HexToBinary(char* hex, char* out)
{
    for (std::size_t i = 0; hex[i] != '\0'; ++i) {
        char c = hex[i];
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        hex[i] = c;
        int v;
        if (c >= '0' && c <= '9')
            v = c - '0';
        else if (c >= 'A' && c <= 'F')
            v = c - 'A' + 10;
        else
            return nullptr;
        for (int bit = 0; bit < 4; ++bit)
            out[i * 4 + static_cast<std::size_t>(bit)] = (v & (8 >> bit)) != 0 ? '1' : '0';
    }
    return out;
}

} // namespace corvan::detail

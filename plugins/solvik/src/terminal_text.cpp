// SPDX-License-Identifier: GPL-3.0-or-later
#include "terminal_text.h"

#include <corvan.h>

namespace solvik {

std::size_t MaxPiece() { return corvan::kDirectTextSize - 1; }

std::string CleanReceived(std::string_view raw, bool& pendingCr) {
    std::string out;
    out.reserve(raw.size());
    for (const char c : raw) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            // The LF of a CR LF pair: the line already ended.
            if (!pendingCr)
                out.push_back('\n');
            pendingCr = false;
            continue;
        }
        pendingCr = false;
        if (c == '\r') {
            out.push_back('\n');
            pendingCr = true;
        } else if (c == '\t' || byte >= 0x20) {
            if (byte != 0x7F)
                out.push_back(c);
        } else if (c == '\b') {
            if (!out.empty() && out.back() != '\n')
                out.pop_back();
        }
    }
    return out;
}

std::vector<std::string> PiecesOf(std::string_view line, std::size_t maxPiece) {
    std::string whole(line);
    whole.push_back('\r');
    std::vector<std::string> pieces;
    if (maxPiece == 0)
        return pieces;
    for (std::size_t at = 0; at < whole.size(); at += maxPiece)
        pieces.push_back(whole.substr(at, maxPiece));
    return pieces;
}

void AppendBounded(std::string& kept, std::string_view more, std::size_t limit) {
    kept.append(more);
    if (kept.size() <= limit)
        return;
    std::size_t drop = kept.size() - limit;
    const std::size_t lineEnd = kept.find('\n', drop);
    if (lineEnd != std::string::npos && lineEnd + 1 < kept.size())
        drop = lineEnd + 1;
    kept.erase(0, drop);
}

} // namespace solvik

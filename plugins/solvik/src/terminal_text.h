// SPDX-License-Identifier: GPL-3.0-or-later
// terminal_text.h - the terminal's text on its way in and out. No Qt.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace solvik {

// The longest text the link takes for its direct path in one piece.
std::size_t MaxPiece();

// Received terminal text made fit to show: CR, LF and CR LF become one line
// end, also when a CR LF pair is split across two arrivals (`pendingCr`
// carries the state); tab stays; backspace removes the character before it
// within this text; other control bytes are dropped; bytes above 0x7E are
// kept (shown as Latin-1).
std::string CleanReceived(std::string_view raw, bool& pendingCr);

// The bytes that go out for a typed line: the text and a carriage return,
// cut in pieces of at most `maxPiece` bytes that keep the order.
std::vector<std::string> PiecesOf(std::string_view line, std::size_t maxPiece);

// Keeps the newest `limit` bytes of `kept` after appending `more`, cut at a
// line end when one lies in the part dropped.
void AppendBounded(std::string& kept, std::string_view more, std::size_t limit);

} // namespace solvik

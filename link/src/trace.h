// SPDX-License-Identifier: GPL-3.0-or-later
// The traffic trace: every byte written and read, with a timestamp and its
// direction, appended to a file the operator names (ZEPHYRA_TRACE or SetTrace).
#pragma once

#include <cstddef>
#include <string>

namespace corvan::detail {

// Reads ZEPHYRA_TRACE once per process.
void TraceInit();
// Opens (appending) or, for null or "", stops the trace. False when the file
// cannot be opened (tracing is then off).
bool TraceOpen(const char* path);
bool TraceActive();
// One line: timestamp, direction ('>' written, '<' read), the bytes with
// control bytes and bytes above 0x7E shown as <XX>.
void TraceBytes(char direction, const void* data, std::size_t length);
// One line of text about the link ('!'), printf-style.
void TraceNote(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The visible form of some bytes (also used by the command-line tool).
std::string Visible(const void* data, std::size_t length);

} // namespace corvan::detail

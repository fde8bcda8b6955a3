// SPDX-License-Identifier: GPL-3.0-or-later
// memory_table_parts.h - what the files of the "Memory Channels" window
// share inside this library: the window's data (the channels as read and as
// edited, the running read or write) and the texts a channel is shown in.
// Not for use outside the library; memory_table.h is its interface.
#pragma once

#include "memory_channels.h"
#include "memory_table.h"

#include <QString>

#include <cstdint>
#include <string>
#include <vector>

namespace memory_table {

using memory_channels::Channel;
using memory_channels::LinkResult;
using memory_channels::SmallerFamily;
namespace mc = memory_channels;

inline constexpr const char* kToneTypes[] = {"OFF", "TONE", "CTCSS", "DCS"};
inline constexpr const char* kShifts[] = {"OFF", "+", "-", "="};

QString Q(const std::string& text);      // Latin-1, as the radio's names are
std::string Upper(const QString& text);  // a cell's text trimmed, in capitals
QString RadioModeName(int mode);         // "FM", "CW-R"
QString Megahertz(std::int64_t hz); // empty for 0
// A channel as MW writes it: every field of both halves, whether in use or
// not, so that no change the write makes is hidden.
QString Describe(const Channel& c);
// "007: <before>  ->  <after>", one line of the write preview.
QString ChangeLine(const Channel& before, const Channel& after);
// "007, 012, CALL"; "none" for no channel.
QString NumberList(const std::vector<int>& numbers);

struct MemoryTableWindow::Data {
    std::vector<Channel> radio;
    std::vector<Channel> edited;
    // The running read or write.
    std::vector<int> rows;      // table rows to go through
    std::size_t position = 0;
    bool cancelRequested = false;
    // Before the first MW every channel to be written is read again; the
    // backup is made of what that read found.
    bool checking = false;
    std::vector<Channel> fresh;
    QString conflict;           // a channel changed in the radio since the table read it
    std::vector<int> written;   // channel numbers
    std::vector<int> differing;
    std::vector<int> refused;
    QString backupPath;
};

} // namespace memory_table

// SPDX-License-Identifier: GPL-3.0-or-later
// memory_channels.h - the radio's memory channels as plain data: one channel
// record, the rules a channel must keep to be written, the CSV file layout
// that repeater lists are exchanged in (CHIRP's columns), and reading and
// writing single channels through the link with MR and MW.
//
// No Qt here: the table window (memory_table.h) and the bench build on it.
//
// Threading: everything runs on the caller's thread. The link functions
// block the caller until the radio answered or their time ran out; call them
// from the thread that owns the link's commands (the console's UI thread).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class CCorvan;

namespace memory_channels {

inline constexpr int kChannelCount = 300;   // bank 0..2, channel 0..99
inline constexpr int kCallChannel = 300;    // bank 3, channel 0
inline constexpr int kFirstProgramScan = 290;
inline constexpr std::size_t kNameLimit = 8;
inline constexpr std::int64_t kFrequencyMax = 99'999'999'999;
inline constexpr std::int64_t kOffsetStep = 50'000;
inline constexpr std::int64_t kOffsetMax = 59'950'000;

// One memory channel: its receive half and, where it has one, a separate
// transmit half (txFrequency 0 = none). Field ranges as the radio takes
// them in MW.
struct Channel {
    int number = 0;               // 0..299, 300 the call channel
    std::int64_t rxFrequency = 0; // 0: the channel is empty
    int rxMode = 4;               // 1 LSB, 2 USB, 3 CW, 4 FM, 5 AM, 6 FSK, 7 CW-R, 9 FSK-R
    int rxStep = 0;               // index into the mode's step list
    std::int64_t txFrequency = 0;
    int txMode = 4;
    int txStep = 0;
    int toneType = 0;             // 0 off, 1 tone, 2 CTCSS, 3 DCS
    int toneNumber = 1;           // 1..39 (39 = 1750 Hz); 0 none chosen
    int ctcssNumber = 1;          // 1..38; 0 none chosen
    int dcsCode = 0;              // 0..103, index into the DCS codes
    int reverse = 0;
    int shift = 0;                // 0 simplex, 1 +, 2 -, 3 =
    std::int64_t offset = 0;      // hertz, 0..59 950 000 in 50 kHz steps
    int group = 0;                // 0..9
    int lockout = 0;
    std::string name;             // up to 8 characters

    bool empty() const { return rxFrequency == 0; }
    bool operator==(const Channel&) const = default;
};

// ---------------------------------------------------------------- rules

// The number shown for a channel: "000".."299", "CALL".
std::string ChannelLabel(int number);
int BankOf(int number);
int SlotOf(int number);

// Steps in hundredths of a kilohertz for a mode (FM and AM ten, others four).
const std::vector<int>& StepHundredths(int mode);
// The name of a mode code ("FM"), empty for a code the radio lacks.
std::string ModeName(int mode);
std::optional<int> ModeFromName(const std::string& name);

// Where a frequency may lie: the link's band lookup by default.
using BandCheck = std::function<bool(std::int64_t hz)>;
BandCheck LinkBandCheck(CCorvan& link);
// Without a radio: the bands of the main and sub receivers of the base model.
bool InSomeBand(std::int64_t hz);

// Empty when the channel can be written; else the first reason it cannot.
// `version` is the radio's version type (Latin-1 names for 5..9).
std::string CheckChannel(const Channel& channel, const BandCheck& inBand, std::uint32_t version);
std::string CheckName(const std::string& name, std::uint32_t version);

// Texts of one field as the table and the CSV files write them, and back.
std::string StepText(int mode, int step);                 // "12.50" (kHz)
std::optional<int> StepIndexOf(int mode, const std::string& kiloHertz);
std::string ToneText(int toneNumber);                     // "88.5", "1750.0"
std::optional<int> ToneNumberOf(const std::string& hertz); // 1..39
std::optional<int> CtcssNumberOf(const std::string& hertz); // 1..38
std::string DcsText(int dcsCode);                         // "023"
std::optional<int> DcsCodeOf(const std::string& code);    // 0..103
// The same channel with the fields that carry nothing made plain: an empty
// channel is all defaults; without a transmit half the transmit mode and
// step are the receive ones; a tone number 0 (none chosen) is the first.
Channel Normalised(const Channel& channel);

// Decimal megahertz ("146.94", "146.940000") to hertz, exactly; nothing for
// anything else.
std::optional<std::int64_t> ParseMegahertz(const std::string& text);
std::string FormatMegahertz(std::int64_t hz); // six decimals
// "88.5" to the tone in tenths; "023" to the DCS code.
std::optional<int> ParseTenths(const std::string& text);

// ---------------------------------------------------------------- CSV

struct CsvRowProblem {
    int line = 0;           // the file's line where the row starts
    std::string location;   // the row's Location as written
    std::string reason;
};

struct CsvImport {
    std::vector<Channel> channels;            // rows that map, in file order
    std::vector<CsvRowProblem> skipped;       // rows that do not, with the reason
    std::vector<std::string> ignoredColumns;  // header columns this radio cannot hold
    std::vector<std::string> missingColumns;  // field columns the file lacks: those fields keep the radio's values
    std::vector<CsvRowProblem> notes;         // values not taken, the radio's kept (rows still imported)
    std::string error;                        // the whole file could not be read
};

// Parses a file's bytes (UTF-8 with or without BOM; CRLF, LF or CR line
// ends; fields quoted as in RFC 4180). Channels the file does not name are
// not touched by anything here. `held` gives what the radio holds in a
// channel: every field the file has no column for keeps that value, as do
// the values of tone kinds not in use that the file gives wrongly. A row
// with the frequency 0 is an empty channel.
CsvImport ImportCsv(const std::string& bytes, const BandCheck& inBand, std::uint32_t version,
                    const std::function<Channel(int number)>& held = {});
// Non-empty channels in CHIRP's column order, then this radio's own columns
// that CHIRP has no place for; CRLF line ends, as CHIRP writes them.
// `withEmpty` (backups): an empty channel is a row with its location and
// the frequency 0, so that the file empties it again.
std::string ExportCsv(const std::vector<Channel>& channels, bool withEmpty = false);
// The header that ExportCsv writes.
const std::vector<std::string>& ExportColumns();

// Splits CSV text into rows of fields. Each row carries the line it starts
// on. A quote left open ends the text with an error.
struct CsvRecord {
    int line = 0;
    std::vector<std::string> fields;
};
bool SplitCsv(const std::string& text, std::vector<CsvRecord>& rows, std::string& error);

// ---------------------------------------------------------------- link

struct LinkTimes {
    std::chrono::milliseconds reply{1500}; // longest wait for one MR reply
    // Asked while a reply is awaited: true once the link has been closed
    // because its device went away (the console closes it and says so), so
    // a pulled cable ends the wait at once, not after `reply`.
    std::function<bool()> closedForGoneDevice;
};

enum class LinkResult { Ok, NoReply, Refused, LinkClosed };

// Reads one channel: MR for its receive half and, when it is not empty, for
// its transmit half. A transmit half equal to the receive half (frequency
// and mode) means the channel has none. `transmitAnswered` (when given) is
// set when the transmit half's MR answered a frequency: the radio may keep a
// transmit half there, one equal to the receive half too, which a later MW
// of the receive half alone would leave behind.
LinkResult ReadChannel(CCorvan& link, int number, Channel& out, LinkTimes times = {},
                       bool* transmitAnswered = nullptr);

// ---------------------------------------------------------------- the writer
//
// The one place an MW is made from a channel record. Every write of a
// channel, from the front panel's keys, the channel editor, the table and
// its CSV import alike, goes through WriteChange, which
//   1. reads the channel afresh (both halves),
//   2. stops, writing nothing, when the radio holds something other than
//      what the operator was shown,
//   3. writes the operator's change on top of that read: both halves as the
//      result means them (a channel without a transmit half any more gets
//      its transmit half written as the receive half, so none stays behind),
//   4. reads the channel back and says Written only when the read-back holds
//      what was sent.

// How much of a channel the operator saw: all of it, or its receive half
// (a recalled channel below 290 shows no transmit half).
enum class Seen { WholeChannel, ReceiveHalf };

enum class WriteStatus {
    Written,      // sent and read back as sent
    Changed,      // the radio held something other than was shown: nothing sent
    NotRead,      // the channel did not answer the fresh read: nothing sent
    Refused,      // the link refused the MW (a value outside its ranges)
    NotConfirmed, // sent, but the read-back differs or did not come
    LinkClosed,
};

struct WriteResult {
    WriteStatus status = WriteStatus::NotRead;
    Channel before; // the fresh read (for Changed: what the radio holds)
    Channel sent;   // the change on top of the fresh read
    Channel after;  // the read-back
    bool readBack = false; // `after` holds an answer of the radio
};

struct WriteOptions {
    LinkTimes times;
    // Called between the MW of the receive half and that of the transmit
    // half (the console lets its window messages run there).
    std::function<void()> betweenHalves;
};

// True when `now` holds what was shown (both normalised; with
// Seen::ReceiveHalf the transmit half is not compared).
bool HoldsWhatWasShown(const Channel& now, const Channel& shown, Seen seen);
// The operator's change from `shown` to `wanted`, made on top of `now`:
// every field the operator changed takes the wanted value, every other
// keeps `now`'s. Emptying or filling an empty channel changes all of it.
Channel ApplyChange(const Channel& shown, const Channel& wanted, const Channel& now);
// What the radio keeps of `wanted` when the smaller family writes it: its
// MW carries frequency, mode, lock-out, tone on/off and the tone number
// (from 1) of each half; every other field stays as `held` has it.
Channel AsSmallerFamilyWrites(Channel wanted, const Channel& held);
// True when the radio the link last identified is of the smaller family.
bool SmallerFamily();
WriteResult WriteChange(CCorvan& link, const Channel& shown, Seen seen, const Channel& wanted,
                        const WriteOptions& options = {});
// One line of a channel for messages: "145.600000 FM / TX none, tone OFF ...".
std::string DescribeChannel(const Channel& channel);

} // namespace memory_channels

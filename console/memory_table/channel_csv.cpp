// SPDX-License-Identifier: GPL-3.0-or-later
// Channel lists as CSV files in CHIRP's column layout.
//
// The CHIRP columns carry what most radios share. What this radio holds
// beyond them travels in columns of its own after CHIRP's, so that a file
// written here comes back unchanged: the shift "=" (Shift), reverse, memory
// group, and for a channel with a separate transmit half (written as Duplex
// "split" with the transmit frequency in Offset) the repeater offset, the
// transmit mode and the transmit step. Files from elsewhere need none of
// them.
#include "memory_channels.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <set>

namespace memory_channels {

namespace {

const std::vector<std::string> kChirpColumns{
    "Location", "Name",       "Frequency",   "Duplex", "Offset", "Tone",  "rToneFreq",
    "cToneFreq", "DtcsCode",  "DtcsPolarity", "RxDtcsCode", "CrossMode", "Mode", "TStep",
    "Skip",     "Power",      "Comment",     "URCALL", "RPT1CALL", "RPT2CALL", "DVCODE"};
const std::vector<std::string> kOwnColumns{"Shift", "Reverse", "Group", "SplitOffset", "TxMode", "TxTStep"};
// The columns that carry a field of the channel; one the file lacks is named.
const char* const kFieldColumns[] = {"Name", "Mode", "TStep", "Duplex", "Offset", "Tone", "rToneFreq", "cToneFreq",
                                     "DtcsCode", "Skip", "Shift", "Reverse", "Group"};
// The columns the import reads; every other column is named as ignored.
const std::set<std::string> kReadColumns{"Location", "Name",      "Frequency", "Duplex",       "Offset",
                                         "Tone",     "rToneFreq", "cToneFreq", "DtcsCode",     "DtcsPolarity",
                                         "Mode",     "TStep",     "Skip",      "Shift",        "Reverse",
                                         "Group",    "SplitOffset", "TxMode",  "TxTStep"};

std::string Quoted(const std::string& field) {
    if (field.find_first_of(",\"\r\n") == std::string::npos) {
        return field;
    }
    std::string out = "\"";
    for (char c : field) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + "\"";
}

std::string Trim(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && (text[begin] == ' ' || text[begin] == '\t')) {
        ++begin;
    }
    while (end > begin && (text[end - 1] == ' ' || text[end - 1] == '\t')) {
        --end;
    }
    return text.substr(begin, end - begin);
}

std::string Utf8OfLatin1(const std::string& text) {
    std::string out;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (byte >> 6));
            out += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return out;
}

// UTF-8 to Latin-1; nothing when a character lies beyond Latin-1 or the
// bytes are not UTF-8.
std::optional<std::string> Latin1OfUtf8(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            out += text[i];
        } else if ((byte == 0xC2 || byte == 0xC3) && i + 1 < text.size() &&
                   (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
            out += static_cast<char>(((byte & 0x03) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3F));
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

std::optional<int> ParseWhole(const std::string& text, int limit) {
    if (text.empty() || text.size() > 9) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    if (value > limit) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> StepOf(int mode, const std::string& text) {
    return StepIndexOf(mode, text);
}

// A word a column may hold and the value it stands for.
struct Word {
    const char* text;
    int value;
};

// The value of `text` among `words`; nothing when it is none of them.
std::optional<int> ValueOfWord(const std::string& text, std::initializer_list<Word> words) {
    for (const Word& word : words) {
        if (text == word.text) {
            return word.value;
        }
    }
    return std::nullopt;
}

std::optional<int> ShiftOf(const std::string& text) {
    return ValueOfWord(text, {{"", 0}, {"OFF", 0}, {"off", 0}, {"+", 1}, {"-", 2}, {"=", 3}});
}

// One row as a channel, or the reason it cannot be one.
class RowReader {
public:
    RowReader(const std::vector<std::string>& header, const std::vector<std::string>& fields)
        : m_header(header), m_fields(fields) {}

    bool Has(const char* column) const { return Find(column) != nullptr; }
    std::string Get(const char* column) const {
        const std::string* value = Find(column);
        return value != nullptr ? Trim(*value) : std::string();
    }

private:
    const std::string* Find(const char* column) const {
        for (std::size_t i = 0; i < m_header.size() && i < m_fields.size(); ++i) {
            if (m_header[i] == column) {
                return &m_fields[i];
            }
        }
        return nullptr;
    }
    const std::vector<std::string>& m_header;
    const std::vector<std::string>& m_fields;
};

// The fields a row names, on top of `held` (what the radio holds in that
// channel): a column the file lacks leaves its field as the radio has it.
// A frequency of 0 is an empty channel (a backup of a channel that was empty).
std::string ReadRow(const RowReader& row, const BandCheck& inBand, std::uint32_t version, const Channel& held,
                    Channel& c, std::vector<CsvRowProblem>& notes, int line) {
    const std::optional<int> location = ParseWhole(row.Get("Location"), 1'000'000);
    if (!location || *location > kCallChannel) {
        return "no such channel";
    }
    const std::optional<std::int64_t> rx = ParseMegahertz(row.Get("Frequency"));
    if (!rx) {
        return "the frequency is not a number of megahertz";
    }
    if (*rx == 0) {
        c = Channel{};
        c.number = *location;
        return {};
    }
    if (!inBand(*rx)) {
        return "the frequency " + row.Get("Frequency") + " MHz lies outside every band";
    }
    // A new channel starts from the plain values; tone numbers 0 (none chosen).
    if (held.empty()) {
        c = Channel{};
        c.toneNumber = 0;
        c.ctcssNumber = 0;
    } else {
        c = Normalised(held);
    }
    const Channel base = c;
    c.number = *location;
    c.rxFrequency = *rx;

    if (row.Has("Mode")) {
        const std::string modeText = row.Get("Mode");
        const std::optional<int> mode = modeText.empty() ? std::optional<int>(4) : ModeFromName(modeText);
        if (!mode) {
            return "the mode " + modeText + " is one the radio lacks";
        }
        c.rxMode = *mode;
    }
    // As in the channel editor: a step kept from the radio is cut to the mode's list.
    c.rxStep = std::min(c.rxStep, static_cast<int>(StepHundredths(c.rxMode).size()) - 1);
    if (const std::string stepText = row.Get("TStep"); !stepText.empty()) {
        const std::optional<int> step = StepOf(c.rxMode, stepText);
        if (!step) {
            return "the step " + stepText + " kHz is not one of the mode's steps";
        }
        c.rxStep = *step;
    }
    if (c.txFrequency == 0) {
        c.txMode = c.rxMode;
        c.txStep = c.rxStep;
    }

    // Duplex and offset.
    const std::string offsetText = row.Get("Offset");
    const std::optional<std::int64_t> offset =
        offsetText.empty() ? std::optional<std::int64_t>(row.Has("Offset") ? 0 : base.offset)
                           : ParseMegahertz(offsetText);
    if (!offset) {
        return "the offset is not a number of megahertz";
    }
    const std::optional<int> ownShift =
        row.Has("Shift") ? ShiftOf(row.Get("Shift")) : std::optional<int>(base.shift);
    if (!ownShift) {
        return "no such shift " + row.Get("Shift");
    }
    std::int64_t repeaterOffset = c.offset;
    if (!row.Has("Duplex")) {
        // The radio's transmit half and shift stay; an offset is the repeater's.
        c.shift = *ownShift;
        if (c.txFrequency == 0) {
            repeaterOffset = *offset;
        }
    } else if (const std::string duplex = row.Get("Duplex"); duplex.empty()) {
        c.shift = *ownShift == 3 ? 3 : 0;
        c.txFrequency = 0;
        repeaterOffset = *offset;
    } else if (duplex == "+" || duplex == "-") {
        c.shift = duplex == "+" ? 1 : 2;
        c.txFrequency = 0;
        repeaterOffset = *offset;
    } else if (duplex == "split") {
        if (*offset == 0 || !inBand(*offset)) {
            return "the transmit frequency " + offsetText + " MHz lies outside every band";
        }
        const bool hadTransmit = base.txFrequency != 0;
        c.txFrequency = *offset;
        c.shift = *ownShift;
        repeaterOffset = row.Has("SplitOffset") ? 0 : base.offset;
        if (const std::string own = row.Get("SplitOffset"); !own.empty()) {
            const std::optional<std::int64_t> value = ParseMegahertz(own);
            if (!value) {
                return "the split offset is not a number of megahertz";
            }
            repeaterOffset = *value;
        }
        c.txMode = hadTransmit && !row.Has("TxMode") ? base.txMode : c.rxMode;
        c.txStep = hadTransmit && !row.Has("TxMode") ? base.txStep : c.rxStep;
        if (const std::string txMode = row.Get("TxMode"); !txMode.empty()) {
            const std::optional<int> value = ModeFromName(txMode);
            if (!value) {
                return "the transmit mode " + txMode + " is one the radio lacks";
            }
            c.txMode = *value;
            c.txStep = StepOf(c.txMode, StepText(c.rxMode, c.rxStep)).value_or(0);
        }
        if (const std::string txStep = row.Get("TxTStep"); !txStep.empty()) {
            const std::optional<int> value = StepOf(c.txMode, txStep);
            if (!value) {
                return "the transmit step " + txStep + " kHz is not one of the mode's steps";
            }
            c.txStep = *value;
        }
    } else if (duplex == "off") {
        return "transmit switched off (Duplex off) is not something the radio holds";
    } else {
        return "no such duplex " + duplex;
    }
    if (repeaterOffset < 0 || repeaterOffset > kOffsetMax || repeaterOffset % kOffsetStep != 0) {
        return "the offset " + FormatMegahertz(repeaterOffset) + " MHz is not 0 to 59.95 MHz in 50 kHz steps";
    }
    c.offset = repeaterOffset;

    // Tones. The kind in use must be one the radio has; the values of the
    // kinds not in use are kept where the radio has them when the file's
    // value is not one (an empty value is a tone never chosen, 0).
    if (row.Has("Tone")) {
        const std::string tone = row.Get("Tone");
        const std::optional<int> type = ValueOfWord(tone, {{"", 0}, {"Tone", 1}, {"TSQL", 2}, {"DTCS", 3}});
        if (!type) {
            return "the tone mode " + tone + " is one the radio lacks";
        }
        c.toneType = *type;
    }
    struct ToneColumn {
        const char* column;
        int type;
        int* field;
        std::optional<int> (*parse)(const std::string&);
        const char* what;
    };
    const ToneColumn toneColumns[] = {{"rToneFreq", 1, &c.toneNumber, ToneNumberOf, "the tone "},
                                      {"cToneFreq", 2, &c.ctcssNumber, CtcssNumberOf, "the tone "},
                                      {"DtcsCode", 3, &c.dcsCode, DcsCodeOf, "the DCS code "}};
    for (const ToneColumn& column : toneColumns) {
        if (!row.Has(column.column)) {
            continue;
        }
        const std::string text = row.Get(column.column);
        const std::optional<int> value = column.parse(text);
        if (value) {
            *column.field = *value;
        } else if (c.toneType == column.type) {
            return column.what + text + (column.type == 3 ? " is one the radio lacks" : " Hz is one the radio lacks");
        } else if (text.empty()) {
            *column.field = 0;
        } else {
            notes.push_back({line, row.Get("Location"),
                             std::string(column.column) + " \"" + text + "\" is no value the radio has; not in use, "
                                                                          "the radio's value was kept"});
        }
    }
    if (c.toneType == 3) {
        const std::string polarity = row.Get("DtcsPolarity");
        if (!polarity.empty() && polarity != "NN") {
            return "the DCS polarity " + polarity + " is one the radio lacks";
        }
    }

    if (row.Has("Skip")) {
        const std::string skip = row.Get("Skip");
        const std::optional<int> lockout = ValueOfWord(skip, {{"", 0}, {"S", 1}});
        if (!lockout) {
            return "the skip mark " + skip + " is one the radio lacks";
        }
        c.lockout = *lockout;
    }
    if (const std::string reverse = row.Get("Reverse"); !reverse.empty()) {
        const std::optional<int> value = ParseWhole(reverse, 1);
        if (!value) {
            return "reverse is 0 or 1";
        }
        c.reverse = *value;
    }
    if (const std::string group = row.Get("Group"); !group.empty()) {
        const std::optional<int> value = ParseWhole(group, 9);
        if (!value) {
            return "the group is 0 to 9";
        }
        c.group = *value;
    }

    if (row.Has("Name")) {
        // Names travel as UTF-8; the radio holds Latin-1 at most.
        const std::optional<std::string> name = Latin1OfUtf8(row.Get("Name"));
        if (!name) {
            return "the name holds a character the radio cannot show";
        }
        c.name = *name;
    }
    return CheckChannel(c, inBand, version);
}

} // namespace

const std::vector<std::string>& ExportColumns() {
    static const std::vector<std::string> columns = [] {
        std::vector<std::string> all = kChirpColumns;
        all.insert(all.end(), kOwnColumns.begin(), kOwnColumns.end());
        return all;
    }();
    return columns;
}

bool SplitCsv(const std::string& text, std::vector<CsvRecord>& rows, std::string& error) {
    rows.clear();
    std::size_t i = 0;
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        i = 3;
    }
    int line = 1;
    CsvRecord row{line, {}};
    std::string field;
    bool quoted = false;
    bool fieldStarted = false;
    const auto endRow = [&] {
        row.fields.push_back(field);
        field.clear();
        fieldStarted = false;
        // Blank lines carry no row.
        if (!(row.fields.size() == 1 && row.fields[0].empty())) {
            rows.push_back(row);
        }
        row = CsvRecord{line, {}};
    };
    int quoteLine = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
                    ++line;
                }
                field += c;
            }
            continue;
        }
        if (c == '"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
            quoteLine = line;
        } else if (c == ',') {
            row.fields.push_back(field);
            field.clear();
            fieldStarted = false;
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
            ++line;
            endRow();
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (quoted) {
        error = "a quote opened on line " + std::to_string(quoteLine) + " is never closed";
        return false;
    }
    if (fieldStarted || !row.fields.empty()) {
        endRow();
    }
    return true;
}

CsvImport ImportCsv(const std::string& bytes, const BandCheck& inBand, std::uint32_t version,
                    const std::function<Channel(int number)>& held) {
    CsvImport result;
    std::vector<CsvRecord> rows;
    if (!SplitCsv(bytes, rows, result.error)) {
        return result;
    }
    if (rows.empty()) {
        result.error = "the file is empty";
        return result;
    }
    std::vector<std::string> header;
    for (const std::string& name : rows.front().fields) {
        header.push_back(Trim(name));
    }
    const auto has = [&header](const char* column) {
        for (const std::string& name : header) {
            if (name == column) {
                return true;
            }
        }
        return false;
    };
    if (!has("Location") || !has("Frequency")) {
        result.error = "not a channel list: the first line names no Location and Frequency columns";
        return result;
    }
    for (const std::string& name : header) {
        if (!name.empty() && kReadColumns.count(name) == 0) {
            result.ignoredColumns.push_back(name);
        }
    }
    for (const char* column : kFieldColumns) {
        if (!has(column)) {
            result.missingColumns.push_back(column);
        }
    }
    std::set<int> seen;
    for (std::size_t r = 1; r < rows.size(); ++r) {
        const CsvRecord& record = rows[r];
        const RowReader reader(header, record.fields);
        CsvRowProblem problem{record.line, reader.Get("Location"), {}};
        if (record.fields.size() != header.size()) {
            problem.reason = "the row has " + std::to_string(record.fields.size()) + " fields, the header " +
                             std::to_string(header.size());
            result.skipped.push_back(problem);
            continue;
        }
        Channel channel;
        const std::optional<int> location = ParseWhole(reader.Get("Location"), kCallChannel);
        Channel radio;
        if (location && held) {
            radio = held(*location);
        }
        problem.reason = ReadRow(reader, inBand, version, radio, channel, result.notes, record.line);
        if (problem.reason.empty() && !seen.insert(channel.number).second) {
            problem.reason = "the channel appears in an earlier row";
        }
        if (!problem.reason.empty()) {
            result.skipped.push_back(problem);
            continue;
        }
        result.channels.push_back(channel);
    }
    return result;
}

std::string ExportCsv(const std::vector<Channel>& channels, bool withEmpty) {
    std::string out;
    const auto& columns = ExportColumns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        out += (i ? "," : "") + columns[i];
    }
    out += "\r\n";
    static const char* const kTones[] = {"", "Tone", "TSQL", "DTCS"};
    static const char* const kShifts[] = {"", "+", "-", "="};
    for (const Channel& c : channels) {
        if (c.empty()) {
            if (withEmpty) {
                // Location and a frequency of 0: the import empties the channel.
                out += std::to_string(c.number) + ",," + FormatMegahertz(0) +
                       std::string(columns.size() - 3, ',') + "\r\n";
            }
            continue;
        }
        const bool split = c.txFrequency != 0;
        const int shift = c.shift >= 0 && c.shift <= 3 ? c.shift : 0;
        std::string duplex = split ? "split" : (shift == 1 ? "+" : shift == 2 ? "-" : "");
        const std::string dcs = c.dcsCode >= 0 && c.dcsCode <= 103 ? DcsText(c.dcsCode) : "023";
        const auto tone = [](int number) {
            if (number == 0) {
                return std::string(); // none chosen; read back as 0
            }
            const std::string text = ToneText(number);
            return text.empty() ? std::string("88.5") : text;
        };
        const std::vector<std::string> fields{
            std::to_string(c.number),
            Utf8OfLatin1(c.name),
            FormatMegahertz(c.rxFrequency),
            duplex,
            FormatMegahertz(split ? c.txFrequency : c.offset),
            c.toneType >= 0 && c.toneType <= 3 ? kTones[c.toneType] : "",
            tone(c.toneNumber),
            tone(c.ctcssNumber >= 0 && c.ctcssNumber <= 38 ? c.ctcssNumber : 1),
            dcs,
            "NN",
            dcs,
            "Tone->Tone",
            ModeName(c.rxMode),
            StepText(c.rxMode, c.rxStep),
            c.lockout ? "S" : "",
            "",
            "",
            "",
            "",
            "",
            "",
            kShifts[shift],
            std::to_string(c.reverse),
            std::to_string(c.group),
            split ? FormatMegahertz(c.offset) : "",
            split ? ModeName(c.txMode) : "",
            split ? StepText(c.txMode, c.txStep) : "",
        };
        for (std::size_t i = 0; i < fields.size(); ++i) {
            out += (i ? "," : "") + Quoted(fields[i]);
        }
        out += "\r\n";
    }
    return out;
}

} // namespace memory_channels

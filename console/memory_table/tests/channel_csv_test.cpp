// SPDX-License-Identifier: GPL-3.0-or-later
// Channel lists as CSV: the file's shape (BOM, line ends, quotes), what maps
// onto the radio and what is refused with its reason, and the way back.
#include <memory_channels.h>

#include <gtest/gtest.h>

#include <string>

namespace memory_channels {
namespace {

const std::string kChirpHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,"
    "CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE";

// A row in CHIRP's layout from the fields that matter here.
std::string Row(const std::string& location, const std::string& name, const std::string& frequency,
                const std::string& duplex, const std::string& offset, const std::string& tone,
                const std::string& rTone = "88.5", const std::string& cTone = "88.5",
                const std::string& dcs = "023", const std::string& mode = "FM", const std::string& step = "5.00",
                const std::string& skip = "", const std::string& polarity = "NN") {
    return location + "," + name + "," + frequency + "," + duplex + "," + offset + "," + tone + "," + rTone + "," +
           cTone + "," + dcs + "," + polarity + "," + dcs + ",Tone->Tone," + mode + "," + step + "," + skip +
           ",50W,,,,,";
}

CsvImport Import(const std::string& text) {
    return ImportCsv(text, InSomeBand, 0);
}

// ---------------------------------------------------------- file shape

TEST(CsvSplit, QuotedFieldsKeepCommasQuotesAndLineBreaks) {
    std::vector<CsvRecord> rows;
    std::string error;
    ASSERT_TRUE(SplitCsv("a,\"b,c\",\"say \"\"hi\"\"\"\r\n\"two\nlines\",x\r\n\r\nlast", rows, error));
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].fields, (std::vector<std::string>{"a", "b,c", "say \"hi\""}));
    EXPECT_EQ(rows[1].fields, (std::vector<std::string>{"two\nlines", "x"}));
    EXPECT_EQ(rows[2].line, 5) << "the blank line is counted but carries no row";
    EXPECT_EQ(rows[2].fields, (std::vector<std::string>{"last"}));
}

TEST(CsvSplit, QuoteLeftOpenIsAnErrorNotARow) {
    std::vector<CsvRecord> rows;
    std::string error;
    EXPECT_FALSE(SplitCsv("a,b\r\n1,\"open,2\r\n3,4\r\n", rows, error));
    EXPECT_NE(error.find("line 2"), std::string::npos) << error;
}

struct ShapeCase {
    const char* name;
    std::string text;
};

class FileShapes : public ::testing::TestWithParam<ShapeCase> {};

TEST_P(FileShapes, SameChannelsWhateverTheLineEndsBomAndQuoting) {
    const CsvImport result = Import(GetParam().text);
    ASSERT_TRUE(result.error.empty()) << result.error;
    ASSERT_EQ(result.channels.size(), 2u);
    EXPECT_TRUE(result.skipped.empty());
    EXPECT_EQ(result.channels[0].number, 1);
    EXPECT_EQ(result.channels[0].rxFrequency, 146'940'000);
    EXPECT_EQ(result.channels[0].shift, 2);
    EXPECT_EQ(result.channels[0].offset, 600'000);
    EXPECT_EQ(result.channels[0].toneType, 1);
    EXPECT_EQ(result.channels[0].toneNumber, 18) << "123.0 Hz is the eighteenth tone";
    EXPECT_EQ(result.channels[0].name, "W1AW");
    EXPECT_EQ(result.channels[1].number, 2);
    EXPECT_EQ(result.channels[1].rxFrequency, 442'100'000);
    EXPECT_EQ(result.channels[1].shift, 1);
    EXPECT_EQ(result.channels[1].offset, 5'000'000);
}

std::string TwoRows(const std::string& end) {
    return kChirpHeader + end + Row("1", "W1AW", "146.940000", "-", "0.600000", "Tone", "123.0") + end +
           Row("2", "UHF", "442.100000", "+", "5.000000", "") + end;
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, FileShapes,
    ::testing::Values(ShapeCase{"Crlf", TwoRows("\r\n")}, ShapeCase{"Lf", TwoRows("\n")},
                      ShapeCase{"Cr", TwoRows("\r")}, ShapeCase{"Bom", "\xEF\xBB\xBF" + TwoRows("\r\n")},
                      ShapeCase{"NoLastLineEnd", TwoRows("\r\n").substr(0, TwoRows("\r\n").size() - 2)},
                      ShapeCase{"Quoted", kChirpHeader + "\r\n\"1\",\"W1AW\",\"146.94\",\"-\",\"0.6\",\"Tone\","
                                                         "\"123.0\",\"88.5\",\"023\",\"NN\",\"023\",\"Tone->Tone\","
                                                         "\"FM\",\"5.00\",\"\",\"50W\",\"a, comment\",,,,\r\n" +
                                              Row("2", "UHF", "442.1", "+", "5", "") + "\r\n"}),
    [](const ::testing::TestParamInfo<ShapeCase>& param) { return std::string(param.param.name); });

TEST(CsvImport, ForeignColumnsInAnyOrderAreNamedAndIgnored) {
    const std::string text = "Frequency,Location,Repeater City,Name,Power,Comment\r\n"
                             "145.250000,10,Springfield,SPRING,5W,linked\r\n";
    const CsvImport result = Import(text);
    ASSERT_TRUE(result.error.empty()) << result.error;
    ASSERT_EQ(result.channels.size(), 1u);
    EXPECT_EQ(result.channels[0].number, 10);
    EXPECT_EQ(result.channels[0].rxFrequency, 145'250'000);
    EXPECT_EQ(result.channels[0].rxMode, 4) << "no Mode column: FM";
    EXPECT_EQ(result.channels[0].name, "SPRING");
    EXPECT_EQ(result.ignoredColumns, (std::vector<std::string>{"Repeater City", "Power", "Comment"}));
}

TEST(CsvImport, FileWithoutChannelColumnsIsRefusedWhole) {
    EXPECT_FALSE(Import("Name,Callsign\r\nA,B\r\n").error.empty());
    EXPECT_FALSE(Import("").error.empty());
}

// ---------------------------------------------------------- rows refused

struct RefusedCase {
    const char* name;
    std::string row;
    const char* reasonPart;
};

class RefusedRows : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedRows, AreListedWithTheirReasonAndTheOthersStillImport) {
    const std::string text = kChirpHeader + "\r\n" + Row("1", "GOOD", "145.500000", "", "0.000000", "") + "\r\n" +
                             GetParam().row + "\r\n" + Row("3", "ALSO", "433.500000", "", "0.000000", "") + "\r\n";
    const CsvImport result = Import(text);
    ASSERT_TRUE(result.error.empty()) << result.error;
    ASSERT_EQ(result.skipped.size(), 1u);
    EXPECT_EQ(result.skipped[0].line, 3);
    EXPECT_NE(result.skipped[0].reason.find(GetParam().reasonPart), std::string::npos) << result.skipped[0].reason;
    ASSERT_EQ(result.channels.size(), 2u) << "nothing of the refused row is imported";
    EXPECT_EQ(result.channels[0].name, "GOOD");
    EXPECT_EQ(result.channels[1].name, "ALSO");
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, RefusedRows,
    ::testing::Values(
        RefusedCase{"ToneTheRadioLacks", Row("2", "X", "146.520000", "", "0.000000", "Tone", "69.3"), "tone 69.3"},
        RefusedCase{"CtcssBurstTone", Row("2", "X", "146.520000", "", "0", "TSQL", "88.5", "1750.0"), "tone 1750.0"},
        RefusedCase{"DcsCodeTheRadioLacks", Row("2", "X", "146.520000", "", "0", "DTCS", "88.5", "88.5", "017"),
                    "DCS code 017"},
        RefusedCase{"DcsReversePolarity",
                    Row("2", "X", "146.520000", "", "0", "DTCS", "88.5", "88.5", "023", "FM", "5.00", "", "RN"),
                    "polarity RN"},
        RefusedCase{"CrossTone", Row("2", "X", "146.520000", "", "0", "Cross"), "tone mode Cross"},
        RefusedCase{"FrequencyOutsideEveryBand", Row("2", "X", "88.100000", "", "0", ""), "outside every band"},
        RefusedCase{"SplitOutsideEveryBand", Row("2", "X", "146.520000", "split", "100.000000", ""),
                    "transmit frequency"},
        RefusedCase{"NameWithCommandEnd", Row("2", "A;B", "146.520000", "", "0", ""), "\";\""},
        RefusedCase{"NameTooLong", Row("2", "NINECHARS", "146.520000", "", "0", ""), "longer than 8"},
        RefusedCase{"NameBeyondLatin1", Row("2", "\xE2\x82\xAC", "146.520000", "", "0", ""), "cannot show"},
        RefusedCase{"ModeTheRadioLacks", Row("2", "X", "146.520000", "", "0", "", "88.5", "88.5", "023", "DV"),
                    "mode DV"},
        RefusedCase{"StepTheModeLacks", Row("2", "X", "146.520000", "", "0", "", "88.5", "88.5", "023", "FM", "7.50"),
                    "step 7.50"},
        RefusedCase{"OffsetOffTheGrid", Row("2", "X", "146.520000", "+", "0.625000", ""), "50 kHz"},
        RefusedCase{"DuplexOff", Row("2", "X", "146.520000", "off", "0", ""), "Duplex off"},
        RefusedCase{"PrioritySkip", Row("2", "X", "146.520000", "", "0", "", "88.5", "88.5", "023", "FM", "5.00", "P"),
                    "skip mark P"},
        RefusedCase{"NoSuchChannel", Row("301", "X", "146.520000", "", "0", ""), "no such channel"},
        RefusedCase{"LocationNotANumber", Row("two", "X", "146.520000", "", "0", ""), "no such channel"},
        RefusedCase{"FrequencyNotANumber", Row("2", "X", "146,52", "", "0", ""), "fields"},
        RefusedCase{"FrequencyFinerThanAHertz", Row("2", "X", "146.5200001", "", "0", ""), "not a number"},
        RefusedCase{"TooFewFields", "2,X,146.520000", "fields"},
        RefusedCase{"DuplicateLocation", Row("1", "AGAIN", "146.520000", "", "0", ""), "earlier row"}),
    [](const ::testing::TestParamInfo<RefusedCase>& param) { return std::string(param.param.name); });

TEST(CsvImport, MappedValuesOfEveryField) {
    const std::string text =
        kChirpHeader + "\r\n" +
        Row("0", "TSQ", "145.000000", "", "0.600000", "TSQL", "88.5", "250.3", "023", "FM", "12.50", "S") + "\r\n" +
        Row("4", "DCS", "440.000000", "", "0", "DTCS", "1750.0", "67.0", "754", "NFM", "100.00") + "\r\n" +
        Row("5", "HF", "14.195000", "", "0", "", "88.5", "88.5", "023", "USB", "2.50") + "\r\n" +
        Row("300", "CALL", "145.500000", "", "0", "") + "\r\n";
    const CsvImport result = Import(text);
    ASSERT_EQ(result.channels.size(), 4u) << (result.skipped.empty() ? "" : result.skipped[0].reason);
    const Channel& tsq = result.channels[0];
    EXPECT_EQ(tsq.toneType, 2);
    EXPECT_EQ(tsq.ctcssNumber, 38);
    EXPECT_EQ(tsq.toneNumber, 8) << "88.5 Hz is tone 8, kept although unused";
    EXPECT_EQ(tsq.rxStep, 3);
    EXPECT_EQ(tsq.lockout, 1);
    EXPECT_EQ(tsq.offset, 600'000) << "the offset stays without a shift";
    EXPECT_EQ(tsq.shift, 0);
    const Channel& dcs = result.channels[1];
    EXPECT_EQ(dcs.toneType, 3);
    EXPECT_EQ(dcs.dcsCode, 103);
    EXPECT_EQ(dcs.toneNumber, 39);
    EXPECT_EQ(dcs.rxMode, 4);
    EXPECT_EQ(dcs.rxStep, 9);
    EXPECT_EQ(result.channels[2].rxMode, 2);
    EXPECT_EQ(result.channels[2].rxStep, 1);
    EXPECT_EQ(result.channels[3].number, kCallChannel);
}

TEST(CsvImport, SplitRowsCarryTheTransmitHalf) {
    const std::string text = kChirpHeader + "\r\n" + Row("295", "SCAN", "144.000000", "split", "146.000000", "") +
                             "\r\n";
    const CsvImport result = Import(text);
    ASSERT_EQ(result.channels.size(), 1u);
    EXPECT_EQ(result.channels[0].rxFrequency, 144'000'000);
    EXPECT_EQ(result.channels[0].txFrequency, 146'000'000);
    EXPECT_EQ(result.channels[0].offset, 0);
    EXPECT_EQ(result.channels[0].txMode, 4);
}

// ---------------------------------------------------------- both ways

TEST(CsvRoundTrip, EveryFieldTheRadioHoldsComesBack) {
    std::vector<Channel> channels;
    const Channel a{.number = 7, .rxFrequency = 145'612'500, .rxMode = 4, .rxStep = 3, .toneType = 2,
                    .toneNumber = 39, .ctcssNumber = 22, .dcsCode = 57, .reverse = 1, .shift = 3,
                    .offset = 1'600'000, .group = 6, .lockout = 1, .name = "R,\"Q\""};
    channels.push_back(a);
    Channel b;
    b.number = 291;
    b.rxFrequency = 14'000'000;
    b.rxMode = 7;
    b.rxStep = 2;
    b.txFrequency = 14'350'000;
    b.txMode = 9;
    b.txStep = 1;
    b.shift = 2;
    b.offset = 100'000;
    b.name = "\xE9t\xE9";
    b.toneNumber = 0; // as a radio holds them before any tone was chosen
    b.ctcssNumber = 0;
    channels.push_back(b);
    Channel empty;
    empty.number = 8;
    channels.push_back(empty);

    const std::string text = ExportCsv(channels);
    EXPECT_EQ(text.compare(0, kChirpHeader.size(), kChirpHeader), 0) << "CHIRP's columns come first";
    EXPECT_NE(text.find("\r\n"), std::string::npos);
    const CsvImport back = ImportCsv(text, InSomeBand, 5);
    ASSERT_TRUE(back.error.empty());
    ASSERT_TRUE(back.skipped.empty()) << back.skipped[0].reason;
    EXPECT_EQ(back.ignoredColumns.size(), 8u) << "RxDtcsCode, CrossMode, Power, Comment and the last four";
    ASSERT_EQ(back.channels.size(), 2u) << "empty channels are not written";
    EXPECT_EQ(back.channels[0], Normalised(a));
    EXPECT_EQ(back.channels[1], b);
    EXPECT_EQ(back.channels[1].toneNumber, 0) << "a tone never chosen comes back as 0, not as a tone";
    EXPECT_EQ(back.channels[1].ctcssNumber, 0);
}

// ---------------------------------------------------------- rules

TEST(ChannelRules, MegahertzTextsConvertExactly) {
    EXPECT_EQ(ParseMegahertz("146.94"), std::optional<std::int64_t>(146'940'000));
    EXPECT_EQ(ParseMegahertz(" 0.000030 "), std::optional<std::int64_t>(30));
    EXPECT_EQ(ParseMegahertz("1296"), std::optional<std::int64_t>(1'296'000'000));
    EXPECT_EQ(ParseMegahertz(".5"), std::optional<std::int64_t>(500'000));
    EXPECT_EQ(ParseMegahertz("145.5000000"), std::optional<std::int64_t>(145'500'000));
    EXPECT_FALSE(ParseMegahertz(""));
    EXPECT_FALSE(ParseMegahertz("-145.5"));
    EXPECT_FALSE(ParseMegahertz("145.5 MHz"));
    EXPECT_FALSE(ParseMegahertz("1e3"));
    EXPECT_EQ(FormatMegahertz(146'940'000), "146.940000");
    EXPECT_EQ(FormatMegahertz(30), "0.000030");
}

TEST(ChannelRules, CheckRefusesWhatMwCannotCarry) {
    Channel c;
    c.number = 12;
    c.rxFrequency = 145'500'000;
    EXPECT_EQ(CheckChannel(c, InSomeBand, 0), "");
    Channel bad = c;
    bad.rxStep = 4; // FM has ten steps, USB four
    bad.rxMode = 2;
    EXPECT_NE(CheckChannel(bad, InSomeBand, 0), "");
    bad = c;
    bad.offset = 60'000'000;
    EXPECT_NE(CheckChannel(bad, InSomeBand, 0), "");
    bad = c;
    bad.name = "\xE9";
    EXPECT_NE(CheckChannel(bad, InSomeBand, 0), "");
    EXPECT_EQ(CheckChannel(bad, InSomeBand, 7), "");
    bad = c;
    bad.rxFrequency = 76'000'000;
    EXPECT_NE(CheckChannel(bad, InSomeBand, 0), "");
    bad = c;
    bad.number = 301;
    EXPECT_NE(CheckChannel(bad, InSomeBand, 0), "");
}

} // namespace
} // namespace memory_channels

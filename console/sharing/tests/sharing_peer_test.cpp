// SPDX-License-Identifier: GPL-3.0-or-later
// sharing_peer_test.cpp - what a sharing client reads and what it is
// refused, as the program at the other end expects it: the XML-RPC S-meter
// on the console's printed scale, the transmit flag of the XML-RPC summary,
// and a frequency set while the radio stands on a memory channel.
#include "sharing_fixture.h"

#include <cmath>
#include <map>
#include <optional>

namespace sharing_test {
namespace {

using display_test::PumpUntil;

class SharingPeer : public SharingTest {
protected:
    // The text between the first <tag> and </tag> of an answer.
    static std::optional<std::string> Inner(const std::string& answer, const std::string& tag) {
        const auto from = answer.find("<" + tag + ">");
        const auto to = answer.find("</" + tag + ">");
        if (from == std::string::npos || to == std::string::npos || to < from)
            return std::nullopt;
        return answer.substr(from + tag.size() + 2, to - from - tag.size() - 2);
    }
    // The S-meter as the XML-RPC client reads it.
    std::optional<int> SMeter() {
        const std::string answer = Call("rig.get_smeter");
        const auto v = Inner(answer, "i4");
        if (!v || answer.find("<fault>") != std::string::npos)
            return std::nullopt;
        return std::stoi(*v);
    }
    // The "T:" line of the summary: "R" or "X".
    std::string InfoTransmit() {
        const std::string answer = Call("rig.get_info");
        const auto at = answer.find("T:");
        return at == std::string::npos ? "(no T: in " + answer + ")" : answer.substr(at + 2, 1);
    }
    // A receive frequency on the HF bands where the band model gives `level`.
    std::optional<std::int64_t> FrequencyReading(int level) {
        for (const std::int64_t station : radio().stations()) {
            if (station < 1'800'000 || station > 29'700'000)
                continue;
            for (std::int64_t d = -6000; d <= 6000; d += 100)
                if (radio().sMeterAt(station + d) == level)
                    return station + d;
        }
        return std::nullopt;
    }
};

// The console's receive scale for this radio reads
//     "--1--3--5--7--9---20---40---60dB"
// over a bar of 30 levels whose red part starts above level 15: S9 is level
// 15, and the 20, 40 and 60 dB marks stand five characters apart, the last at
// the bar's end. So level 15 + 5k reads S9 + 20k dB (4 dB a level), S9+30 dB
// lies between levels 22 and 23, S9+60 dB is level 30. The XML-RPC client
// reads the meter as 0..100 with S9 at 50 and S9+60 dB at 100, linear in dB
// above S9 (and 0 at S0, linear in S units below).
TEST_F(SharingPeer, TheSMeterReadsWhereThePrintedScalePutsTheLevel) {
    ASSERT_EQ(Text(idc::MainScale), "--1--3--5--7--9---20---40---60dB");
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    std::map<int, int> read; // meter level -> the client's 0..100
    for (const int level : {3, 6, 15, 20, 22, 23, 25, 29, 30}) {
        SCOPED_TRACE("meter level " + std::to_string(level));
        const auto hz = FrequencyReading(level);
        ASSERT_TRUE(hz.has_value());
        ASSERT_EQ(Ask(c, "F " + std::to_string(*hz)), "RPRT 0\n");
        // The radio's own reading there, as every client sees it.
        ASSERT_EQ(Ask(c, "l RAWSTR"), std::to_string(level) + "\n");
        const auto v = SMeter();
        ASSERT_TRUE(v.has_value());
        read[level] = *v;
    }
    // On the marks: S9, S9+20, S9+40, S9+60.
    EXPECT_EQ(read[15], 50);
    EXPECT_EQ(read[20], 67);
    EXPECT_EQ(read[25], 83);
    EXPECT_EQ(read[30], 100);
    // S9+30 dB, halfway between the 20 and 40 marks: 75 lies between the
    // two levels either side of it, each within 4 dB of it.
    EXPECT_EQ(read[22], 73);
    EXPECT_EQ(read[23], 77);
    // Only the full bar reads full scale.
    EXPECT_EQ(read[29], 97);
    // Below S9, linear in S units from S0 at 0: a fifth of the way to S9 is
    // a fifth of 50.
    EXPECT_EQ(read[3], 10);
    EXPECT_EQ(read[6], 20);
}

// The summary's transmit flag follows the radio however it was keyed: by
// this client, by another program sharing the radio, at the radio itself.
TEST_F(SharingPeer, TheSummarySaysTransmitWhileTheRadioTransmits) {
    EXPECT_EQ(InfoTransmit(), "R");

    ASSERT_EQ(Inner(Call("rig.set_ptt", share_test::XmlRpcParam("int", "1")), "i4").value_or("fault"), "0");
    ASSERT_EQ(radio().state().transmitting, 1);
    EXPECT_EQ(InfoTransmit(), "X");
    ASSERT_EQ(Inner(Call("rig.set_ptt", share_test::XmlRpcParam("int", "0")), "i4").value_or("fault"), "0");
    ASSERT_EQ(radio().state().transmitting, 0);
    EXPECT_EQ(InfoTransmit(), "R");

    LineClient other;
    ASSERT_TRUE(other.Connect(rigctlPort));
    ASSERT_EQ(Ask(other, "T 1"), "RPRT 0\n");
    EXPECT_EQ(InfoTransmit(), "X");
    ASSERT_EQ(Ask(other, "T 0"), "RPRT 0\n");
    EXPECT_EQ(InfoTransmit(), "R");

    radio().transmit(true);
    ASSERT_TRUE(PumpUntil([&] { return state().transmitting[0] == 1; }, 3s));
    EXPECT_EQ(InfoTransmit(), "X");
    radio().transmit(false);
    ASSERT_TRUE(PumpUntil([&] { return state().transmitting[0] == 0; }, 3s));
    EXPECT_EQ(InfoTransmit(), "R");
}

// On a memory channel (or the call channel) the receive frequency is the
// channel's: a client's set of it is refused as not available, and neither
// VFO, nor the channel, nor the radio's choice of memory changes.
TEST_F(SharingPeer, AFrequencySetOnAMemoryChannelIsRefusedAndChangesNoVfo) {
    radio().modify([](qxsim::State& s) {
        s.memory[7].half[0].frequency = 7'012'000;
        s.memory[7].half[0].mode = 3;
    });
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    for (const int channelVfo : {2, 3}) {
        SCOPED_TRACE(channelVfo == 2 ? "memory channel 007" : "call channel");
        if (channelVfo == 2) {
            console->link()->ConnMC("W", 0, 7);
            ASSERT_TRUE(PumpUntil([&] { return radio().state().channel == 7; }, 3s));
        }
        console->link()->ConnFR("W", static_cast<std::uint32_t>(channelVfo));
        ASSERT_TRUE(PumpUntil([&] { return state().mainVfo == channelVfo; }, 3s));
        const qxsim::State before = radio().state();
        radio().clearReceived();

        EXPECT_EQ(Ask(c, "F 14074000"), "RPRT -11\n");
        EXPECT_EQ(Ask(c, "\\set_freq 21074000"), "RPRT -11\n");
        for (const char* method : {"rig.set_vfo", "rig.set_frequency"}) {
            const std::string answer = Call(method, share_test::XmlRpcParam("double", "7074000"));
            EXPECT_NE(answer.find("<fault>"), std::string::npos) << method << ": " << answer;
            EXPECT_NE(answer.find("not available"), std::string::npos) << method << ": " << answer;
        }
        PumpUntil([] { return false; }, 200ms);
        const qxsim::State after = radio().state();
        EXPECT_EQ(after.vfoA, before.vfoA);
        EXPECT_EQ(after.vfoB, before.vfoB);
        EXPECT_EQ(after.rxVfo, channelVfo);
        EXPECT_EQ(after.txVfo, before.txVfo);
        EXPECT_EQ(after.memory[7].half[0].frequency, 7'012'000);
        EXPECT_EQ(after.memory[300].half[0].frequency, before.memory[300].half[0].frequency);
        // Nothing that sets a VFO or moves one went to the radio (queries did).
        for (const auto& r : radio().received()) {
            const std::string code = r.text.substr(0, 2);
            const bool sets = r.text.size() > 2 && (code == "FA" || code == "FB" || code == "FR" ||
                                                    code == "FT" || code == "MC");
            EXPECT_FALSE(sets || code == "UP" || code == "DN") << r.text;
        }
        // Back on a VFO, the same request is taken.
        console->link()->ConnFR("W", 0);
        ASSERT_TRUE(PumpUntil([&] { return state().mainVfo == 0; }, 3s));
        EXPECT_EQ(Ask(c, "F 14074000"), "RPRT 0\n");
        EXPECT_EQ(radio().state().vfoA, 14'074'000);
    }
}

} // namespace
} // namespace sharing_test

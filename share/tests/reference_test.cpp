// SPDX-License-Identifier: GPL-3.0-or-later
// reference_test.cpp - the servers held against the programs that define
// what their protocols mean: fldigi's bandwidth box (the requests it was seen
// to send), an HTTP client that ends its lines with a bare LF, and the
// rig-control daemon of libhamlib-utils ("rigctld -m 1", its dummy radio, for
// the shape of an answer; "rigctld -m 4" on our own XML-RPC server, a radio
// without what we do not serve, for the report a client gets then). The
// daemon is required: the tests fail without it (scripts/deps.sh installs it).
#include "daemon_process.h"
#include "share_fixture.h"

#include <QProcess>
#include <QStandardPaths>

#include <memory>
#include <regex>

namespace {

using namespace share_test;

// ---------------------------------------------------------------- fldigi's bandwidth box

// A request as fldigi 4.1.23 sends it (captured between fldigi and a logging
// server: its own header, its client instruction, CR LF line ends).
std::string FldigiPost(const std::string& method, const std::string& params = "") {
    const std::string body = "<?xml version=\"1.0\"?>\r\n<?clientid=\"fldigi 7373\"?>\r\n<methodCall><methodName>" +
                             method + "</methodName>\r\n" +
                             (params.empty() ? "" : "<params>" + params + "</params>") + "</methodCall>\r\n";
    return body;
}

std::string Int(int n) { return "<param><value><i4>" + std::to_string(n) + "</i4></value></param>"; }

std::string Call(FakeRadio& radio, const std::string& body) {
    bool keyed = false;
    return zshare::FlrigServer::Execute(radio, QByteArray::fromStdString(body), keyed).toStdString();
}

// The strings of a response's values, in order.
std::vector<std::string> Strings(const std::string& response) {
    static const std::regex value("<string>([^<]*)</string>");
    return Captures(response, value);
}

// fldigi fills its bandwidth box from rig.get_bws, and on the operator's
// choice sends the position of the chosen entry in that list (fldigi's
// "1000" of 250, 500, 1000, ... went out as rig.set_bw(2)); its box then
// shows what rig.get_bw's first value names among those entries (a value not
// among them leaves the box blank). So each position must set the width at
// that position, and rig.get_bw must then give that width's own text.
TEST(FldigiBandwidth, EachPositionOfTheListSetsThatWidthAndTheBoxShowsIt) {
    FakeRadio radio;
    radio.description.bandwidths = {250, 500, 1000, 1800, 2400, 2700, 6000};
    // fldigi's start: the list, then the width now.
    const std::vector<std::string> listed = Strings(Call(radio, FldigiPost("rig.get_bws")));
    ASSERT_EQ(listed, (std::vector<std::string>{"Bandwidth", "250", "500", "1000", "1800", "2400", "2700", "6000"}));
    const std::vector<std::string> box(listed.begin() + 1, listed.end());
    for (std::size_t i = 0; i < box.size(); ++i) {
        SCOPED_TRACE("the box's entry " + box[i]);
        const std::string answer = Call(radio, FldigiPost("rig.set_bw", Int(static_cast<int>(i))));
        EXPECT_EQ(answer.find("fault"), std::string::npos) << answer;
        EXPECT_EQ(std::to_string(radio.width), box[i]);
        const std::vector<std::string> shown = Strings(Call(radio, FldigiPost("rig.get_bw")));
        ASSERT_FALSE(shown.empty());
        EXPECT_EQ(shown[0], box[i]); // what fldigi's box then shows
        EXPECT_EQ(radio.modeA, zshare::Mode::Usb);
    }
}

TEST(FldigiBandwidth, AWidthInHertzIsStillUnderstoodAndNothingElse) {
    FakeRadio radio;
    radio.description.bandwidths = {250, 500, 1000, 1800, 2400, 2700, 6000};
    // Callers that send Hz (every width the radio lists is larger than the list).
    EXPECT_EQ(Call(radio, FldigiPost("rig.set_bw", Int(1800))).find("fault"), std::string::npos);
    EXPECT_EQ(radio.width, 1800);
    for (const char* params : {"<param><value><double>1.5</double></value></param>", "<param><value><i4>-1</i4></value></param>",
                               "<param><value><i4>10000</i4></value></param>", ""}) {
        SCOPED_TRACE(params);
        radio.calls.clear();
        EXPECT_NE(Call(radio, FldigiPost("rig.set_bw", params)).find("fault"), std::string::npos);
        EXPECT_TRUE(radio.calls.empty());
        EXPECT_EQ(radio.width, 1800);
    }
    // The library's flrig client (WSJT-X, JS8Call) sets a VFO's width in Hz.
    EXPECT_EQ(Call(radio, FldigiPost("rig.set_bwA", Int(500))).find("fault"), std::string::npos);
    EXPECT_EQ(radio.width, 500);
}

// ---------------------------------------------------------------- the servers over sockets

class Servers : public ServersTest {
protected:
    void TearDown() override { share_test::StopProcesses({&dummy, &flrigDaemon}, 3000); }
    // The daemon with `args` on a free port, once it accepts connections; 0
    // when it does not start.
    std::uint16_t StartDaemon(std::unique_ptr<QProcess>& process, const QStringList& args) {
        const QString rigctld = QStandardPaths::findExecutable(QStringLiteral("rigctld"));
        if (rigctld.isEmpty())
            return 0;
        // The daemon on our XML-RPC server reads the radio first.
        return share_test::StartDaemon(process, rigctld, args, 100, [] { PumpFor(100ms); });
    }
    // One line on a new connection; the answer up to its report (or, for
    // `emptyLineEnds`, up to an empty line) and `more` lines after it (the
    // next command's answer), then whatever else follows at once.
    std::string Answer(std::uint16_t port, const std::string& line, bool emptyLineEnds, int more = 0) {
        LineClient c;
        if (!c.Connect(port) || !c.Send(line + "\n"))
            return "(no connection)";
        std::string out = c.ReadUntil(
            [&](const std::string& s) -> std::size_t {
                std::size_t end = 0;
                if (emptyLineEnds) {
                    const auto at = s.find("\n\n");
                    if (at == std::string::npos)
                        return 0;
                    end = at + 2;
                } else {
                    static const std::regex report("(^|[\n;|,])RPRT -?[0-9]+\n");
                    std::smatch m;
                    if (!std::regex_search(s, m, report))
                        return 0;
                    end = static_cast<std::size_t>(m.position(0) + m.length(0));
                }
                return LineClient::LinesEnd(s, more, end);
            },
            3s, Pump);
        out += c.ReadUntil([](const std::string&) { return std::size_t{0}; }, 50ms, Pump);
        return out;
    }
    // Values differ between the two radios: every number is one mark, every
    // mode one name.
    static std::string Shape(const std::string& answer) {
        static const std::regex number("-?[0-9]+(\\.[0-9]+)?");
        static const std::regex mode("Mode: [A-Z]+");
        return std::regex_replace(std::regex_replace(answer, number, "#"), mode, "Mode: M");
    }
    static std::string Report(const std::string& answer) {
        const auto at = answer.rfind("RPRT ");
        return at == std::string::npos ? std::string() : answer.substr(at);
    }

    std::unique_ptr<QProcess> dummy, flrigDaemon;
};

// An HTTP client whose lines end with a bare LF is answered like any other
// (it used to wait for a CR LF CR LF that never came).
TEST_F(Servers, ARequestWithBareLineFeedsIsAnswered) {
    const std::string body = "<?xml version=\"1.0\"?>\n<methodCall><methodName>rig.get_vfo</methodName></methodCall>\n";
    const std::string heads[] = {
        "POST /RPC2 HTTP/1.1\nHost: localhost\nContent-Type: text/xml\nContent-Length: " + std::to_string(body.size()) +
            "\n\n",
        "POST /RPC2 HTTP/1.1\r\nHost: localhost\nContent-Length: " + std::to_string(body.size()) + "\r\n\n",
        "POST /RPC2 HTTP/1.1\nContent-Length: " + std::to_string(body.size()) + "\n\r\n",
    };
    for (const std::string& head : heads) {
        SCOPED_TRACE(head);
        LineClient c;
        ASSERT_TRUE(c.Connect(flrigPort));
        // Twice on one connection: the first request's end is found exactly.
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(c.Send(head + body));
            const std::string response = c.ReadHttpResponse(3s, Pump);
            EXPECT_EQ(response.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << response;
            EXPECT_NE(response.find("<string>14074000</string>"), std::string::npos) << response;
        }
    }
    // A header that never ends still costs bounded memory and gets its answer.
    LineClient c;
    ASSERT_TRUE(c.Connect(flrigPort));
    ASSERT_TRUE(c.Send("GET / HTTP/1.1\nHost: localhost\n\n"));
    EXPECT_EQ(c.ReadLine(3s, Pump), "HTTP/1.1 400 Bad Request\r\n");
}

struct ShapeRow {
    const char* line;
    bool emptyLineEnds; // the answer ends with an empty line, not a report
};

// Against the dummy radio, which has all of these: the same lines, labels
// and separators, line for line.
TEST_F(Servers, SeparatedAnswersHaveTheDaemonsShape) {
    const std::uint16_t dummyPort = StartDaemon(dummy, {QStringLiteral("-m"), QStringLiteral("1")});
    ASSERT_NE(dummyPort, 0) << "rigctld (libhamlib-utils) did not start";
    // (The daemon keeps a separator it was given for some of its later
    // answers, to any client: only separated forms are compared here. The
    // plain and "+" forms are in share_rigctl_protocol_test.)
    const ShapeRow rows[] = {
        // The value keeps its own line; the report stands on the next.
        {";u NB", false}, {"|u NB", false}, {",u NB", false}, {";\\get_func NB", false},
        {";\\get_powerstat", false}, {"|\\get_powerstat", false},
        {";\\get_lock_mode", false}, {",\\get_lock_mode", false},
        // One line in all.
        {";f", false}, {";m", false}, {"|s", false}, {";l AF", false}, {";\\get_vfo_info VFOA", false},
        {";F 14074000", false}, {"|U NB 0", false},
        // chk_vfo with a separator ends with an empty line.
        {";\\chk_vfo", true}, {"|\\chk_vfo", true}, {",\\chk_vfo", true},
    };
    for (const ShapeRow& row : rows) {
        SCOPED_TRACE(row.line);
        const std::string ours = Answer(rigctlPort, row.line, row.emptyLineEnds);
        const std::string theirs = Answer(dummyPort, row.line, row.emptyLineEnds);
        EXPECT_EQ(Shape(ours), Shape(theirs)) << "ours:\n" << ours << "the daemon's:\n" << theirs;
        EXPECT_EQ(Report(ours), Report(theirs));
    }
}

// Commands of the protocol this radio does not serve: the daemon's own
// answer on a radio without them (the daemon's flrig client on our XML-RPC
// server), in the plain, "+" and separated forms; arguments are read, so a
// command after one on the line is still answered.
TEST_F(Servers, CommandsNotServedAnswerAsTheDaemonOnARadioWithoutThem) {
    const std::uint16_t daemonPort =
        StartDaemon(flrigDaemon, {QStringLiteral("-m"), QStringLiteral("4"), QStringLiteral("-r"),
                                  QStringLiteral("127.0.0.1:%1").arg(flrigPort)});
    ASSERT_NE(daemonPort, 0) << "rigctld -m 4 (libhamlib-utils) did not start on our XML-RPC server";
    struct Row {
        const char* line;
        int more = 0; // lines of the command after it
    };
    const Row rows[] = {
        {"n"}, {"+n"}, {";n"}, {"N 100"}, {"+N 100"}, {"|N 100"},
        {"y 1"}, {"+y 1"}, {"Y 1 0"}, {"+Y 1 0"},
        {"p ANN"}, {"+p ANN"}, {"P ANN 1"}, {"+P ANN 1"},
        {"B 1"}, {"+B 1"}, {"g VFO 0"}, {"+g VFO 0"},
        {"a"}, {"+a"}, {"A 1"}, {"+A 1"},
        {"\\get_dcd"}, {"+\\get_dcd"}, {"\\get_ctcss_sql"}, {"+\\get_ctcss_sql"}, {"\\set_ctcss_sql 885"},
        {"\\get_dcs_sql"}, {"\\set_dcs_sql 23"}, {"+\\set_dcs_sql 23"},
        {"\\send_dtmf 1"}, {"+\\send_dtmf 1"}, {"\\recv_dtmf"}, {"+\\recv_dtmf"}, {"\\stop_morse"}, {"+\\stop_morse"},
        {"n f", 1}, {"y 1 f", 1}, {"+a +f", 3},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        radio.calls.clear();
        const std::string ours = Answer(rigctlPort, row.line, false, row.more);
        EXPECT_TRUE(radio.calls.empty()) << radio.calls.front(); // nothing reaches the radio
        const std::string theirs = Answer(daemonPort, row.line, false, row.more);
        EXPECT_EQ(ours, theirs) << "ours:\n" << ours << "the daemon's:\n" << theirs;
    }
}

} // namespace

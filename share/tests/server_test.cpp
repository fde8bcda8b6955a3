// SPDX-License-Identifier: GPL-3.0-or-later
// server_test.cpp - the request queue and both servers over real sockets on
// a backend with plain state: order, the transmitter release, limits on
// lines, bodies and clients, address checks, a port already in use.
#include "share_fixture.h"

namespace {

using namespace share_test;

// ---------------------------------------------------------------- queue

TEST(RequestQueue, RunsInOrderOnlyWhileTheBackendIsIdleAndReleaseGoesFirst) {
    FakeRadio radio;
    zshare::RequestQueue queue(radio);
    std::vector<int> order;
    radio.busy = true;
    for (int i = 1; i <= 3; ++i)
        queue.Post(nullptr, [&order, i](zshare::RadioBackend&) { order.push_back(i); });
    queue.Post(nullptr, [&order](zshare::RadioBackend&) { order.push_back(0); }, true);
    for (int i = 0; i < 20; ++i) {
        Pump();
        QThread::msleep(1);
    }
    EXPECT_TRUE(order.empty()) << "a job ran while the backend was busy";
    EXPECT_GE(queue.Deferred(), 1u);
    radio.busy = false;
    ASSERT_TRUE(PumpUntil([&] { return order.size() == 4; }));
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));
}

TEST(RequestQueue, AJobThatPumpsEventsDoesNotStartTheNextInside) {
    FakeRadio radio;
    zshare::RequestQueue queue(radio);
    int depth = 0, deepest = 0, runs = 0;
    for (int i = 0; i < 3; ++i) {
        queue.Post(nullptr, [&](zshare::RadioBackend&) {
            deepest = std::max(deepest, ++depth);
            for (int k = 0; k < 5; ++k)
                QCoreApplication::processEvents();
            --depth;
            ++runs;
        });
    }
    ASSERT_TRUE(PumpUntil([&] { return runs == 3; }));
    EXPECT_EQ(deepest, 1);
}

TEST(RequestQueue, DropForgetsAGoneClientsJobsButNotItsRelease) {
    FakeRadio radio;
    zshare::RequestQueue queue(radio);
    int owner = 0;
    std::vector<int> ran;
    radio.busy = true;
    queue.Post(&owner, [&](zshare::RadioBackend&) { ran.push_back(1); });
    queue.Post(&owner, [&](zshare::RadioBackend&) { ran.push_back(2); }, true);
    queue.Drop(&owner);
    radio.busy = false;
    ASSERT_TRUE(PumpUntil([&] { return queue.Pending() == 0; }));
    EXPECT_EQ(ran, (std::vector<int>{2}));
}

// ---------------------------------------------------------------- rigctl server

class Rigctl : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(Listen(server));
        port = server.Status().port;
        ASSERT_NE(port, 0);
    }
    std::string Ask(LineClient& c, const std::string& line, int lines = 1) {
        return c.Ask(line, lines, 3s, Pump);
    }
    FakeRadio radio;
    zshare::RequestQueue queue{radio};
    zshare::RigctlServer server{queue};
    std::uint16_t port = 0;
};

TEST_F(Rigctl, ListensOnLoopbackAndCountsClients) {
    const zshare::ServerStatus s = server.Status();
    EXPECT_TRUE(s.listening);
    EXPECT_EQ(s.address, "127.0.0.1");
    LineClient a, b;
    ASSERT_TRUE(a.Connect(port));
    ASSERT_TRUE(b.Connect(port));
    EXPECT_TRUE(PumpUntil([&] { return server.Status().clients == 2; }));
    EXPECT_EQ(Ask(a, "f"), "14074000\n");
    a.Close();
    EXPECT_TRUE(PumpUntil([&] { return server.Status().clients == 1; }));
    EXPECT_NE(server.Summary().indexOf("1 client"), -1) << server.Summary().toStdString();
}

TEST_F(Rigctl, PipelinedLinesAreAnsweredInOrder) {
    LineClient c;
    ASSERT_TRUE(c.Connect(port));
    ASSERT_TRUE(c.Send("F 7074000\r\nf\n\nm\n+t\n"));
    EXPECT_EQ(c.ReadLines(7, 3s, Pump), "RPRT 0\n7074000\nUSB\n2400\nget_ptt:\nPTT: 0\nRPRT 0\n");
}

TEST_F(Rigctl, GarbageAndEndlessLinesCostBoundedMemoryAndTheClientGoesOn) {
    LineClient c;
    ASSERT_TRUE(c.Connect(port));
    EXPECT_EQ(Ask(c, std::string("\x00\x01 garbage \xfe;;;", 16)), "RPRT -1\n");
    // Two megabytes without a newline, then one: one report for the lot.
    const std::string chunk(64 * 1024, 'x');
    for (int i = 0; i < 32; ++i) {
        ASSERT_TRUE(c.Send(chunk));
        Pump();
    }
    ASSERT_TRUE(c.Send("\n"));
    EXPECT_EQ(c.ReadLine(5s, Pump), "RPRT -1\n");
    EXPECT_EQ(Ask(c, "f"), "14074000\n");
    EXPECT_TRUE(radio.calls.empty());
}

TEST_F(Rigctl, QuitClosesTheConnection) {
    LineClient c;
    ASSERT_TRUE(c.Connect(port));
    ASSERT_TRUE(c.Send("q\n"));
    EXPECT_TRUE(c.WaitClosed(3s, Pump));
}

TEST_F(Rigctl, AClientThatKeyedAndDisconnectsHasItsTransmitterReleased) {
    LineClient keyer, other;
    ASSERT_TRUE(keyer.Connect(port));
    ASSERT_TRUE(other.Connect(port));
    EXPECT_EQ(Ask(keyer, "T 1"), "RPRT 0\n");
    EXPECT_TRUE(radio.ptt);
    other.Close(); // never keyed: no release
    ASSERT_TRUE(PumpUntil([&] { return server.Status().clients == 1; }));
    for (int i = 0; i < 10; ++i)
        Pump();
    EXPECT_TRUE(radio.ptt);
    keyer.Close();
    ASSERT_TRUE(PumpUntil([&] { return !radio.ptt; }));
    EXPECT_EQ(radio.calls.back(), "SetPtt 0");
}

TEST_F(Rigctl, AKeyedClientSilentForTheSetTimeIsReleasedAndStaysConnected) {
    zshare::ServerSettings s = server.Settings();
    s.pttSilenceSeconds = 1;
    ASSERT_TRUE(server.Apply(s));
    LineClient c;
    ASSERT_TRUE(c.Connect(port));
    EXPECT_EQ(Ask(c, "T 1"), "RPRT 0\n");
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(PumpUntil([&] { return !radio.ptt; }, 4s));
    EXPECT_GE(t.elapsed(), 900);
    EXPECT_EQ(Ask(c, "t"), "0\n");
    EXPECT_EQ(server.Status().clients, 1);
}

TEST_F(Rigctl, AReleaseGoesAheadOfEveryQueuedRequest) {
    LineClient tuner, keyer;
    ASSERT_TRUE(tuner.Connect(port));
    ASSERT_TRUE(keyer.Connect(port));
    EXPECT_EQ(Ask(keyer, "T 1"), "RPRT 0\n");
    radio.busy = true; // the console runs an operation
    radio.calls.clear();
    ASSERT_TRUE(tuner.Send("F 7000000\n"));
    ASSERT_TRUE(PumpUntil([&] { return queue.Pending() == 1; }));
    ASSERT_TRUE(keyer.Send("T 0\n"));
    ASSERT_TRUE(PumpUntil([&] { return queue.Pending() == 2; }));
    EXPECT_TRUE(radio.calls.empty());
    radio.busy = false;
    EXPECT_EQ(keyer.ReadLine(3s, Pump), "RPRT 0\n");
    EXPECT_EQ(tuner.ReadLine(3s, Pump), "RPRT 0\n");
    ASSERT_EQ(radio.calls.size(), 2u);
    EXPECT_EQ(radio.calls[0], "SetPtt 0");
    EXPECT_EQ(radio.calls[1], "SetFrequency A 7000000");
}

// A full table makes room for a new client by closing the one silent
// longest; a client that keyed the transmitter or waits for an answer is
// never the one, and when nobody can go the new client is refused.
TEST_F(Rigctl, AFullTableClosesTheClientIdleLongestAndAnActiveClientGetsIn) {
    zshare::ServerSettings s = server.Settings();
    s.maxClients = 3;
    ASSERT_TRUE(server.Apply(s));
    LineClient keyer, idle, recent;
    ASSERT_TRUE(keyer.Connect(port));
    ASSERT_TRUE(PumpUntil([&] { return server.Status().clients == 1; }));
    EXPECT_EQ(Ask(keyer, "T 1"), "RPRT 0\n");
    ASSERT_TRUE(idle.Connect(port));
    ASSERT_TRUE(PumpUntil([&] { return server.Status().clients == 2; }));
    QThread::msleep(20);
    ASSERT_TRUE(recent.Connect(port));
    EXPECT_EQ(Ask(recent, "f"), "14074000\n");
    LineClient newcomer;
    ASSERT_TRUE(newcomer.Connect(port));
    EXPECT_EQ(Ask(newcomer, "f"), "14074000\n");
    EXPECT_TRUE(idle.WaitClosed(3s, Pump));
    EXPECT_EQ(server.Status().clients, 3);
    EXPECT_EQ(server.Evicted(), 1u);
    EXPECT_EQ(Ask(keyer, "t"), "1\n");
    EXPECT_TRUE(radio.ptt) << "closing an idle client must not release another's transmitter";
    EXPECT_EQ(Ask(recent, "f"), "14074000\n");
    // Two hundred idle connections do not lock the next client out.
    s.maxClients = 200;
    ASSERT_TRUE(server.Apply(s));
    std::vector<std::unique_ptr<LineClient>> crowd;
    for (int i = 0; i < 200; ++i) {
        crowd.push_back(std::make_unique<LineClient>());
        ASSERT_TRUE(crowd.back()->Connect(port));
        Pump(); // accepted as they come, as the program's event loop does
    }
    ASSERT_TRUE(PumpUntil([&] { return server.Status().clients == 200; }, 10s));
    LineClient late;
    ASSERT_TRUE(late.Connect(port));
    EXPECT_EQ(Ask(late, "f"), "14074000\n");
    EXPECT_EQ(Ask(keyer, "t"), "1\n");
}

TEST_F(Rigctl, ANewClientIsRefusedWhenEveryClientIsBusy) {
    zshare::ServerSettings s = server.Settings();
    s.maxClients = 2;
    ASSERT_TRUE(server.Apply(s));
    LineClient a, b;
    ASSERT_TRUE(a.Connect(port));
    ASSERT_TRUE(b.Connect(port));
    EXPECT_EQ(Ask(a, "T 1"), "RPRT 0\n");
    radio.busy = true; // b's request waits in the queue
    ASSERT_TRUE(b.Send("f\n"));
    ASSERT_TRUE(PumpUntil([&] { return queue.Pending() == 1; }));
    LineClient refused;
    ASSERT_TRUE(refused.Connect(port));
    EXPECT_TRUE(refused.WaitClosed(3s, Pump));
    EXPECT_NE(server.Status().lastError.indexOf("refused"), -1);
    radio.busy = false;
    EXPECT_EQ(b.ReadLine(3s, Pump), "14074000\n");
}

// fldigi writes its lines a byte at a time.
TEST_F(Rigctl, ALineInOneBytePiecesIsOneCommand) {
    LineClient c;
    ASSERT_TRUE(c.Connect(port));
    for (const char ch : std::string("F 7074000\n")) {
        ASSERT_TRUE(c.Send(std::string(1, ch)));
        for (int i = 0; i < 3; ++i)
            Pump();
    }
    EXPECT_EQ(c.ReadLine(3s, Pump), "RPRT 0\n");
    EXPECT_EQ(radio.a, 7'074'000);
}

TEST_F(Rigctl, OnlyAllowedAddressesAreServed) {
    zshare::ServerSettings s = server.Settings();
    s.allowed = {QHostAddress(QStringLiteral("127.0.0.2"))};
    ASSERT_TRUE(server.Apply(s));
    LineClient refused;
    ASSERT_TRUE(refused.Connect(port));
    EXPECT_TRUE(refused.WaitClosed(3s, Pump));
    s.allowed = {QHostAddress(QStringLiteral("::1"))}; // the loopback in either family
    ASSERT_TRUE(server.Apply(s));
    LineClient served;
    ASSERT_TRUE(served.Connect(port));
    EXPECT_EQ(Ask(served, "f"), "14074000\n");
}

TEST_F(Rigctl, APortInUseIsReportedAndTheOtherServerKeepsWorking) {
    zshare::RigctlServer second(queue);
    zshare::ServerSettings s;
    s.enabled = true;
    s.port = port;
    EXPECT_FALSE(second.Apply(s));
    EXPECT_FALSE(second.Status().listening);
    EXPECT_NE(second.Status().lastError.indexOf("already in use"), -1)
        << second.Status().lastError.toStdString();
    EXPECT_EQ(second.Summary(), second.Status().lastError);
    LineClient c;
    ASSERT_TRUE(c.Connect(port));
    EXPECT_EQ(Ask(c, "f"), "14074000\n");
}

TEST_F(Rigctl, SwitchingOffClosesClientsAndReleasesTheTransmitter) {
    LineClient c;
    ASSERT_TRUE(c.Connect(port));
    EXPECT_EQ(Ask(c, "T 1"), "RPRT 0\n");
    zshare::ServerSettings s = server.Settings();
    s.enabled = false;
    ASSERT_TRUE(server.Apply(s));
    EXPECT_FALSE(server.Status().listening);
    EXPECT_EQ(server.Summary(), "off");
    EXPECT_TRUE(c.WaitClosed(3s, Pump));
    EXPECT_TRUE(PumpUntil([&] { return !radio.ptt; }));
}

// ---------------------------------------------------------------- flrig server

class Flrig : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NO_FATAL_FAILURE(Listen(server));
        port = server.Status().port;
    }
    // One whole HTTP response (header and body).
    static std::string Response(LineClient& c) { return c.ReadHttpResponse(3s, Pump); }
    // `request` sent on a connection of its own, and the response to it.
    std::string Exchange(const std::string& request) const {
        LineClient c;
        EXPECT_TRUE(c.Connect(port));
        EXPECT_TRUE(c.Send(request));
        return Response(c);
    }
    FakeRadio radio;
    zshare::RequestQueue queue{radio};
    zshare::FlrigServer server{queue};
    std::uint16_t port = 0;
};

TEST_F(Flrig, KeepAliveServesSeveralCallsOnOneConnection) {
    LineClient c;
    ASSERT_TRUE(c.Connect(port));
    ASSERT_TRUE(c.Send(XmlRpcPost(XmlRpcCall("rig.get_vfo"))));
    const std::string first = Response(c);
    EXPECT_EQ(first.rfind("HTTP/1.1 200 OK\r\n", 0), 0u) << first;
    EXPECT_NE(first.find("<string>14074000</string>"), std::string::npos) << first;
    ASSERT_TRUE(c.Send(XmlRpcPost(XmlRpcCall("rig.set_vfo", "<param><value><double>7074000</double></value></param>"))));
    EXPECT_NE(Response(c).find("<i4>0</i4>"), std::string::npos);
    EXPECT_EQ(radio.a, 7'074'000);
}

struct BadRequest {
    const char* name;
    std::string request;
    const char* expect; // in the answer
    bool closes;
};

TEST_F(Flrig, MalformedRequestsGetAFaultOrAnHttpErrorNeverAHang) {
    const BadRequest rows[] = {
        {"not xml", XmlRpcPost("this is not xml"), "<name>faultCode</name><value><i4>-32700</i4>", false},
        {"unclosed", XmlRpcPost("<methodCall><methodName>rig.get_vfo</methodName><params>"), "-32700", false},
        {"unknown method", XmlRpcPost(XmlRpcCall("rig.explode")), "<i4>-32601</i4>", false},
        {"the radio's own command", XmlRpcPost(XmlRpcCall("rig.cat_string", "<param><value>FA00000000000;</value></param>")),
         "<i4>-32601</i4>", false},
        {"bad parameter", XmlRpcPost(XmlRpcCall("rig.set_vfo", "<param><value><string>FA0;</string></value></param>")),
         "<i4>-32602</i4>", false},
        {"no parameter", XmlRpcPost(XmlRpcCall("rig.set_mode")), "<i4>-32602</i4>", false},
        {"mode outside the list", XmlRpcPost(XmlRpcCall("rig.set_mode", "<param><value>PKT;MD9;</value></param>")),
         "<i4>-32602</i4>", false},
        {"get", std::string("GET / HTTP/1.1\r\n\r\n"), "HTTP/1.1 400", true},
        {"no length", std::string("POST /RPC2 HTTP/1.1\r\n\r\n"), "HTTP/1.1 411", true},
        {"body too large", std::string("POST /RPC2 HTTP/1.1\r\nContent-Length: 999999999\r\n\r\n"), "HTTP/1.1 413",
         true},
        {"endless header", std::string("POST /RPC2 HTTP/1.1\r\nX: ") + std::string(20000, 'y'), "HTTP/1.1 431", true},
    };
    for (const BadRequest& row : rows) {
        LineClient c;
        ASSERT_TRUE(c.Connect(port)) << row.name;
        ASSERT_TRUE(c.Send(row.request)) << row.name;
        const std::string answer = Response(c);
        EXPECT_NE(answer.find(row.expect), std::string::npos) << row.name << ": " << answer;
        if (row.closes) {
            EXPECT_TRUE(c.WaitClosed(3s, Pump)) << row.name;
        }
    }
    EXPECT_TRUE(radio.calls.empty());
    LineClient c;
    ASSERT_TRUE(c.Connect(port));
    ASSERT_TRUE(c.Send(XmlRpcPost(XmlRpcCall("rig.get_ptt"), "close")));
    EXPECT_NE(Response(c).find("<i4>0</i4>"), std::string::npos);
    EXPECT_TRUE(c.WaitClosed(3s, Pump));
}

// What clients send: a second processing instruction after the XML
// declaration, comments and whitespace where XML allows them.
TEST_F(Flrig, ProcessingInstructionsCommentsAndWhitespaceAreAccepted) {
    const std::string bodies[] = {
        "<?xml version=\"1.0\"?>\r\n<?clientid=\"client(45263)\"?>\r\n<methodCall><methodName>rig.get_vfo</methodName>\r\n</methodCall>\r\n",
        "<?xml version=\"1.0\"?><!-- a comment --><methodCall>\n  <methodName>rig.get_vfo</methodName>\n  <!-- -->\n"
        "  <params>\n  </params>\n</methodCall>\n<!-- after -->\n<?trailer x?>",
        "<methodCall><?pi inside?><methodName>rig.get_vfo</methodName></methodCall>",
    };
    for (const std::string& body : bodies) {
        const std::string answer = Exchange(XmlRpcPost(body));
        EXPECT_NE(answer.find("<string>14074000</string>"), std::string::npos) << body << "\n" << answer;
    }
    // A value with a comment beside it, and the parameter still checked.
    LineClient c;
    ASSERT_TRUE(c.Connect(port));
    ASSERT_TRUE(c.Send(XmlRpcPost("<?xml version=\"1.0\"?><?clientid=\"x\"?><methodCall><methodName>rig.set_vfoA</methodName>"
                            "<params><param><value><!-- Hz --><double>7074000</double></value></param></params>"
                            "</methodCall>")));
    EXPECT_NE(Response(c).find("<i4>0</i4>"), std::string::npos);
    EXPECT_EQ(radio.a, 7'074'000);
}

// Still no DTD, no entities, and a document must end.
TEST_F(Flrig, DtdsEntitiesAndUnendedMarkupAreRefused) {
    const std::string bodies[] = {
        "<?xml version=\"1.0\"?><!DOCTYPE m [<!ENTITY a \"rig.get_vfo\">]><methodCall><methodName>&a;</methodName></methodCall>",
        "<methodCall><methodName>rig.get_vfo</methodName></methodCall><?unended",
        "<methodCall><methodName>rig.get_vfo</methodName></methodCall><!-- unended",
        "<methodCall><methodName>rig.get_vfo</methodName></methodCall><methodCall/>",
    };
    for (const std::string& body : bodies)
        EXPECT_NE(Exchange(XmlRpcPost(body)).find("<i4>-32700</i4>"), std::string::npos) << body;
}

// A request written one byte at a time is one request.
TEST_F(Flrig, ARequestInOneBytePiecesIsServed) {
    LineClient c;
    ASSERT_TRUE(c.Connect(port));
    for (const char ch : XmlRpcPost(XmlRpcCall("rig.set_vfoA", "<param><value><double>7076000</double></value></param>"))) {
        ASSERT_TRUE(c.Send(std::string(1, ch)));
        Pump();
    }
    EXPECT_NE(Response(c).find("<i4>0</i4>"), std::string::npos);
    EXPECT_EQ(radio.a, 7'076'000);
}

// XML-RPC clients may open a connection for every request (HTTP
// "Connection: close", Python's client): the transmitter stays on after the
// connection closes, until a request releases it or no client has been
// heard for the silence time.
TEST_F(Flrig, AConnectionClosedAfterKeyingLeavesTheTransmitterOnUntilReleasedOrSilent) {
    zshare::ServerSettings s = server.Settings();
    s.pttSilenceSeconds = 1;
    ASSERT_TRUE(server.Apply(s));
    port = server.Status().port;
    auto once = [&](const std::string& call) { return PostOnce(port, call, Response); };
    const std::string on = XmlRpcCall("rig.set_ptt", "<param><value><int>1</int></value></param>");
    const std::string off = XmlRpcCall("rig.set_ptt", "<param><value><int>0</int></value></param>");
    EXPECT_NE(once(on).find("<i4>0</i4>"), std::string::npos);
    PumpUntil([] { return false; }, 400ms);
    EXPECT_TRUE(radio.ptt) << "released when the connection closed";
    EXPECT_NE(once(XmlRpcCall("rig.get_ptt")).find("<i4>1</i4>"), std::string::npos);
    EXPECT_NE(once(off).find("<i4>0</i4>"), std::string::npos);
    EXPECT_FALSE(radio.ptt);
    // Keyed again and then silent: released after the silence time.
    EXPECT_NE(once(on).find("<i4>0</i4>"), std::string::npos);
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(PumpUntil([&] { return !radio.ptt; }, 4s));
    EXPECT_GE(t.elapsed(), 800);
}

} // namespace

// SPDX-License-Identifier: GPL-3.0-or-later
// sharing_programs_test.cpp - what the programs that share the radio mean
// by their requests, held against the console on the simulator: fldigi
// itself choosing a width in its bandwidth box (Debian's fldigi, run on a
// virtual display and driven through its own XML-RPC control interface), the
// rig-control library's client keying with the data input, and a client
// that sends its mode with every width. The programs are required: the tests
// fail without them (scripts/deps.sh installs fldigi, xvfb, libhamlib-utils).
#include "daemon_process.h"
#include "sharing_fixture.h"

#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <regex>

namespace {

using namespace sharing_test;
using display_test::PumpFor;
using display_test::PumpUntil;

std::uint16_t FreePort() {
    QTcpServer probe;
    return probe.listen(QHostAddress::LocalHost, 0) ? probe.serverPort() : 0;
}

// One XML-RPC call over HTTP/1.0 (the connection closes after the answer);
// the response's body, empty when none came.
std::string XmlRpc(std::uint16_t port, const std::string& method, const std::string& params = "") {
    const std::string body = share_test::XmlRpcCall(method, params);
    LineClient c;
    if (!c.Connect(port) ||
        !c.Send("POST /RPC2 HTTP/1.0\r\nContent-Type: text/xml\r\nContent-Length: " + std::to_string(body.size()) +
                "\r\n\r\n" + body))
        return {};
    const std::string response = c.ReadUntil(
        [](const std::string& s) {
            const auto end = s.find("\r\n\r\n");
            if (end == std::string::npos)
                return std::size_t{0};
            std::string head = s.substr(0, end);
            std::transform(head.begin(), head.end(), head.begin(), [](unsigned char ch) { return std::tolower(ch); });
            const auto at = head.find("content-length:");
            const std::size_t length = at == std::string::npos ? 0 : std::stoul(head.substr(at + 15));
            return s.size() >= end + 4 + length ? end + 4 + length : 0;
        },
        3s, Pump);
    const auto end = response.find("\r\n\r\n");
    return end == std::string::npos ? std::string() : response.substr(end + 4);
}

std::string Param(const std::string& text) { return share_test::XmlRpcParam("string", text); }

// The text values of a response, in order (a value without a type is text).
std::vector<std::string> Texts(const std::string& response) {
    static const std::regex value("<value>(?:<string>)?([^<]*)(?:</string>)?</value>");
    return share_test::Captures(response, value);
}

bool Received(const qxsim::Radio& r, const std::string& prefix) {
    const auto got = r.received();
    return std::any_of(got.begin(), got.end(),
                       [&](const qxsim::Received& c) { return c.text.rfind(prefix, 0) == 0; });
}

class Programs : public SharingTest {
protected:
    void TearDown() override {
        share_test::StopProcesses({&fldigi, &xvfb}, 5000);
        SharingTest::TearDown();
    }

    // A virtual display of its own (the server picks a free number).
    QString StartDisplay() {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        if (program.isEmpty())
            return {};
        xvfb = std::make_unique<QProcess>();
        xvfb->start(program, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                              QStringLiteral("0"), QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                              QStringLiteral("tcp")});
        QByteArray number;
        if (!xvfb->waitForStarted(5000) || !PumpUntil(
                                                [&] {
                                                    number += xvfb->readAllStandardOutput();
                                                    return number.contains('\n');
                                                },
                                                15s))
            return {};
        return QStringLiteral(":") + QString::fromLatin1(number.trimmed());
    }

    // fldigi with its rig control on our XML-RPC server and its own control
    // interface on `controlPort`; its settings and files in `home`.
    bool StartFldigi(const QString& display, const QString& home, std::uint16_t controlPort, std::uint16_t arqPort) {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("fldigi"));
        if (program.isEmpty() || display.isEmpty())
            return false;
        const QString config = home + QStringLiteral("/fldigi");
        QDir().mkpath(config);
        // A station's settings: rig control through flrig at our port, a
        // call sign (so that no first-start assistant opens).
        const std::string settings = "<FLDIGI_DEFS>\n<CLIENT_TO_FLRIG>1</CLIENT_TO_FLRIG>\n"
                                     "<FLRIG_IP_ADDRESS>127.0.0.1</FLRIG_IP_ADDRESS>\n<FLRIG_IP_PORT>" +
                                     std::to_string(flrigPort) +
                                     "</FLRIG_IP_PORT>\n<MYCALL>N0CALL</MYCALL>\n</FLDIGI_DEFS>\n";
        if (std::FILE* f = std::fopen((config + QStringLiteral("/fldigi_def.xml")).toLocal8Bit().constData(), "w")) {
            std::fputs(settings.c_str(), f);
            std::fclose(f);
        } else {
            return false;
        }
        fldigi = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        env.insert(QStringLiteral("HOME"), home);
        fldigi->setProcessEnvironment(env);
        fldigi->setProcessChannelMode(QProcess::MergedChannels);
        fldigi->start(program, {QStringLiteral("--config-dir"), config, QStringLiteral("--xmlrpc-server-address"),
                                QStringLiteral("127.0.0.1"), QStringLiteral("--xmlrpc-server-port"),
                                QString::number(controlPort), QStringLiteral("--arq-server-address"),
                                QStringLiteral("127.0.0.1"), QStringLiteral("--arq-server-port"),
                                QString::number(arqPort)});
        return fldigi->waitForStarted(10000);
    }

    std::unique_ptr<QProcess> xvfb, fldigi;
};

// fldigi fills its bandwidth box from rig.get_bws and sends the chosen
// entry's position in that list; the radio must get the width the entry
// names, and the box must go on showing it (fldigi reads rig.get_bw every
// poll). Each choice is made through fldigi's own control interface, as the
// operator's choice in the box.
TEST_F(Programs, FldigiSetsTheWidthItsBoxShows) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QString display = StartDisplay();
    ASSERT_FALSE(display.isEmpty()) << "Xvfb is needed (scripts/deps.sh installs xvfb)";
    const std::uint16_t control = FreePort(), arq = FreePort();
    ASSERT_TRUE(StartFldigi(display, home.path(), control, arq)) << "fldigi is needed (scripts/deps.sh installs it)";
    // fldigi has read our list once its box offers it.
    std::vector<std::string> box;
    ASSERT_TRUE(PumpUntil(
        [&] {
            box = Texts(XmlRpc(control, "rig.get_bandwidths"));
            return std::find(box.begin(), box.end(), "1000") != box.end();
        },
        60s))
        << fldigi->readAll().toStdString();
    EXPECT_EQ(box, (std::vector<std::string>{"250", "500", "1000", "1800", "2400", "2700", "6000"}));
    // Its first read done, the box shows the radio's width.
    const std::string now = std::to_string(radio().value("FW"));
    ASSERT_TRUE(PumpUntil([&] { return Texts(XmlRpc(control, "rig.get_bandwidth")) == std::vector<std::string>{now}; },
                          10s));
    // fldigi reads the list and the width once more at its first poll, which
    // comes later on a loaded machine; a choice made before that read may be
    // overwritten in its box by it. A first choice, made again until the box
    // keeps it, waits that read out.
    bool settled = false;
    for (int attempt = 0; attempt < 5 && !settled; ++attempt) {
        XmlRpc(control, "rig.set_bandwidth", Param("1800"));
        PumpUntil([&] { return radio().value("FW") == 1800; }, 10s);
        PumpFor(1500ms);
        settled = radio().value("FW") == 1800 &&
                  Texts(XmlRpc(control, "rig.get_bandwidth")) == std::vector<std::string>{"1800"};
    }
    ASSERT_TRUE(settled) << "the box's 1800 never reached the radio and stayed: " << radio().value("FW");
    for (const std::string entry : {"1000", "500", "2700"}) {
        SCOPED_TRACE("the box's entry " + entry);
        radio().clearReceived();
        XmlRpc(control, "rig.set_bandwidth", Param(entry));
        EXPECT_TRUE(PumpUntil([&] { return radio().value("FW") == std::stoi(entry); }, 10s)) << radio().value("FW");
        // A few of fldigi's polls later its box still shows the entry.
        PumpFor(1000ms);
        EXPECT_EQ(Texts(XmlRpc(control, "rig.get_bandwidth")), std::vector<std::string>{entry});
        EXPECT_EQ(radio().value("FW"), std::stoi(entry));
        char fw[16];
        std::snprintf(fw, sizeof fw, "FW%04d", std::stoi(entry));
        EXPECT_TRUE(Received(radio(), fw));
        const auto got = radio().received();
        EXPECT_EQ(std::count_if(got.begin(), got.end(), [](const qxsim::Received& c) {
                      return c.text.rfind("FW", 0) == 0 && c.text.size() > 2;
                  }),
                  1);
        EXPECT_FALSE(Received(radio(), "MD")) << "the mode was not asked for";
    }
    EXPECT_EQ(radio().state().modeA, 2);
}

// A client sends its mode with every width, and fldigi only the width: the
// mode the radio already has is not sent again, a new one is.
TEST_F(Programs, AnUnchangedModeIsNotSentAgain) {
    LineClient c;
    ASSERT_TRUE(c.Connect(rigctlPort));
    ASSERT_EQ(Ask(c, "M USB 0"), "RPRT 0\n");
    ASSERT_EQ(radio().state().modeA, 2);
    struct Step {
        const char* line;
        int width;
    };
    for (const Step step : {Step{"M USB 2400", 2400}, Step{"M USB 1800", 1800}, Step{"\\set_mode USB 0", 2400}}) {
        SCOPED_TRACE(step.line);
        radio().clearReceived();
        EXPECT_EQ(Ask(c, step.line), "RPRT 0\n");
        EXPECT_EQ(radio().value("FW"), step.width);
        EXPECT_FALSE(Received(radio(), "MD"));
    }
    radio().clearReceived();
    const std::vector<std::string> widths = Texts(XmlRpc(flrigPort, "rig.get_bws"));
    const auto at = std::find(widths.begin(), widths.end(), "500");
    ASSERT_NE(at, widths.end());
    // (The list's first entry is its title.)
    XmlRpc(flrigPort, "rig.set_bw",
           "<param><value><i4>" + std::to_string(at - widths.begin() - 1) + "</i4></value></param>");
    EXPECT_EQ(radio().value("FW"), 500);
    EXPECT_FALSE(Received(radio(), "MD"));
    // A new mode goes out.
    radio().clearReceived();
    EXPECT_EQ(Ask(c, "M LSB 0"), "RPRT 0\n");
    EXPECT_TRUE(Received(radio(), "MD1"));
    EXPECT_EQ(radio().state().modeA, 1);
}

// The rig-control library's client keying with the data input (WSJT-X's
// Rear/Data source, fldigi's PTT on the data port) is refused as not
// available, the radio stays receiving, and the reason reaches the client's
// log.
TEST_F(Programs, DataInputPttIsRefusedWithItsReasonInTheClientsLog) {
    const QString rigctl = QStandardPaths::findExecutable(QStringLiteral("rigctl"));
    ASSERT_FALSE(rigctl.isEmpty()) << "rigctl is missing: scripts/deps.sh installs libhamlib-utils";
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(rigctl, {QStringLiteral("-m"), QStringLiteral("2"), QStringLiteral("-r"),
                     QStringLiteral("127.0.0.1:%1").arg(rigctlPort), QStringLiteral("-vvvvv"), QStringLiteral("T"),
                     QStringLiteral("3"), QStringLiteral("t")});
    ASSERT_TRUE(p.waitForStarted(5000));
    QByteArray out;
    ASSERT_TRUE(PumpUntil(
        [&] {
            out += p.readAll();
            return p.state() == QProcess::NotRunning;
        },
        30s));
    out += p.readAll();
    const std::string log = out.toStdString();
    EXPECT_NE(log.find("Feature not available"), std::string::npos) << log;
    // The log shows the answer's bytes: the reason follows the report.
    EXPECT_NE(log.find("data input"), std::string::npos) << log;
    EXPECT_EQ(radio().state().transmitting, 0);
    EXPECT_FALSE(Received(radio(), "TX"));
}

} // namespace

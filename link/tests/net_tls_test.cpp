// SPDX-License-Identifier: GPL-3.0-or-later
// The link over TLS: ser2net in front of the scripted radio with client
// certificates, a server certificate from another CA or for another name,
// and a pinned certificate.
#include "net_fixture.h"
#include "testing.h"

using namespace std::chrono_literals;

namespace {

// ser2net in front of the same radio with TLS and client certificates.
class TlsTest : public Ser2netTest {
protected:
    void SetUp() override
    {
        if (Ser2netServer::Program().empty())
            GTEST_SKIP() << "ser2net is not installed (scripts/deps.sh installs it)";
        ASSERT_TRUE(certs.ok()) << "the openssl program could not make the test certificates";
        LinkTest::SetUp();
        const std::string ssl = "ssl(key=" + certs.file("server.key") + ",cert=" + certs.file("server.crt") +
                                ",CA=" + certs.file("ca.crt") + ",clientauth)";
        const std::string options = "authdir: " + certs.file("auth");
        rfc = server.add({"telnet(rfc2217)," + ssl, radio.path(), 0, options});
        raw = server.add({ssl, rawRadio.path(), 0, options});
        const std::string impostorSsl = "ssl(key=" + certs.file("impostor.key") + ",cert=" + certs.file("impostor.crt") +
                                        ",CA=" + certs.file("ca.crt") + ",clientauth)";
        impostor = server.add({"telnet(rfc2217)," + impostorSsl, radio.path(), 0, options});
        const std::string misnamedSsl = "ssl(key=" + certs.file("misnamed.key") + ",cert=" + certs.file("misnamed.crt") +
                                        ",CA=" + certs.file("ca.crt") + ",clientauth)";
        misnamed = server.add({"telnet(rfc2217)," + misnamedSsl, radio.path(), 0, options});
        std::string error;
        ASSERT_TRUE(server.start(&error)) << error;
    }
    std::string Tls(std::size_t line, const char* scheme = "rfc2217+tls") const
    {
        return std::string(scheme) + "://127.0.0.1:" + std::to_string(server.port(line));
    }
    corvan::TlsOptions Options(const char* client) const
    {
        corvan::TlsOptions o;
        o.caFile = certs.file("ca.crt");
        o.clientCertificateFile = certs.file(std::string(client) + ".crt");
        o.clientKeyFile = certs.file(std::string(client) + ".key");
        return o;
    }
    Certificates certs;
    std::size_t impostor = 0;
    std::size_t misnamed = 0;
};

TEST_F(TlsTest, ClientCertificateAcceptedOverBothKinds)
{
    corvan::SetTlsOptions(Options("client"));
    ASSERT_EQ(Open(Tls(rfc), 19200, "n", 8, 1), 1) << corvan::LastOpenError() << server.log();
    EXPECT_EQ(CCorvan::GetModelType(), corvan::kModelQR7730);
    const termios t = TermiosOf(radio.path());
    EXPECT_EQ(cfgetospeed(&t), static_cast<speed_t>(B19200));
    link.Close();
    corvan::testing::SetModelType(0);
    ASSERT_EQ(Open(Tls(raw, "tcp+tls")), 1) << corvan::LastOpenError();
    EXPECT_EQ(CCorvan::GetModelType(), corvan::kModelQR7730);
    link.Close();
    {
        // Decrypted bytes must not wait for more to arrive either.
        DelayProxy proxy("127.0.0.1", server.port(raw), 0ms);
        ASSERT_TRUE(proxy.start());
        ASSERT_EQ(Open("tcp+tls://" + proxy.hostPort()), 1) << corvan::LastOpenError();
        BurstThroughAHeldPath(rawRadio, proxy);
    }
    // The name in the certificate is checked: "localhost" is in it too.
    link.Close();
    ASSERT_EQ(Open("rfc2217+tls://localhost:" + std::to_string(server.port(rfc))), 1) << corvan::LastOpenError();
}

TEST_F(TlsTest, WrongClientCertificateIsRefusedAndSaid)
{
    for (const char* scheme : {"rfc2217+tls", "tcp+tls"}) {
        SCOPED_TRACE(scheme);
        boxes.shown.clear();
        corvan::SetTlsOptions(Options("stranger"));
        EXPECT_EQ(Open(Tls(std::string(scheme) == "tcp+tls" ? raw : rfc, scheme)), 0);
        EXPECT_FALSE(CCorvan::IsOpen());
        EXPECT_NE(corvan::LastOpenError().find("The server refused our certificate"), std::string::npos)
            << corvan::LastOpenError();
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0], "Error opening COM port");
    }
    // No certificate at all: refused too, and the words point at it.
    corvan::TlsOptions none;
    none.caFile = certs.file("ca.crt");
    corvan::SetTlsOptions(none);
    EXPECT_EQ(Open(Tls(rfc)), 0);
    EXPECT_NE(corvan::LastOpenError().find("client certificate"), std::string::npos) << corvan::LastOpenError();
}

TEST_F(TlsTest, ServerCertificateFromAnotherCaIsRefusedAndSaid)
{
    corvan::SetTlsOptions(Options("client"));
    EXPECT_EQ(Open(Tls(impostor)), 0);
    EXPECT_EQ(corvan::LastOpenError().rfind("The server's certificate did not verify: ", 0), 0u)
        << corvan::LastOpenError();
    // Signed by the right CA, but for another name than the one dialled
    // (an address here, then a name).
    EXPECT_EQ(Open(Tls(misnamed)), 0);
    EXPECT_EQ(corvan::LastOpenError().rfind("The server's certificate did not verify: ", 0), 0u)
        << corvan::LastOpenError();
    EXPECT_EQ(Open("rfc2217+tls://localhost:" + std::to_string(server.port(misnamed))), 0);
    EXPECT_EQ(corvan::LastOpenError().rfind("The server's certificate did not verify: ", 0), 0u)
        << corvan::LastOpenError();
}

TEST_F(TlsTest, PinnedCertificate)
{
    corvan::TlsOptions o = Options("client");
    o.caFile.clear();
    o.pinnedCertificateFile = certs.file("server.crt");
    corvan::SetTlsOptions(o);
    ASSERT_EQ(Open(Tls(rfc)), 1) << corvan::LastOpenError();
    link.Close();
    o.pinnedCertificateFile = certs.file("impostor.crt");
    corvan::SetTlsOptions(o);
    EXPECT_EQ(Open(Tls(rfc)), 0);
    EXPECT_EQ(corvan::LastOpenError().rfind("The server's certificate did not verify: ", 0), 0u)
        << corvan::LastOpenError();
}

} // namespace

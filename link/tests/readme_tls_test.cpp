// SPDX-License-Identifier: GPL-3.0-or-later
// The README's ser2net configuration for RFC 2217 behind TLS with a client
// certificate, taken as written (only /etc/ser2net moved to a temporary
// folder, sudo dropped): a console with a certificate from the clients' CA
// gets through, one from another CA does not.
#include "pty_radio.h"
#include "ser2net_server.h"
#include "testing.h"

#include <corvan.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// The fenced block of `kind` that follows `from` in `text`.
std::string Block(const std::string& text, std::size_t from, const std::string& kind, std::size_t* end = nullptr)
{
    const std::string open = "```" + kind + "\n";
    const std::size_t begin = text.find(open, from);
    if (begin == std::string::npos)
        return {};
    const std::size_t body = begin + open.size();
    const std::size_t close = text.find("```", body);
    if (close == std::string::npos)
        return {};
    if (end != nullptr)
        *end = close;
    return text.substr(body, close - body);
}

bool RunShell(const std::string& script)
{
    return std::system(("( " + script + " ) >/dev/null 2>&1").c_str()) == 0;
}

class ReadmeTls : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (Ser2netServer::Program().empty())
            GTEST_SKIP() << "ser2net is not installed (scripts/deps.sh installs it)";
        char dir[] = "/tmp/zephyra-readme-tls-XXXXXX";
        ASSERT_NE(::mkdtemp(dir), nullptr);
        m_dir = dir;
        corvan::testing::SetConnPauses(0, 300);
        corvan::testing::ClearStore();
        corvan::testing::SetModelType(0);
    }
    void TearDown() override
    {
        link.Close();
        corvan::SetTlsOptions({});
        corvan::testing::ClearStore();
        if (!m_dir.empty())
            RunShell("rm -rf " + m_dir);
    }
    std::string m_dir;
    CCorvan link;
    PtyRadio radio;
};

TEST_F(ReadmeTls, TheServerConfigurationAdmitsTheClientsCaOnly)
{
    const std::string readme = ReadFile(ZEPHYRA_SOURCE_DIR "/README.md");
    const std::size_t section = readme.find("## Operating remotely");
    ASSERT_NE(section, std::string::npos);
    std::size_t yamlEnd = 0;
    const std::string yaml = ReplaceAll(Block(readme, section, "yaml", &yamlEnd), "/etc/ser2net", m_dir);
    ASSERT_FALSE(yaml.empty());
    // The commands that set up the server's folders: a fenced block between
    // the configuration and the console's side, and only folder and
    // certificate commands from it.
    std::string setup;
    const std::size_t nextFence = readme.find("```", yamlEnd + 3);
    const std::size_t profileAt = readme.find("The console's profile then holds", yamlEnd);
    if (nextFence < profileAt && readme.compare(nextFence, 6, "```sh\n") == 0) {
        std::istringstream commands(ReplaceAll(Block(readme, nextFence, "sh"), "sudo ", ""));
        for (std::string line; std::getline(commands, line);) {
            if (line.empty())
                continue;
            ASSERT_TRUE(line.rfind("mkdir ", 0) == 0 || line.rfind("cp ", 0) == 0 || line.rfind("openssl rehash ", 0) == 0)
                << "not a set-up command: " << line;
            setup += (setup.empty() ? "" : " && ") + ReplaceAll(line, "/etc/ser2net", m_dir);
        }
    }

    std::smatch m;
    ASSERT_TRUE(std::regex_search(yaml, m, std::regex(R"(accepter: (.*),tcp,\d+)"))) << yaml;
    const std::string accepter = m[1];
    std::string options;
    const std::size_t optionsAt = yaml.find("  options:\n");
    ASSERT_NE(optionsAt, std::string::npos) << yaml;
    std::istringstream lines(yaml.substr(optionsAt + 11));
    for (std::string line; std::getline(lines, line);) {
        const std::size_t key = line.find_first_not_of(' ');
        if (key == std::string::npos || line.rfind("kickolduser", key) == key)
            continue; // the test server sets that one itself
        options += line.substr(key) + "\n";
    }
    // The console's certificate carries the name the README's commands use.
    std::string name = "operator";
    if (std::regex_search(readme.cbegin() + static_cast<std::ptrdiff_t>(section), readme.cend(), m,
                          std::regex(R"re(-subj "/CN=([A-Za-z0-9_.-]+)")re")))
        name = m[1];

    const std::string ec = "-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes";
    ASSERT_TRUE(RunShell("cd " + m_dir + " && " +
                    "openssl req -x509 " + ec + " -days 2 -subj /CN=ServerCA -keyout ca.key -out ca.crt && " +
                    "openssl req -x509 " + ec + " -days 2 -subj /CN=ClientsCA -keyout clients-ca.key -out clients-ca.crt && " +
                    "openssl req -x509 " + ec + " -days 2 -subj /CN=OtherCA -keyout other.key -out other.crt && " +
                    "printf 'subjectAltName=IP:127.0.0.1\\n' > server.ext && " +
                    "openssl req " + ec + " -subj /CN=localhost -keyout server.key -out server.csr && " +
                    "openssl x509 -req -in server.csr -CA ca.crt -CAkey ca.key -CAcreateserial -days 2 -extfile server.ext -out server.crt && " +
                    "openssl req " + ec + " -subj /CN=" + name + " -keyout console.key -out console.csr && " +
                    "openssl x509 -req -in console.csr -CA clients-ca.crt -CAkey clients-ca.key -CAcreateserial -days 2 -out console.crt && " +
                    "openssl x509 -req -in console.csr -CA other.crt -CAkey other.key -CAcreateserial -days 2 -out stranger.crt"))
        << "the openssl program could not make the test certificates";
    if (!setup.empty()) {
        ASSERT_TRUE(RunShell(setup)) << setup;
    }

    Ser2netServer server;
    server.add({accepter, radio.path(), 0, options});
    std::string error;
    ASSERT_TRUE(server.start(&error)) << error << "\n" << yaml;
    const std::string address = "rfc2217+tls://127.0.0.1:" + std::to_string(server.port(0));

    corvan::TlsOptions tls;
    tls.caFile = m_dir + "/ca.crt";
    tls.clientCertificateFile = m_dir + "/console.crt";
    tls.clientKeyFile = m_dir + "/console.key";
    corvan::SetTlsOptions(tls);
    EXPECT_EQ(link.Conn("QR-7730", address.c_str(), 9600, "n", 8, 1, 1), 1)
        << corvan::LastOpenError() << "\n" << server.log();
    EXPECT_EQ(CCorvan::GetModelType(), corvan::kModelQR7730);
    link.Close();

    tls.clientCertificateFile = m_dir + "/stranger.crt";
    corvan::SetTlsOptions(tls);
    CCorvan::SetMessageBoxHandler([](const char*) {});
    EXPECT_EQ(link.Conn("QR-7730", address.c_str(), 9600, "n", 8, 1, 1), 0);
    CCorvan::SetMessageBoxHandler(nullptr);
    EXPECT_NE(corvan::LastOpenError().find("refused our certificate"), std::string::npos) << corvan::LastOpenError();
}

} // namespace

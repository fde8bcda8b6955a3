// SPDX-License-Identifier: GPL-3.0-or-later
// What the network tests share.
#include "net_fixture.h"

#include <arpa/inet.h>
#include <cstdlib>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace std::chrono_literals;

void BurstThroughAHeldPath(PtyRadio& radio, DelayProxy& proxy)
{
    std::string burst;
    while (burst.size() < 3000)
        burst += "SM00015;";
    const auto before = corvan::testing::BytesRead();
    proxy.setFrozen(true);
    radio.send(burst);
    std::this_thread::sleep_for(200ms); // lets the burst reach the held path; shorter only weakens the check
    proxy.setFrozen(false);
    EXPECT_TRUE(WaitUntil([&] { return corvan::testing::BytesRead() >= before + burst.size(); }, 3s))
        << corvan::testing::BytesRead() - before << " of " << burst.size();
}

int ListenOnLoopback(int backlog, std::uint16_t& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof a;
    ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::listen(fd, backlog);
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    port = ntohs(a.sin_port);
    return fd;
}

Certificates::Certificates()
{
    char dir[] = "/tmp/zephyra-certs-XXXXXX";
    if (::mkdtemp(dir) == nullptr)
        return;
    m_dir = dir;
    const std::string d = m_dir;
    const std::string script =
        "cd " + d + " && "
        "mk() { openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2 -subj \"/CN=$2\" -keyout $1.key -out $1.crt; } && "
        "sign() { openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -subj \"/CN=$2\" -keyout $1.key -out $1.csr && "
        "printf 'subjectAltName=%s\\n' \"$4\" > $1.ext && "
        "openssl x509 -req -in $1.csr -CA $3.crt -CAkey $3.key -CAcreateserial -days 2 -extfile $1.ext -out $1.crt; } && "
        "mk ca 'Test CA' && mk other 'Other CA' && "
        "sign server localhost ca 'DNS:localhost,IP:127.0.0.1' && "
        "sign client operator ca 'DNS:operator' && "
        "sign stranger operator other 'DNS:operator' && "
        "sign impostor localhost other 'DNS:localhost,IP:127.0.0.1' && "
        "sign misnamed elsewhere ca 'DNS:elsewhere.example' && "
        "mkdir -p auth/operator/allowed_certs && cp ca.crt auth/operator/allowed_certs/ && "
        "openssl rehash auth/operator/allowed_certs";
    m_ok = std::system(("( " + script + " ) >/dev/null 2>&1").c_str()) == 0;
}

Certificates::~Certificates()
{
    if (!m_dir.empty())
        [[maybe_unused]] const int r = std::system(("rm -rf " + m_dir).c_str());
}

// SPDX-License-Identifier: GPL-3.0-or-later
// share_server.cpp - listening, client admission, limits, transmitter release.
#include <zephyra_share.h>

#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <chrono>

namespace zshare {

namespace {

std::int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

// A client that never reads its answers is dropped before it costs more.
constexpr qint64 kMaxUnwritten = 1024 * 1024;

// "::1" in the list also admits the IPv4 loopback, and the reverse.
bool SameHost(const QHostAddress& a, const QHostAddress& b) {
    if (a.isEqual(b, QHostAddress::TolerantConversion))
        return true;
    const QHostAddress v6(QHostAddress::LocalHostIPv6);
    const QHostAddress v4(QHostAddress::LocalHost);
    return (a == v6 && b.isEqual(v4, QHostAddress::TolerantConversion)) ||
           (b == v6 && a.isEqual(v4, QHostAddress::TolerantConversion));
}

} // namespace

ShareServer::ShareServer(RequestQueue& queue, quint16 defaultPort, QObject* parent)
    : QObject(parent), m_queue(queue), m_defaultPort(defaultPort), m_silenceTimer(new QTimer(this)) {
    m_settings.port = defaultPort;
    m_silenceTimer->setInterval(250);
    connect(m_silenceTimer, &QTimer::timeout, this, &ShareServer::CheckSilence);
}

void ShareServer::SetClock(std::function<std::int64_t()> clock) { m_clock = std::move(clock); }

std::int64_t ShareServer::Now() const { return m_clock ? m_clock() : NowMs(); }

ShareServer::~ShareServer() {
    // Nobody hears of a server that is going away.
    blockSignals(true);
    Stop();
}

bool ShareServer::Apply(const ServerSettings& settings) {
    const bool restart = !m_server || settings.address != m_settings.address ||
                         settings.port != m_settings.port || !settings.enabled;
    m_settings = settings;
    if (!settings.enabled) {
        Stop();
        m_lastError.clear();
        emit statusChanged();
        return true;
    }
    if (!restart)
        return true;
    Stop();
    m_server = new QTcpServer(this);
    m_server->setMaxPendingConnections(64);
    connect(m_server, &QTcpServer::newConnection, this, &ShareServer::OnNewConnection);
    if (!m_server->listen(settings.address, settings.port)) {
        const bool inUse = m_server->serverError() == QAbstractSocket::AddressInUseError;
        const QString where = QStringLiteral("%1:%2").arg(settings.address.toString()).arg(settings.port);
        SetError(inUse ? QStringLiteral("Port %1 is already in use").arg(where)
                       : QStringLiteral("Cannot listen on %1: %2").arg(where, m_server->errorString()));
        delete m_server;
        m_server = nullptr;
        return false;
    }
    m_lastError.clear();
    m_silenceTimer->start();
    emit statusChanged();
    return true;
}

void ShareServer::Stop() {
    ReleaseTransmitter("server stopped");
    m_silenceTimer->stop();
    for (auto& [socket, client] : m_clients) {
        m_queue.Drop(client.get());
        if (m_queue.ModeLockOwner() == client.get())
            m_queue.SetModeLockOwner(nullptr);
        if (client->socket) {
            client->socket->disconnect(this);
            client->socket->abort();
            client->socket->deleteLater();
        }
    }
    const bool had = m_server != nullptr || !m_clients.empty();
    m_clients.clear();
    if (m_server) {
        m_server->close();
        delete m_server;
        m_server = nullptr;
    }
    if (had)
        emit statusChanged();
}

ServerStatus ShareServer::Status() const {
    ServerStatus s;
    s.listening = m_server && m_server->isListening();
    s.address = m_settings.address.toString();
    s.port = s.listening ? m_server->serverPort() : m_settings.port;
    s.clients = static_cast<int>(m_clients.size());
    s.lastError = m_lastError;
    return s;
}

QString ShareServer::Summary() const {
    const ServerStatus s = Status();
    if (!s.lastError.isEmpty())
        return s.lastError;
    if (!s.listening)
        return QStringLiteral("off");
    return QStringLiteral("%1:%2, %3 client%4")
        .arg(s.address)
        .arg(s.port)
        .arg(s.clients)
        .arg(s.clients == 1 ? "" : "s");
}

void ShareServer::SetError(const QString& text) {
    m_lastError = text;
    emit statusChanged();
}

ShareServer::Client* ShareServer::Find(QTcpSocket* socket) {
    const auto it = m_clients.find(socket);
    return it == m_clients.end() ? nullptr : it->second.get();
}

void ShareServer::OnNewConnection() {
    while (m_server && m_server->hasPendingConnections()) {
        QTcpSocket* socket = m_server->nextPendingConnection();
        if (!socket)
            break;
        bool allowed = m_settings.allowed.isEmpty();
        for (const QHostAddress& a : m_settings.allowed)
            allowed = allowed || SameHost(a, socket->peerAddress());
        // A full table makes room: the client silent longest goes (one that
        // waits for an answer or keyed the transmitter stays).
        if (allowed && static_cast<int>(m_clients.size()) >= m_settings.maxClients)
            EvictIdlest();
        if (!allowed || static_cast<int>(m_clients.size()) >= m_settings.maxClients) {
            m_lastError = allowed ? QStringLiteral("Client refused: %1 clients already").arg(m_clients.size())
                                  : QStringLiteral("Client refused: %1 is not allowed")
                                        .arg(socket->peerAddress().toString());
            socket->abort();
            socket->deleteLater();
            emit statusChanged();
            continue;
        }
        socket->setReadBufferSize(kReadChunk);
        auto client = std::make_unique<Client>();
        client->socket = socket;
        client->peer = socket->peerAddress();
        client->lastHeardMs = Now();
        m_clients[socket] = std::move(client);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { OnDisconnected(socket); });
        emit statusChanged();
    }
}

void ShareServer::EvictIdlest() {
    auto idlest = m_clients.end();
    for (auto it = m_clients.begin(); it != m_clients.end(); ++it) {
        const Client& c = *it->second;
        if (c.inFlight || m_queue.Ptt().Owns(c.party) || c.closing || m_queue.ModeLockOwner() == &c)
            continue;
        if (idlest == m_clients.end() || c.lastHeardMs < idlest->second->lastHeardMs)
            idlest = it;
    }
    if (idlest == m_clients.end())
        return;
    Client* client = idlest->second.get();
    m_queue.Drop(client);
    if (QTcpSocket* socket = client->socket) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
    m_clients.erase(idlest);
    ++m_evicted;
}

void ShareServer::Pull(Client& client) {
    if (!client.socket)
        return;
    const qint64 room = kReadChunk - client.buffer.size();
    if (room > 0 && client.socket->bytesAvailable() > 0)
        client.buffer.append(client.socket->read(room));
}

void ShareServer::OnReadyRead(QTcpSocket* socket) {
    Client* client = Find(socket);
    if (!client)
        return;
    client->lastHeardMs = Now();
    // A request from the address of a closed connection that left the
    // transmitter on: that program is still there.
    if (m_held != Transmitter::kNobody && client->peer == m_heldPeer)
        m_heldHeardMs = client->lastHeardMs;
    Pull(*client);
    Process(*client);
}

void ShareServer::OnDisconnected(QTcpSocket* socket) {
    const auto it = m_clients.find(socket);
    if (it == m_clients.end())
        return;
    Client* client = it->second.get();
    m_queue.Drop(client);
    if (m_queue.ModeLockOwner() == client)
        m_queue.SetModeLockOwner(nullptr); // a lock nobody can release any more
    if (HoldsPttAfterClose() && m_queue.Ptt().Owns(client->party)) {
        // A closed HTTP connection is no vanished client: the transmission
        // it keyed stays on, held for the program at that address, until it
        // is released or nothing has come from there for the silence time.
        // The hold is no other client's: a request of another connection
        // neither takes it over nor ends it by closing.
        m_held = Transmitter::NewParty();
        m_heldPeer = client->peer;
        m_heldHeardMs = Now();
        m_queue.Ptt().Transfer(client->party, m_held);
    } else if (!HoldsPttAfterClose()) {
        // A program that keyed the transmitter and went away must not leave
        // the radio transmitting; one that no longer owns it changes nothing.
        ReleaseFor(client->party);
    }
    m_clients.erase(it);
    socket->deleteLater();
    emit statusChanged();
}

void ShareServer::CheckSilence() {
    Transmitter& ptt = m_queue.Ptt();
    if (m_held != Transmitter::kNobody && !ptt.Owns(m_held))
        m_held = Transmitter::kNobody; // unkeyed, or keyed by someone else since
    if (m_settings.pttSilenceSeconds <= 0)
        return;
    const std::int64_t now = Now();
    const std::int64_t silence = m_settings.pttSilenceSeconds * 1000LL;
    auto release = [&](Transmitter::Party party) {
        m_lastError = QStringLiteral("Transmitter released: a client went silent");
        ReleaseFor(party);
        emit statusChanged();
    };
    if (m_held != Transmitter::kNobody && now - m_heldHeardMs >= silence) {
        release(m_held);
        m_held = Transmitter::kNobody;
    }
    // Only the client whose transmission is on the air now: one that keyed
    // earlier and was unkeyed by another is no longer concerned.
    for (auto& [socket, client] : m_clients) {
        if (ptt.Owns(client->party) && now - client->lastHeardMs >= silence) {
            client->lastHeardMs = now; // once per silence
            release(client->party);
        }
    }
}

void ShareServer::ReleaseFor(Transmitter::Party party) {
    if (!m_queue.Ptt().Owns(party))
        return;
    // Through the queue, ahead of every request waiting: the decision is
    // taken again when it runs, on who owns the transmission then.
    RequestQueue* queue = &m_queue;
    m_queue.Post(nullptr, [queue, party](RadioBackend&) { queue->Ptt().Release(party); }, true);
}

void ShareServer::ReleaseTransmitter(const char*) {
    if (m_held != Transmitter::kNobody)
        ReleaseFor(m_held);
    m_held = Transmitter::kNobody;
    for (auto& [socket, client] : m_clients)
        ReleaseFor(client->party);
}

void ShareServer::Submit(Client& client, std::function<QByteArray(RadioBackend&, ClientSession&)> job,
                         bool urgent) {
    client.inFlight = true;
    QPointer<QTcpSocket> socket = client.socket;
    m_queue.Post(
        &client,
        [this, socket, job = std::move(job)](RadioBackend& backend) {
            Client* c = socket ? Find(socket.data()) : nullptr;
            bool keyed = c ? c->keyed : false;
            ClientSession session{keyed, c, &m_queue, c ? c->party : Transmitter::kNobody};
            const QByteArray answer = job(backend, session);
            c = socket ? Find(socket.data()) : nullptr;
            if (!c)
                return;
            c->keyed = keyed;
            c->inFlight = false;
            Write(*c, answer);
            if (c->closing) {
                CloseLater(*c);
                return;
            }
            Pull(*c);
            Process(*c);
        },
        urgent);
}

void ShareServer::Write(Client& client, const QByteArray& bytes) {
    if (!client.socket || bytes.isEmpty())
        return;
    client.socket->write(bytes);
    if (client.socket->bytesToWrite() > kMaxUnwritten && !client.closing) {
        // Closed from the event loop: disconnected() then tidies up.
        client.closing = true;
        QMetaObject::invokeMethod(client.socket.data(), &QTcpSocket::abort, Qt::QueuedConnection);
    }
}

void ShareServer::CloseLater(Client& client) {
    client.closing = true;
    if (client.inFlight || !client.socket)
        return;
    client.socket->disconnectFromHost(); // writes what is pending, then disconnected()
}

} // namespace zshare

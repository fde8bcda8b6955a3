// SPDX-License-Identifier: GPL-3.0-or-later
// zephyra_share.h - sharing the radio with other programs over the network.
//
// This is the one public header of the library `zephyra_share`. It holds
// two servers that let digital-mode, logging and satellite programs control
// the radio the console is connected to:
//  - RigctlServer: the line protocol of a rig-control daemon (TCP, default
//    port 4532), one command a line, answers ending "RPRT n";
//  - FlrigServer: XML-RPC over HTTP POST (default port 12345).
//
// Neither server talks to the radio itself. They turn every request into a
// call of the abstract RadioBackend, which the program (the console)
// implements over its own radio link. Calls reach the backend through one
// RequestQueue: requests of every client of both servers are executed one
// at a time, in arrival order, only while the backend says it is not busy
// (the console's own operations are never interleaved with a request), and
// a request to release the transmitter goes ahead of everything queued.
//
// Threading: everything here lives on the thread that created it (the
// console's), and every backend call is made on that thread from the Qt
// event loop. Nothing blocks waiting for a client.
//
// Safety: by default a server listens on the loopback address only; another
// address, and a list of allowed client addresses, are explicit settings.
// Lines and requests are bounded in size, the number of clients is bounded,
// and a client whose transmission is on the air when it disconnects or stays
// silent for the configured time has it released (an XML-RPC connection that
// closes does not count as a client gone: only silence); who owns the
// transmission is decided in one place, the Transmitter below. A client
// never sends text to the radio: every argument is converted to a number or
// a name from a fixed list before the backend sees it.
#pragma once

#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QTcpServer;
class QTcpSocket;
class QTimer;

namespace zshare {

// ---------------------------------------------------------------- values

// Results of backend calls, numbered as the rig-control line protocol
// reports them ("RPRT -9").
enum class Result : int {
    Ok = 0,
    InvalidArgument = -1,
    NotImplemented = -4,
    TimedOut = -5,
    ProtocolError = -8,
    Rejected = -9,
    NotAvailable = -11,
};

// Which VFO a call is about. Current is the receive VFO of the main band.
enum class Vfo { Current, A, B, Memory };

enum class Mode { Unknown, Usb, Lsb, Cw, Cwr, Am, Fm, Rtty, Rttyr };

// The names the line protocol uses: "USB", "LSB", "CW", "CWR", "AM", "FM",
// "RTTY", "RTTYR" ("" for Unknown).
const char* ModeName(Mode mode);
// Mode from such a name (exact, upper case); Unknown for any other text.
Mode ModeFromName(std::string_view name);
// The mode-mask bit of a mode (AM 0x1, CW 0x2, USB 0x4, LSB 0x8, RTTY 0x10,
// FM 0x20, CWR 0x80, RTTYR 0x100).
std::uint32_t ModeBit(Mode mode);

// Levels a client reads and sets. Strength is in dB relative to S9 (read
// only); RawStrength is the meter's own reading (read only); PowerMeter is
// the transmit power meter, 0..1 of full scale (read only); KeySpeed is in
// words a minute; Preamp and Attenuator are in dB (0: off); the others are
// 0..1.
enum class Level {
    Strength,
    RfPower,
    Af,
    Rf,
    Squelch,
    PowerMeter,
    KeySpeed,
    Preamp,
    Attenuator,
    MicGain,
    Compression,
    RawStrength,
};

// Switches a client reads and sets: the noise blanker, the noise reduction,
// the speech processor, the repeater tone and the tone squelch.
enum class Func { NoiseBlanker, NoiseReduction, Compressor, Tone, ToneSquelch };

// One-shot VFO operations: a step of the dial up or down, the next or the
// previous band, A = B (the receive VFO copied to the other) and A <-> B.
enum class VfoOp { Up, Down, BandUp, BandDown, Copy, Exchange };

// The repeater shift of the receive VFO.
enum class Shift { None, Plus, Minus };

// One frequency range of the radio, for the client's capability read.
struct FrequencyRange {
    std::int64_t start = 0;
    std::int64_t end = 0;
    std::uint32_t modes = 0;  // mode mask
    int lowPower = -1;        // milliwatts, -1 for a receive range
    int highPower = -1;
    std::uint32_t vfos = 0;     // VFO mask
    std::uint32_t antennas = 0; // antenna mask
};

// What the radio can do, as the line protocol's capability dump gives it.
struct RadioDescription {
    QString name;    // "QX-9000"
    int model = 2;   // the rig model number reported to clients
    int ituRegion = 1;
    std::vector<FrequencyRange> receive;
    std::vector<FrequencyRange> transmit;
    std::vector<std::pair<std::uint32_t, int>> steps;   // mode mask, step in Hz
    std::vector<std::pair<std::uint32_t, int>> filters; // mode mask, width in Hz
    int maxRit = 0;
    int maxXit = 0;
    int maxIfShift = 0;
    int announces = 0;
    std::vector<int> preamps;     // dB
    std::vector<int> attenuators; // dB
    int maxPowerWatts = 100;
    std::vector<int> bandwidths;  // the filter widths a client may choose, Hz
    // What the backend implements beyond frequency, mode, VFO, PTT, split,
    // RIT/XIT and power: the levels it reads and sets, its switches and VFO
    // operations. Clients are told exactly these.
    std::vector<Level> getLevels;
    std::vector<Level> setLevels;
    std::vector<Func> funcs;
    std::vector<VfoOp> vfoOps;
    std::vector<int> ctcssTones;  // tenths of Hz, in the radio's order
    int toneBurst = 0;            // tenths of Hz of the burst the tone setting also takes; 0: none
    std::vector<int> dcsCodes;    // as written (023 is 23)
    int keyerLimit = 0;           // characters the keyer takes at once; 0: no keyer
    int maxMemory = -1;           // the highest memory channel number; -1: none
    std::int64_t maxRepeaterOffset = 0; // Hz; 0: no repeater shift
};

// True when `hz` lies in one of `ranges`.
bool InRanges(const std::vector<FrequencyRange>& ranges, std::int64_t hz);

// ---------------------------------------------------------------- backend

// What a client can get and set. The program implements it over its radio
// link; every call is made on the program's thread, one at a time, and may
// block for as long as it needs the radio to confirm (bounded by the
// implementation). A call while the radio is not ready answers NotAvailable.
class RadioBackend {
public:
    virtual ~RadioBackend() = default;

    // True while the program runs an operation of its own: queued requests
    // wait until it has ended.
    virtual bool Busy() const = 0;
    // True while the radio is connected and its state has been read.
    virtual bool Ready() const = 0;
    virtual const RadioDescription& Describe() const = 0;

    virtual Result GetFrequency(Vfo vfo, std::int64_t& hz) = 0;
    virtual Result SetFrequency(Vfo vfo, std::int64_t hz) = 0;
    // `passband` in Hz; 0 when not known.
    virtual Result GetMode(Vfo vfo, Mode& mode, int& passband) = 0;
    // `passband` 0 is the mode's normal width, below 0 keeps the width.
    virtual Result SetMode(Vfo vfo, Mode mode, int passband) = 0;
    virtual Result GetVfo(Vfo& vfo) = 0;
    virtual Result SetVfo(Vfo vfo) = 0;
    virtual Result GetPtt(bool& on) = 0;
    virtual Result SetPtt(bool on) = 0;
    // Split on when transmitting on the other VFO; `txVfo` is that VFO.
    virtual Result GetSplit(bool& on, Vfo& txVfo) = 0;
    virtual Result SetSplit(bool on, Vfo txVfo) = 0;
    // RIT and XIT offsets in Hz; 0 when off.
    virtual Result GetRit(int& hz) = 0;
    virtual Result SetRit(int hz) = 0;
    virtual Result GetXit(int& hz) = 0;
    virtual Result SetXit(int hz) = 0;
    virtual Result GetLevel(Level level, double& value) = 0;
    virtual Result SetLevel(Level level, double value) = 0;
    virtual Result GetPowerOn(bool& on) = 0;
    virtual Result SetPowerOn(bool on) = 0;

    // What a radio may not have: NotImplemented unless the backend does it
    // (and lists it in its description).
    virtual Result GetFunc(Func, bool& on) {
        on = false;
        return Result::NotImplemented;
    }
    virtual Result SetFunc(Func, bool) { return Result::NotImplemented; }
    virtual Result DoVfoOp(VfoOp) { return Result::NotImplemented; }
    // Morse text of the characters the keyer sends (upper case, checked).
    virtual Result SendMorse(const std::string&) { return Result::NotImplemented; }
    virtual Result GetShift(Shift& shift) {
        shift = Shift::None;
        return Result::NotImplemented;
    }
    virtual Result SetShift(Shift) { return Result::NotImplemented; }
    virtual Result GetRepeaterOffset(std::int64_t& hz) {
        hz = 0;
        return Result::NotImplemented;
    }
    virtual Result SetRepeaterOffset(std::int64_t) { return Result::NotImplemented; }
    // The repeater tone, tenths of Hz (one of the description's tones; 0
    // sets the tone off).
    virtual Result GetCtcssTone(int& tenths) {
        tenths = 0;
        return Result::NotImplemented;
    }
    virtual Result SetCtcssTone(int) { return Result::NotImplemented; }
    // The DCS code as written (one of the description's codes; 0 sets DCS
    // off).
    virtual Result GetDcsCode(int& code) {
        code = 0;
        return Result::NotImplemented;
    }
    virtual Result SetDcsCode(int) { return Result::NotImplemented; }
    // The memory channel selected (bank * 100 + channel).
    virtual Result GetMemory(int& channel) {
        channel = 0;
        return Result::NotImplemented;
    }
    virtual Result SetMemory(int) { return Result::NotImplemented; }
};

// ---------------------------------------------------------------- transmitter

// The one owner of the transmitter. Every key and unkey of the radio made on
// behalf of someone goes through here: the console operator (SEND, the
// menu), a client of either server, and the console's own releases (Control
// > OFF, the watchdog, the end of the program). It remembers who owns the
// transmission on the air now and decides what each request may do:
//  - an explicit key makes the requester the owner; an explicit unkey from
//    anyone unkeys (the radio has one PTT) and leaves nobody owning;
//  - an implicit release (a client leaving or falling silent, a server
//    stopping) acts only when that party owns the transmission now;
//  - a release that cannot reach the radio (the link is away) is kept and
//    done first once the radio is back; a radio found transmitting after it
//    was lost, with nobody here owning the transmission, is returned to
//    receive, and the operator is told;
//  - while the radio transmits, nobody changes the receive or transmit VFO,
//    and only the owner retunes (MayRetune); a transmission keyed at the
//    radio itself, which nobody here owns, may be retuned by anyone (a
//    Doppler program following a satellite while the operator talks).
// A transmission the radio reports that nobody here asked for (keyed at the
// radio, by its keyer or VOX) has no owner here: Owner() is kNobody while
// it is on the air. The owner is a number, never a pointer, so a party that
// has gone is never mistaken for a new one.
//
// Threading: the program's thread only. Calls reach the backend directly:
// the servers call it from their queued jobs, the console between its
// operations.
class Transmitter {
public:
    using Party = std::uint64_t;
    static constexpr Party kNobody = 0;
    static constexpr Party kOperator = 1; // the console: SEND, the menu
    // A party number never given before.
    static Party NewParty();

    explicit Transmitter(RadioBackend& backend);

    // An explicit key (`on`) or unkey by `who`.
    Result Key(Party who, bool on);
    // An implicit release by `who`: unkeys only when `who` owns the
    // transmission now. True when it unkeyed (or kept the release for when
    // the radio is back).
    bool Release(Party who);
    // Passes the ownership of `from` (if it owns) to `to`.
    void Transfer(Party from, Party to);
    // The link closes: whatever is on the air is released (`transmitting`:
    // the console saw the radio transmit). `reachable` false: the radio
    // cannot be written to; `lost`: the radio went away by itself (the
    // device gone, no answer), so its state is checked once it is back.
    // False when a release was due and the radio did not confirm it (it is
    // kept for the radio's return).
    bool LinkClosing(bool reachable, bool transmitting, bool lost);
    // The radio is back on an open link: a kept release is done now.
    void LinkOpened();
    // The radio's state has been read again: after a loss, a transmission
    // nobody here owns is ended.
    void RadioReady();

    Party Owner() const { return m_owner; }
    bool Owns(Party who) const { return who != kNobody && m_owner == who; }
    // True while a release waits for the radio to come back.
    bool ReleaseKept() const { return m_releaseKept; }
    // False while the radio transmits for another owner than `who` (a
    // transmission keyed at the radio itself excepted).
    bool MayRetune(Party who);
    // True while the radio transmits (as last reported).
    bool OnAir();

    // What the operator is told (a release done on the radio's return).
    void SetNotify(std::function<void(const QString&)> notify) { m_notify = std::move(notify); }
    // Runs before every key, whoever asks, while the radio still receives:
    // what must be settled first (a visual-scan sweep stopped and tuned
    // back to its centre, so nobody transmits on a sweep channel).
    void SetBeforeKey(std::function<void()> hook) { m_beforeKey = std::move(hook); }
    // Keys and unkeys made here, in order (for tests and status).
    std::uint64_t Keys() const { return m_keys; }
    std::uint64_t Unkeys() const { return m_unkeys; }

private:
    // Brings the owner up to what the radio reports: nobody while it
    // receives.
    void Observe();
    Result Unkey();
    void Tell(const QString& text);

    RadioBackend& m_backend;
    Party m_owner = kNobody;
    bool m_releaseKept = false;
    bool m_checkWhenReady = false;
    std::function<void(const QString&)> m_notify;
    std::function<void()> m_beforeKey;
    std::uint64_t m_keys = 0;
    std::uint64_t m_unkeys = 0;
};

// ---------------------------------------------------------------- queue

// The one queue of requests in front of the backend. Jobs run on this
// object's thread from the event loop, one at a time, in order, and only
// while the backend is not busy. An urgent job (releasing the transmitter)
// goes ahead of every job queued. A job never runs inside another (a
// backend call that pumps events cannot start the next one).
class RequestQueue : public QObject {
    Q_OBJECT
public:
    using Job = std::function<void(RadioBackend&)>;

    explicit RequestQueue(RadioBackend& backend, QObject* parent = nullptr);
    ~RequestQueue() override;

    // `owner` identifies the client (for Drop); null for none.
    void Post(const void* owner, Job job, bool urgent = false);
    // Forgets the non-urgent jobs of `owner` (a client that has gone).
    void Drop(const void* owner);
    std::size_t Pending() const { return m_jobs.size(); }
    std::uint64_t Executed() const { return m_executed; }
    // Jobs that found the backend busy and waited (for tests and status).
    std::uint64_t Deferred() const { return m_deferred; }
    RadioBackend& Backend() { return m_backend; }
    // How often a busy backend is asked again.
    void SetRetryInterval(int milliseconds) { m_retryMs = milliseconds; }
    // Called right before each job runs (tests check where jobs run).
    void SetObserver(std::function<void()> beforeEach) { m_observer = std::move(beforeEach); }
    // The client that locked the mode ("set_lock_mode"), null while nobody
    // has: mode changes of every other client are refused. Shared by the
    // clients of both servers; a client that goes away releases it.
    const void* ModeLockOwner() const { return m_modeLockOwner; }
    void SetModeLockOwner(const void* owner) { m_modeLockOwner = owner; }
    // True when `client` may change the mode.
    bool MayChangeMode(const void* client) const { return !m_modeLockOwner || m_modeLockOwner == client; }
    // The owner of the transmitter, shared by the clients of both servers
    // and the console.
    Transmitter& Ptt() { return m_ptt; }

private:
    struct Item {
        const void* owner;
        Job job;
        bool urgent;
    };
    void Schedule(int milliseconds);
    void RunNext();

    RadioBackend& m_backend;
    std::deque<Item> m_jobs;
    QTimer* m_timer = nullptr;
    bool m_running = false;
    bool m_waitingForBackend = false;
    int m_retryMs = 5;
    std::function<void()> m_observer;
    std::uint64_t m_executed = 0;
    std::uint64_t m_deferred = 0;
    const void* m_modeLockOwner = nullptr;
    Transmitter m_ptt;
};

// What a request knows of the client that sent it: whether it keyed the
// transmitter (updated by the request), who it is, the queue that holds the
// mode lock (null: no lock is kept, every client may change the mode) and
// the client's party for the transmitter's owner.
struct ClientSession {
    bool& keyed;
    const void* client = nullptr;
    RequestQueue* queue = nullptr;
    Transmitter::Party party = Transmitter::kNobody;

    bool MayChangeMode() const { return !queue || queue->MayChangeMode(client); }
    // Keys or unkeys through the queue's owner of the transmitter (directly
    // on `backend` when there is no queue).
    Result Key(RadioBackend& backend, bool on);
    // False while another party's transmission is on the air.
    bool MayRetune() const { return !queue || queue->Ptt().MayRetune(party); }
};

// ---------------------------------------------------------------- servers

struct ServerSettings {
    bool enabled = false;
    QHostAddress address = QHostAddress(QHostAddress::LocalHost);
    quint16 port = 0;                 // 0 picks a free port (tests)
    QList<QHostAddress> allowed;      // empty: every client that reaches the address
    int pttSilenceSeconds = 30;       // a keyed client silent this long is released; 0: never
    int maxClients = 200;
};

struct ServerStatus {
    bool listening = false;
    QString address;   // "127.0.0.1"
    quint16 port = 0;  // the port actually listened on
    int clients = 0;
    QString lastError; // empty when none
};

// The part both servers share: listening, client admission and limits, the
// per-client transmitter bookkeeping and the status.
class ShareServer : public QObject {
    Q_OBJECT
public:
    ShareServer(RequestQueue& queue, quint16 defaultPort, QObject* parent = nullptr);
    ~ShareServer() override;

    // Applies `settings`: (re)starts listening when enabled, stops when not.
    // False when listening failed; Status().lastError says why.
    bool Apply(const ServerSettings& settings);
    void Stop();
    const ServerSettings& Settings() const { return m_settings; }
    ServerStatus Status() const;
    quint16 DefaultPort() const { return m_defaultPort; }
    // A short line for the console: "127.0.0.1:4532, 2 clients" or the error.
    QString Summary() const;
    // Clients closed to make room for a new one (the table was full).
    std::uint64_t Evicted() const { return m_evicted; }
    // The clock of the silence release, in milliseconds (tests step it).
    void SetClock(std::function<std::int64_t()> clock);

signals:
    void statusChanged();

protected:
    struct Client {
        QPointer<QTcpSocket> socket;
        QByteArray buffer;
        bool inFlight = false;   // a request of this client is queued or running
        bool keyed = false;      // this client switched the transmitter on (its last key was a key)
        Transmitter::Party party = Transmitter::NewParty();
        QHostAddress peer;
        bool closing = false;    // close once the answer has been written
        bool discarding = false; // the line in progress is too long: skipped to its end
        std::int64_t lastHeardMs = 0;
    };
    // Called when bytes arrived (after admission) and after each answer.
    virtual void Process(Client& client) = 0;
    virtual const char* ServerName() const = 0;
    // True when a client's connection may close while the transmitter it
    // keyed stays on (a request a connection: XML-RPC over HTTP).
    virtual bool HoldsPttAfterClose() const { return false; }

    // Queues `job` for `client`; `answer` gets its reply text and is written
    // to the client (when it is still there), then processing goes on.
    void Submit(Client& client, std::function<QByteArray(RadioBackend&, ClientSession&)> job,
                bool urgent = false);
    void Write(Client& client, const QByteArray& bytes);
    void CloseLater(Client& client);
    // Moves received bytes into the client's buffer, at most kReadChunk.
    void Pull(Client& client);
    RequestQueue& Queue() { return m_queue; }
    static constexpr int kReadChunk = 48 * 1024;

private:
    void OnNewConnection();
    void OnReadyRead(QTcpSocket* socket);
    void OnDisconnected(QTcpSocket* socket);
    void CheckSilence();
    void EvictIdlest();
    void ReleaseTransmitter(const char* why);
    // Queues an implicit release of the transmitter by `party`.
    void ReleaseFor(Transmitter::Party party);
    std::int64_t Now() const;
    void SetError(const QString& text);
    Client* Find(QTcpSocket* socket);

    RequestQueue& m_queue;
    quint16 m_defaultPort;
    ServerSettings m_settings;
    QTcpServer* m_server = nullptr;
    QTimer* m_silenceTimer = nullptr;
    std::map<QTcpSocket*, std::unique_ptr<Client>> m_clients;
    QString m_lastError;
    std::uint64_t m_evicted = 0;
    // The transmitter a closed connection left on (HoldsPttAfterClose): the
    // party that holds it for the closed connection, the client's address,
    // and when a request from that address was last heard.
    Transmitter::Party m_held = Transmitter::kNobody;
    QHostAddress m_heldPeer;
    std::int64_t m_heldHeardMs = 0;
    std::function<std::int64_t()> m_clock;
};

// The rig-control line protocol.
class RigctlServer : public ShareServer {
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 4532;
    explicit RigctlServer(RequestQueue& queue, QObject* parent = nullptr);

    // The answer to one command line (without its newline) as the server
    // gives it; `quit` is set for "q". Runs the backend directly (the server
    // itself goes through the queue). `keyed` tracks the client's PTT.
    static QByteArray Execute(RadioBackend& backend, const std::string& line, bool& quit,
                              bool& keyed);
    static QByteArray Execute(RadioBackend& backend, const std::string& line, bool& quit,
                              ClientSession& session);
    static constexpr int kMaxLine = 1024;
    // The longest text "send_morse" takes.
    static constexpr int kMaxMorse = 240;

protected:
    void Process(Client& client) override;
    const char* ServerName() const override { return "rigctld"; }
};

// XML-RPC over HTTP.
class FlrigServer : public ShareServer {
    Q_OBJECT
public:
    static constexpr quint16 kDefaultPort = 12345;
    explicit FlrigServer(RequestQueue& queue, QObject* parent = nullptr);

    // The XML-RPC response document for one request body.
    static QByteArray Execute(RadioBackend& backend, const QByteArray& body, bool& keyed);
    static QByteArray Execute(RadioBackend& backend, const QByteArray& body, ClientSession& session);
    // The names of every method served.
    static QStringList Methods();
    static constexpr int kMaxHeader = 8 * 1024;
    static constexpr int kMaxBody = 32 * 1024;

protected:
    void Process(Client& client) override;
    const char* ServerName() const override { return "flrig"; }
    bool HoldsPttAfterClose() const override { return true; }
};

} // namespace zshare

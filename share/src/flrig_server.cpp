// SPDX-License-Identifier: GPL-3.0-or-later
// flrig_server.cpp - XML-RPC over HTTP POST.
//
// One request at a time per connection (HTTP/1.1 keep-alive honoured). The
// header and the body are bounded; a request that is not a well-formed POST
// gets an HTTP error and the connection closes; a body that is not a
// well-formed method call gets an XML-RPC fault. Parameters are converted to
// numbers or to names from fixed lists before the backend sees them.
#include <zephyra_share.h>

#include <QTcpSocket>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>
#include <cstring>
#include <optional>
#include <variant>

namespace zshare {

namespace {

// ---- values

struct Value;
using Array = std::vector<Value>;
struct Value {
    std::variant<QString, long long, double, bool, Array> v;
};

Value Str(const QString& s) { return Value{s}; }
Value Int(long long i) { return Value{i}; }

struct Fault {
    int code;
    QString text;
};

using Reply = std::variant<Value, Fault>;

std::optional<double> AsNumber(const Value& value) {
    if (const auto* i = std::get_if<long long>(&value.v))
        return static_cast<double>(*i);
    if (const auto* d = std::get_if<double>(&value.v))
        return std::isfinite(*d) ? std::optional<double>(*d) : std::nullopt;
    if (const auto* b = std::get_if<bool>(&value.v))
        return *b ? 1.0 : 0.0;
    if (const auto* s = std::get_if<QString>(&value.v)) {
        bool ok = false;
        const double d = s->trimmed().toDouble(&ok);
        if (ok && std::isfinite(d) && s->size() <= 40)
            return d;
    }
    return std::nullopt;
}

std::optional<QString> AsString(const Value& value) {
    if (const auto* s = std::get_if<QString>(&value.v))
        return *s;
    return std::nullopt;
}

// ---- parsing a method call

bool ReadValue(QXmlStreamReader& xml, Value& out, int depth);

bool ReadScalar(QXmlStreamReader& xml, const QStringView type, Value& out) {
    const QString text = xml.readElementText();
    if (xml.hasError())
        return false;
    bool ok = true;
    if (type == u"string") {
        out.v = text;
    } else if (type == u"int" || type == u"i4" || type == u"i8") {
        out.v = text.trimmed().toLongLong(&ok);
    } else if (type == u"double") {
        const double d = text.trimmed().toDouble(&ok);
        out.v = d;
        ok = ok && std::isfinite(d);
    } else if (type == u"boolean") {
        const QString t = text.trimmed();
        ok = t == u"0" || t == u"1";
        out.v = t == u"1";
    } else {
        out.v = text; // base64, dateTime: kept as text, never used
    }
    return ok;
}

bool ReadArray(QXmlStreamReader& xml, Value& out, int depth) {
    Array items;
    // <array><data><value>...</value>...</data></array>
    while (xml.readNextStartElement()) {
        if (xml.name() != u"data")
            return false;
        while (xml.readNextStartElement()) {
            if (xml.name() != u"value" || items.size() > 256)
                return false;
            Value item;
            if (!ReadValue(xml, item, depth + 1))
                return false;
            items.push_back(std::move(item));
        }
    }
    out.v = std::move(items);
    return !xml.hasError();
}

// At the start of <value>; leaves the reader after </value>.
bool ReadValue(QXmlStreamReader& xml, Value& out, int depth) {
    if (depth > 8)
        return false;
    QString text;
    bool typed = false;
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::Characters) {
            text += xml.text();
        } else if (token == QXmlStreamReader::StartElement) {
            if (typed)
                return false;
            typed = true;
            const QString type = xml.name().toString();
            if (type == u"array") {
                if (!ReadArray(xml, out, depth))
                    return false;
            } else if (type == u"struct") {
                xml.skipCurrentElement();
                out.v = QString();
            } else if (!ReadScalar(xml, type, out)) {
                return false;
            }
        } else if (token == QXmlStreamReader::EndElement) {
            if (!typed)
                out.v = text; // an untyped value is a string
            return true;
        }
    }
    return false;
}

// The document with its processing instructions taken out (the XML
// declaration at its start stays; clients add their own, not always well
// formed: <?clientid="..."?>), comments and CDATA kept as they are. Empty
// for a document that declares a DTD or entities, or whose markup does not
// end.
QByteArray WithoutInstructions(const QByteArray& body) {
    QByteArray out;
    out.reserve(body.size());
    qsizetype i = 0;
    while (i < body.size() && (body[i] == ' ' || body[i] == '\t' || body[i] == '\r' || body[i] == '\n'))
        ++i;
    const qsizetype start = i;
    auto copyThrough = [&](const char* end) {
        const qsizetype at = body.indexOf(end, i);
        if (at < 0)
            return false;
        const qsizetype stop = at + static_cast<qsizetype>(std::strlen(end));
        out.append(body.mid(i, stop - i));
        i = stop;
        return true;
    };
    while (i < body.size()) {
        if (body[i] != '<') {
            out.append(body[i++]);
            continue;
        }
        const QByteArray rest = body.mid(i, 9);
        if (rest.startsWith("<!--")) {
            if (!copyThrough("-->"))
                return {};
        } else if (rest.startsWith("<![CDATA[")) {
            if (!copyThrough("]]>"))
                return {};
        } else if (rest.startsWith("<?")) {
            const bool declaration = i == start && (rest.startsWith("<?xml ") || rest.startsWith("<?xml\t") ||
                                                    rest.startsWith("<?xml\r") || rest.startsWith("<?xml\n") ||
                                                    rest.startsWith("<?xml?"));
            if (declaration) {
                if (!copyThrough("?>"))
                    return {};
            } else {
                const qsizetype at = body.indexOf("?>", i + 2);
                if (at < 0)
                    return {};
                i = at + 2;
            }
        } else if (rest.startsWith("<!")) {
            return {}; // DOCTYPE, ENTITY: never
        } else {
            out.append(body[i++]);
        }
    }
    return out;
}

bool ParseCall(const QByteArray& raw, QString& method, Array& params) {
    const QByteArray body = WithoutInstructions(raw);
    if (body.isEmpty())
        return false;
    QXmlStreamReader xml(body);
    if (!xml.readNextStartElement() || xml.name() != u"methodCall")
        return false;
    bool named = false;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"methodName") {
            method = xml.readElementText().trimmed();
            named = !method.isEmpty() && method.size() < 64;
        } else if (xml.name() == u"params") {
            while (xml.readNextStartElement()) {
                if (xml.name() != u"param" || params.size() > 16)
                    return false;
                if (!xml.readNextStartElement() || xml.name() != u"value")
                    return false;
                Value v;
                if (!ReadValue(xml, v, 0))
                    return false;
                params.push_back(std::move(v));
                xml.skipCurrentElement(); // </param>
            }
        } else {
            return false;
        }
    }
    while (!xml.atEnd()) {
        const auto token = xml.readNext();
        if (token == QXmlStreamReader::DTD || token == QXmlStreamReader::EntityReference ||
            token == QXmlStreamReader::StartElement || (token == QXmlStreamReader::Characters && !xml.isWhitespace()))
            return false;
    }
    return named && !xml.hasError() && xml.error() != QXmlStreamReader::PrematureEndOfDocumentError;
}

// ---- writing the response

void WriteValue(QXmlStreamWriter& w, const Value& value) {
    w.writeStartElement(QStringLiteral("value"));
    if (const auto* s = std::get_if<QString>(&value.v)) {
        w.writeTextElement(QStringLiteral("string"), *s);
    } else if (const auto* i = std::get_if<long long>(&value.v)) {
        w.writeTextElement(QStringLiteral("i4"), QString::number(*i));
    } else if (const auto* d = std::get_if<double>(&value.v)) {
        w.writeTextElement(QStringLiteral("double"), QString::number(*d, 'f', 6));
    } else if (const auto* b = std::get_if<bool>(&value.v)) {
        w.writeTextElement(QStringLiteral("boolean"), *b ? QStringLiteral("1") : QStringLiteral("0"));
    } else if (const auto* a = std::get_if<Array>(&value.v)) {
        w.writeStartElement(QStringLiteral("array"));
        w.writeStartElement(QStringLiteral("data"));
        for (const Value& item : *a)
            WriteValue(w, item);
        w.writeEndElement();
        w.writeEndElement();
    }
    w.writeEndElement();
}

QByteArray Response(const Reply& reply) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("methodResponse"));
    if (const auto* value = std::get_if<Value>(&reply)) {
        w.writeStartElement(QStringLiteral("params"));
        w.writeStartElement(QStringLiteral("param"));
        WriteValue(w, *value);
        w.writeEndElement();
        w.writeEndElement();
    } else {
        const Fault& f = std::get<Fault>(reply);
        w.writeStartElement(QStringLiteral("fault"));
        w.writeStartElement(QStringLiteral("value"));
        w.writeStartElement(QStringLiteral("struct"));
        w.writeStartElement(QStringLiteral("member"));
        w.writeTextElement(QStringLiteral("name"), QStringLiteral("faultCode"));
        WriteValue(w, Int(f.code));
        w.writeEndElement();
        w.writeStartElement(QStringLiteral("member"));
        w.writeTextElement(QStringLiteral("name"), QStringLiteral("faultString"));
        WriteValue(w, Str(f.text));
        w.writeEndElement();
        w.writeEndElement();
        w.writeEndElement();
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

// ---- the methods

struct Call {
    RadioBackend& backend;
    const Array& params;
    ClientSession& session;
};

constexpr int kFaultParse = -32700;
constexpr int kFaultMethod = -32601;
constexpr int kFaultParams = -32602;
constexpr int kFaultRadio = -32500;

Fault RadioFault(Result r) {
    const char* why = r == Result::NotAvailable ? "radio not available"
                      : r == Result::Rejected   ? "rejected by the radio"
                      : r == Result::TimedOut   ? "the radio did not answer"
                      : r == Result::InvalidArgument ? "invalid argument"
                                                     : "failed";
    return Fault{kFaultRadio, QStringLiteral("%1 (%2)").arg(why).arg(static_cast<int>(r))};
}

Reply Done(Result r) {
    if (r != Result::Ok)
        return RadioFault(r);
    return Int(0);
}

// This radio's names for the modes.
struct ModeName {
    Mode mode;
    const char* name;
};
constexpr ModeName kModeNames[] = {
    {Mode::Lsb, "LSB"}, {Mode::Usb, "USB"},  {Mode::Cw, "CW"},      {Mode::Cwr, "CW-R"},
    {Mode::Fm, "FM"},   {Mode::Am, "AM"},    {Mode::Rtty, "FSK"},   {Mode::Rttyr, "FSK-R"},
};

QString NameOf(Mode mode) {
    for (const ModeName& m : kModeNames)
        if (m.mode == mode)
            return QString::fromLatin1(m.name);
    return QString();
}

Mode ModeOf(const QString& name) {
    const QString n = name.trimmed().toUpper();
    for (const ModeName& m : kModeNames)
        if (n == QLatin1String(m.name))
            return m.mode;
    // The line protocol's names are understood too.
    return ModeFromName(n.toStdString());
}

std::optional<double> Number(const Call& c, std::size_t i = 0) {
    return i < c.params.size() ? AsNumber(c.params[i]) : std::nullopt;
}

Reply GetFrequency(const Call& c, Vfo vfo) {
    std::int64_t hz = 0;
    const Result r = c.backend.GetFrequency(vfo, hz);
    if (r != Result::Ok)
        return RadioFault(r);
    return Str(QString::number(hz));
}

Reply SetFrequency(const Call& c, Vfo vfo) {
    const auto hz = Number(c);
    if (!hz || *hz < 0 || *hz > 99'999'999'999.0 ||
        !InRanges(c.backend.Describe().receive, std::llround(*hz)))
        return Fault{kFaultParams, QStringLiteral("frequency in Hz expected, within the radio's ranges")};
    if (!c.session.MayRetune())
        return Fault{kFaultRadio, QStringLiteral("rejected: another program's transmission is on the air (-9)")};
    return Done(c.backend.SetFrequency(vfo, std::llround(*hz)));
}

Reply GetMode(const Call& c, Vfo vfo) {
    Mode mode = Mode::Unknown;
    int passband = 0;
    const Result r = c.backend.GetMode(vfo, mode, passband);
    if (r != Result::Ok)
        return RadioFault(r);
    return Str(NameOf(mode));
}

Reply SetMode(const Call& c, Vfo vfo) {
    const auto name = c.params.empty() ? std::nullopt : AsString(c.params[0]);
    const Mode mode = name ? ModeOf(*name) : Mode::Unknown;
    if (mode == Mode::Unknown)
        return Fault{kFaultParams, QStringLiteral("mode name expected (rig.get_modes)")};
    if (!c.session.MayChangeMode())
        return Fault{kFaultRadio, QStringLiteral("the mode is locked by another client")};
    if (!c.session.MayRetune())
        return Fault{kFaultRadio, QStringLiteral("rejected: another program's transmission is on the air (-9)")};
    return Done(c.backend.SetMode(vfo, mode, -1));
}

Reply Level01(const Call& c, Level level, double scale) {
    double v = 0;
    const Result r = c.backend.GetLevel(level, v);
    if (r != Result::Ok)
        return RadioFault(r);
    return Int(std::lround(v * scale));
}

// The S-meter as 0..100: S0 0, S9 50, S9+60 dB 100.
Reply SMeter(const Call& c) {
    double db = 0;
    const Result r = c.backend.GetLevel(Level::Strength, db);
    if (r != Result::Ok)
        return RadioFault(r);
    const double scaled = db <= 0 ? (db + 54.0) / 54.0 * 50.0 : 50.0 + db / 60.0 * 50.0;
    return Int(std::clamp<long>(std::lround(scaled), 0, 100));
}

using Method = Reply (*)(const Call&);

struct MethodRow {
    const char* name;
    const char* help;
    Method run;
};

Reply Version(const Call&) { return Str(QStringLiteral("2.0.0")); }
Reply Xcvr(const Call& c) { return Str(c.backend.Describe().name); }

Reply Info(const Call& c) {
    std::int64_t a = 0;
    Mode mode = Mode::Unknown;
    int passband = 0;
    bool ptt = false;
    if (const Result r = c.backend.GetFrequency(Vfo::Current, a); r != Result::Ok)
        return RadioFault(r);
    c.backend.GetMode(Vfo::Current, mode, passband);
    c.backend.GetPtt(ptt);
    return Str(QStringLiteral("R:%1\nT:%2\nFA:%3\nM:%4\nL:%5\nU:%5\n")
                   .arg(c.backend.Describe().name, ptt ? QStringLiteral("X") : QStringLiteral("R"))
                   .arg(a)
                   .arg(NameOf(mode))
                   .arg(passband));
}

Reply GetAB(const Call& c) {
    Vfo vfo = Vfo::A;
    const Result r = c.backend.GetVfo(vfo);
    if (r != Result::Ok)
        return RadioFault(r);
    return Str(vfo == Vfo::B ? QStringLiteral("B") : QStringLiteral("A"));
}

Reply SetAB(const Call& c) {
    const auto name = c.params.empty() ? std::nullopt : AsString(c.params[0]);
    if (!name || (*name != u"A" && *name != u"B"))
        return Fault{kFaultParams, QStringLiteral("\"A\" or \"B\" expected")};
    return Done(c.backend.SetVfo(*name == u"A" ? Vfo::A : Vfo::B));
}

Reply Modes(const Call&) {
    Array names;
    for (const ModeName& m : kModeNames)
        names.push_back(Str(QString::fromLatin1(m.name)));
    return Value{names};
}

Reply GetBw(const Call& c) {
    Mode mode = Mode::Unknown;
    int passband = 0;
    const Result r = c.backend.GetMode(Vfo::Current, mode, passband);
    if (r != Result::Ok)
        return RadioFault(r);
    return Value{Array{Str(QString::number(passband)), Str(QString())}};
}

// The width a client asks for, in Hz.
Reply SetBwOf(const Call& c, Vfo vfo, std::optional<double> hz) {
    if (!hz || *hz < 1 || *hz > 9'999)
        return Fault{kFaultParams, QStringLiteral("bandwidth in Hz expected")};
    if (!c.session.MayChangeMode())
        return Fault{kFaultRadio, QStringLiteral("the mode is locked by another client")};
    Vfo rx = Vfo::A;
    if (const Result r = c.backend.GetVfo(rx); r != Result::Ok)
        return RadioFault(r);
    Mode mode = Mode::Unknown;
    int passband = 0;
    if (const Result r = c.backend.GetMode(Vfo::Current, mode, passband); r != Result::Ok)
        return RadioFault(r);
    if (vfo != Vfo::Current && vfo != rx) {
        // The radio's VFOs share the band's filter: the other VFO has the
        // width the receive VFO has, and only that.
        if (std::lround(*hz) == passband)
            return Int(0);
        return Fault{kFaultRadio, QStringLiteral("rejected: VFO A and B share one filter, whose width is %1 Hz "
                                                 "and is set while the VFO receives (%2)")
                                      .arg(passband)
                                      .arg(static_cast<int>(Result::Rejected))};
    }
    return Done(c.backend.SetMode(Vfo::Current, mode, static_cast<int>(std::lround(*hz))));
}

Reply SetBwOf(const Call& c, Vfo vfo) { return SetBwOf(c, vfo, Number(c)); }

// rig.set_bw takes what rig.get_bws offers as a choice: fldigi fills its
// bandwidth box from that list and sends the chosen entry's position in it
// (0 for the first width). A number too large to be a position is taken as
// a width in Hz, as other callers send it; no listed width is that small.
Reply SetBw(const Call& c) {
    const auto n = Number(c);
    const std::vector<int>& widths = c.backend.Describe().bandwidths;
    if (n && *n >= 0 && *n < static_cast<double>(widths.size())) {
        if (*n != std::floor(*n))
            return Fault{kFaultParams, QStringLiteral("a position in rig.get_bws or a bandwidth in Hz expected")};
        return SetBwOf(c, Vfo::Current, widths[static_cast<std::size_t>(*n)]);
    }
    return SetBwOf(c, Vfo::Current, n);
}

// One VFO's filter width in Hz, as text.
Reply GetBwOf(const Call& c, Vfo vfo) {
    Mode mode = Mode::Unknown;
    int passband = 0;
    const Result r = c.backend.GetMode(vfo, mode, passband);
    if (r != Result::Ok)
        return RadioFault(r);
    return Str(QString::number(passband));
}

// "U" for the upper sideband modes (and CW, FSK, AM, FM), "L" for LSB, CW-R
// and FSK-R.
Reply Sideband(const Call& c) {
    Mode mode = Mode::Unknown;
    int passband = 0;
    const Result r = c.backend.GetMode(Vfo::Current, mode, passband);
    if (r != Result::Ok)
        return RadioFault(r);
    const bool lower = mode == Mode::Lsb || mode == Mode::Cwr || mode == Mode::Rttyr;
    return Str(lower ? QStringLiteral("L") : QStringLiteral("U"));
}

// The power meter's full scale is given in watts by rig.get_pwrmeter: a
// factor of 1.
Reply PwrMeterScale(const Call&) { return Int(1); }

Reply GetBws(const Call& c) {
    Array widths{Str(QStringLiteral("Bandwidth"))};
    for (int w : c.backend.Describe().bandwidths)
        widths.push_back(Str(QString::number(w)));
    return Value{Array{Value{widths}}};
}

Reply GetPtt(const Call& c) {
    bool on = false;
    const Result r = c.backend.GetPtt(on);
    if (r != Result::Ok)
        return RadioFault(r);
    return Int(on ? 1 : 0);
}

Reply SetPtt(const Call& c) {
    const auto v = Number(c);
    if (!v || (*v != 0 && *v != 1))
        return Fault{kFaultParams, QStringLiteral("0 or 1 expected")};
    const Result r = c.session.Key(c.backend, *v == 1);
    if (r == Result::Ok || *v == 0)
        c.session.keyed = *v == 1 && r == Result::Ok;
    return Done(r);
}

Reply GetSplit(const Call& c) {
    bool on = false;
    Vfo tx = Vfo::B;
    const Result r = c.backend.GetSplit(on, tx);
    if (r != Result::Ok)
        return RadioFault(r);
    return Int(on ? 1 : 0);
}

Reply SetSplit(const Call& c) {
    const auto v = Number(c);
    if (!v || (*v != 0 && *v != 1))
        return Fault{kFaultParams, QStringLiteral("0 or 1 expected")};
    Vfo rx = Vfo::A;
    if (const Result r = c.backend.GetVfo(rx); r != Result::Ok)
        return RadioFault(r);
    if (*v == 1 && rx == Vfo::Memory)
        return RadioFault(Result::NotAvailable);
    return Done(c.backend.SetSplit(*v == 1, rx == Vfo::B ? Vfo::A : Vfo::B));
}

Reply GetPower(const Call& c) { return Level01(c, Level::RfPower, c.backend.Describe().maxPowerWatts); }
Reply GetPwrMeter(const Call& c) { return Level01(c, Level::PowerMeter, c.backend.Describe().maxPowerWatts); }

Reply SetPower(const Call& c) {
    const auto w = Number(c);
    const int max = c.backend.Describe().maxPowerWatts;
    if (!w || *w < 0 || *w > max)
        return Fault{kFaultParams, QStringLiteral("power in watts expected, 0..%1").arg(max)};
    return Done(c.backend.SetLevel(Level::RfPower, *w / max));
}

Reply ListMethods(const Call&);
Reply MethodHelp(const Call&);

// clang-format off
const MethodRow kMethods[] = {
    {"main.get_version", "the server's version", Version},
    {"rig.get_xcvr", "the transceiver's name", Xcvr},
    {"rig.get_info", "a summary: R: radio, T: R or X, FA: frequency, M: mode, L/U: width", Info},
    {"rig.get_vfo", "the receive frequency in Hz (a string)", [](const Call& c) { return GetFrequency(c, Vfo::Current); }},
    {"rig.set_vfo", "sets the receive frequency (Hz)", [](const Call& c) { return SetFrequency(c, Vfo::Current); }},
    {"rig.set_frequency", "sets the receive frequency (Hz)", [](const Call& c) { return SetFrequency(c, Vfo::Current); }},
    {"rig.get_vfoA", "VFO A's frequency in Hz (a string)", [](const Call& c) { return GetFrequency(c, Vfo::A); }},
    {"rig.get_vfoB", "VFO B's frequency in Hz (a string)", [](const Call& c) { return GetFrequency(c, Vfo::B); }},
    {"rig.set_vfoA", "sets VFO A's frequency (Hz)", [](const Call& c) { return SetFrequency(c, Vfo::A); }},
    {"rig.set_vfoB", "sets VFO B's frequency (Hz)", [](const Call& c) { return SetFrequency(c, Vfo::B); }},
    {"rig.get_AB", "the receive VFO, \"A\" or \"B\"", GetAB},
    {"rig.set_AB", "selects the receive VFO, \"A\" or \"B\"", SetAB},
    {"rig.get_mode", "the receive mode", [](const Call& c) { return GetMode(c, Vfo::Current); }},
    {"rig.set_mode", "sets the receive mode", [](const Call& c) { return SetMode(c, Vfo::Current); }},
    {"rig.get_modeA", "VFO A's mode", [](const Call& c) { return GetMode(c, Vfo::A); }},
    {"rig.get_modeB", "VFO B's mode", [](const Call& c) { return GetMode(c, Vfo::B); }},
    {"rig.set_modeA", "sets VFO A's mode", [](const Call& c) { return SetMode(c, Vfo::A); }},
    {"rig.set_modeB", "sets VFO B's mode", [](const Call& c) { return SetMode(c, Vfo::B); }},
    {"rig.get_modes", "the mode names", Modes},
    {"rig.get_bw", "the receive filter width in Hz: [width, \"\"]", GetBw},
    {"rig.set_bw", "sets the receive filter width: a position in rig.get_bws (0 the first), or Hz", SetBw},
    {"rig.get_bws", "the filter widths: [[\"Bandwidth\", width...]]", GetBws},
    {"rig.get_bwA", "VFO A's filter width in Hz (a string)", [](const Call& c) { return GetBwOf(c, Vfo::A); }},
    {"rig.get_bwB", "VFO B's filter width in Hz (a string)", [](const Call& c) { return GetBwOf(c, Vfo::B); }},
    {"rig.set_bwA", "sets VFO A's filter width (Hz) while A receives (the VFOs share one filter)", [](const Call& c) { return SetBwOf(c, Vfo::A); }},
    {"rig.set_bwB", "sets VFO B's filter width (Hz) while B receives (the VFOs share one filter)", [](const Call& c) { return SetBwOf(c, Vfo::B); }},
    {"rig.get_sideband", "\"U\" or \"L\": the sideband of the receive mode", Sideband},
    {"rig.get_ptt", "1 while transmitting", GetPtt},
    {"rig.set_ptt", "1 transmits, 0 receives", SetPtt},
    {"rig.get_split", "1 while transmitting on the other VFO", GetSplit},
    {"rig.set_split", "1 transmits on the other VFO, 0 on the receive VFO", SetSplit},
    {"rig.get_smeter", "the S-meter, 0..100 (S9 is 50)", SMeter},
    {"rig.get_pwrmeter", "the transmit power meter in watts", GetPwrMeter},
    {"rig.get_pwrmeter_scale", "the factor of rig.get_pwrmeter (1: watts)", PwrMeterScale},
    {"rig.get_power", "the transmit power setting in watts", GetPower},
    {"rig.set_power", "sets the transmit power (watts)", SetPower},
    {"system.listMethods", "the names of every method", ListMethods},
    {"system.methodHelp", "a line on a method", MethodHelp},
};
// clang-format on

Reply ListMethods(const Call&) {
    Array names;
    for (const MethodRow& m : kMethods)
        names.push_back(Str(QString::fromLatin1(m.name)));
    return Value{names};
}

Reply MethodHelp(const Call& c) {
    const auto name = c.params.empty() ? std::nullopt : AsString(c.params[0]);
    for (const MethodRow& m : kMethods)
        if (name && *name == QLatin1String(m.name))
            return Str(QString::fromLatin1(m.help));
    return Fault{kFaultParams, QStringLiteral("no such method")};
}

// Methods that need the radio wait for the queue; the rest answer at once.
bool NeedsRadio(const QString& method) {
    return !(method == u"main.get_version" || method == u"system.listMethods" ||
             method == u"system.methodHelp" || method == u"rig.get_modes" || method == u"rig.get_xcvr" ||
             method == u"rig.get_bws" || method == u"rig.get_pwrmeter_scale");
}

QByteArray Http(int status, const char* reason, const QByteArray& body, bool keepAlive) {
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + " " + reason + "\r\n";
    out += "Server: Zephyra\r\n";
    out += "Content-Type: text/xml\r\n";
    out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    out += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    out += "\r\n";
    return out + body;
}

// The end of the request's header: its first empty line. Lines end with
// CR LF or, from some clients, a bare LF. `end` is where the empty line
// starts (the header is what comes before), `bodyAt` where the body starts.
bool HeaderEnd(const QByteArray& buffer, qsizetype& end, qsizetype& bodyAt) {
    for (qsizetype at = buffer.indexOf('\n'); at >= 0; at = buffer.indexOf('\n', at + 1)) {
        qsizetype next = at + 1;
        if (next < buffer.size() && buffer[next] == '\r')
            ++next;
        if (next < buffer.size() && buffer[next] == '\n') {
            end = at;
            bodyAt = next + 1;
            return true;
        }
    }
    return false;
}

} // namespace

QByteArray FlrigServer::Execute(RadioBackend& backend, const QByteArray& body, bool& keyed) {
    ClientSession session{keyed};
    return Execute(backend, body, session);
}

QByteArray FlrigServer::Execute(RadioBackend& backend, const QByteArray& body, ClientSession& session) {
    QString method;
    Array params;
    if (!ParseCall(body, method, params))
        return Response(Fault{kFaultParse, QStringLiteral("malformed XML-RPC request")});
    for (const MethodRow& m : kMethods) {
        if (method == QLatin1String(m.name)) {
            const Call call{backend, params, session};
            return Response(m.run(call));
        }
    }
    return Response(Fault{kFaultMethod, QStringLiteral("unknown method %1").arg(method)});
}

QStringList FlrigServer::Methods() {
    QStringList names;
    for (const MethodRow& m : kMethods)
        names << QString::fromLatin1(m.name);
    return names;
}

FlrigServer::FlrigServer(RequestQueue& queue, QObject* parent) : ShareServer(queue, kDefaultPort, parent) {}

void FlrigServer::Process(Client& client) {
    while (!client.inFlight && !client.closing && client.socket) {
        qsizetype end = 0, bodyAt = 0;
        if (!HeaderEnd(client.buffer, end, bodyAt)) {
            if (client.buffer.size() > kMaxHeader) {
                Write(client, Http(431, "Request Header Fields Too Large", {}, false));
                CloseLater(client);
            }
            return;
        }
        if (end > kMaxHeader) {
            Write(client, Http(431, "Request Header Fields Too Large", {}, false));
            CloseLater(client);
            return;
        }
        const QList<QByteArray> lines = client.buffer.left(end).split('\n');
        const QList<QByteArray> request = lines.value(0).trimmed().split(' ');
        qint64 length = -1;
        bool keepAlive = request.value(2) == "HTTP/1.1";
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const qsizetype colon = lines[i].indexOf(':');
            if (colon < 0)
                continue;
            const QByteArray key = lines[i].left(colon).trimmed().toLower();
            const QByteArray value = lines[i].mid(colon + 1).trimmed();
            if (key == "content-length") {
                bool ok = false;
                length = value.toLongLong(&ok);
                if (!ok)
                    length = -2;
            } else if (key == "connection") {
                keepAlive = value.toLower() == "keep-alive" ||
                            (keepAlive && value.toLower() != "close");
            }
        }
        if (request.size() != 3 || request[0] != "POST" || !request[2].startsWith("HTTP/1.")) {
            Write(client, Http(400, "Bad Request", {}, false));
            CloseLater(client);
            return;
        }
        if (length < 0) {
            Write(client, Http(411, "Length Required", {}, false));
            CloseLater(client);
            return;
        }
        if (length > kMaxBody) {
            Write(client, Http(413, "Payload Too Large", {}, false));
            CloseLater(client);
            return;
        }
        if (client.buffer.size() < bodyAt + length) {
            // The buffer holds kReadChunk: enough for the largest header and body.
            return;
        }
        const QByteArray body = client.buffer.mid(bodyAt, length);
        client.buffer.remove(0, bodyAt + length);
        if (!keepAlive)
            client.closing = true;
        // Peek at the method: answers that need no radio are given at once.
        QString method;
        Array params;
        const bool parsed = ParseCall(body, method, params);
        bool releases = false;
        if (parsed && method == u"rig.set_ptt" && !params.empty()) {
            const auto v = AsNumber(params[0]);
            releases = v && *v == 0;
        }
        if (!parsed || !NeedsRadio(method)) {
            bool keyed = client.keyed;
            Write(client, Http(200, "OK", Execute(Queue().Backend(), body, keyed), keepAlive));
            if (client.closing) {
                client.closing = false;
                CloseLater(client);
                return;
            }
            continue;
        }
        Submit(
            client,
            [body, keepAlive](RadioBackend& backend, ClientSession& session) {
                return Http(200, "OK", Execute(backend, body, session), keepAlive);
            },
            releases);
    }
}

} // namespace zshare

// SPDX-License-Identifier: GPL-3.0-or-later
// flrig_server.cpp - XML-RPC over HTTP POST: the transport (HTTP requests
// on a connection, method calls and responses as XML); the methods are in
// flrig_methods.cpp.
//
// One request at a time per connection (HTTP/1.1 keep-alive honoured). The
// header and the body are bounded; a request that is not a well-formed POST
// gets an HTTP error and the connection closes; a body that is not a
// well-formed method call gets an XML-RPC fault. Parameters are converted to
// numbers or to names from fixed lists before the backend sees them.
#include "flrig_protocol.h"

#include <QTcpSocket>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cmath>
#include <cstring>

namespace zshare {

namespace flrig {

// ---- values

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

namespace {

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

} // namespace

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

} // namespace flrig

using namespace flrig;

namespace {

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

FlrigServer::FlrigServer(RequestQueue& queue, QObject* parent) : ShareServer(queue, kDefaultPort, parent) {}

void FlrigServer::Process(Client& client) {
    // A request that is not a well-formed POST: its HTTP error, then the
    // connection closes.
    auto refuse = [&](int status, const char* reason) {
        Write(client, Http(status, reason, {}, false));
        CloseLater(client);
    };
    while (!client.inFlight && !client.closing && client.socket) {
        qsizetype end = 0, bodyAt = 0;
        if (!HeaderEnd(client.buffer, end, bodyAt)) {
            if (client.buffer.size() > kMaxHeader)
                refuse(431, "Request Header Fields Too Large");
            return;
        }
        if (end > kMaxHeader) {
            refuse(431, "Request Header Fields Too Large");
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
            refuse(400, "Bad Request");
            return;
        }
        if (length < 0) {
            refuse(411, "Length Required");
            return;
        }
        if (length > kMaxBody) {
            refuse(413, "Payload Too Large");
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

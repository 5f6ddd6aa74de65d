#include "service/HttpRequest.h"

#include <QList>

namespace HttpRequest {

namespace {

Parsed refused(int status) {
    Parsed p;
    p.state = Parsed::State::Refused;
    p.status = status;
    return p;
}

// Where the head ends (after its empty line), or -1.
qsizetype headEnd(QByteArrayView bytes) {
    const qsizetype lf = bytes.indexOf("\n\n");
    const qsizetype crlf = bytes.indexOf("\n\r\n");
    if (lf < 0 && crlf < 0)
        return -1;
    if (crlf < 0 || (lf >= 0 && lf < crlf))
        return lf + 2;
    return crlf + 3;
}

QByteArrayView trimmed(QByteArrayView v) {
    while (!v.isEmpty() && (v.front() == ' ' || v.front() == '\t' || v.front() == '\r'))
        v = v.sliced(1);
    while (!v.isEmpty() && (v.back() == ' ' || v.back() == '\t' || v.back() == '\r'))
        v.chop(1);
    return v;
}

bool startsWithName(QByteArrayView line, QByteArrayView name) {
    return line.size() > name.size() && line[name.size()] == ':' &&
           QByteArrayView(line.first(name.size())).compare(name, Qt::CaseInsensitive) == 0;
}

} // namespace

qsizetype leadingBlank(QByteArrayView received) {
    qsizetype at = 0;
    while (true) {
        if (received.sliced(at).startsWith("\n"))
            at += 1;
        else if (received.sliced(at).startsWith("\r\n"))
            at += 2;
        else
            return at;
    }
}

Parsed parse(QByteArrayView received) {
    // Blank lines before the request line are allowed and skipped.
    const qsizetype blank = leadingBlank(received);
    if (blank > MaxLeadingBlankBytes)
        return refused(400);
    received = received.sliced(blank);
    const qsizetype end = headEnd(received);
    if (end < 0)
        return received.size() > MaxHeadBytes ? refused(431) : Parsed{};
    if (end > MaxHeadBytes)
        return refused(431);

    const QList<QByteArrayView> lines = [&] {
        QList<QByteArrayView> out;
        qsizetype start = 0;
        const QByteArrayView head = received.first(end);
        while (start < head.size()) {
            qsizetype nl = head.indexOf('\n', start);
            if (nl < 0)
                nl = head.size();
            out.append(trimmed(head.sliced(start, nl - start)));
            start = nl + 1;
        }
        return out;
    }();

    Parsed p;
    const QList<QByteArray> requestLine = lines.value(0).toByteArray().split(' ');
    if (requestLine.size() != 3 || requestLine[0].isEmpty() || !requestLine[1].startsWith('/') ||
        !requestLine[2].startsWith("HTTP/1."))
        return refused(400);
    p.method = requestLine[0];
    p.path = requestLine[1].split('?').value(0);

    qint64 length = -1;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArrayView line = lines[i];
        // No whitespace between a field's name and its colon (HTTP/1.1 requires the refusal).
        if (const qsizetype colon = line.indexOf(':');
            colon > 0 && (line[colon - 1] == ' ' || line[colon - 1] == '\t'))
            return refused(400);
        if (startsWithName(line, "transfer-encoding"))
            return refused(501); // only bodies of a stated length are read
        if (!startsWithName(line, "content-length"))
            continue;
        const QByteArrayView value = trimmed(line.sliced(15));
        if (value.isEmpty())
            return refused(400);
        qint64 n = 0;
        for (const char c : value) {
            if (c < '0' || c > '9')
                return refused(400);
            if (n > MaxBodyBytes)
                continue; // far above the limit already: no need to go on counting
            n = n * 10 + (c - '0');
        }
        if (length >= 0 && n != length)
            return refused(400); // two different lengths
        length = n;
    }
    if (length > MaxBodyBytes)
        return refused(413);
    if (received.size() < end + std::max<qint64>(length, 0))
        return p; // the body is still coming
    p.state = Parsed::State::Complete;
    return p;
}

} // namespace HttpRequest

#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The head and body of one HTTP/1.1 request, as far as the address service needs them, read
// from the bytes received so far. Lines may end in CR LF or in LF alone.
namespace HttpRequest {

constexpr qsizetype MaxHeadBytes = 8192;
constexpr qsizetype MaxBodyBytes = 16384;
// Blank lines before the request line are skipped (a client may send some after a body); they
// count toward no limit up to this many bytes, beyond it the request is refused.
constexpr qsizetype MaxLeadingBlankBytes = 4096;

struct Parsed {
    enum class State {
        NeedMore, // the head, or the body it announces, is still coming
        Complete, // head and announced body are here (bytes after them are not looked at)
        Refused,  // answer with `status` and close
    };
    State state = State::NeedMore;
    int status = 0; // for Refused: 400, 413, 431, 501
    QByteArray method;
    QByteArray path; // without the query
};

Parsed parse(QByteArrayView received);

// How many bytes the blank lines (CR LF or LF) at the start of `received` take.
qsizetype leadingBlank(QByteArrayView received);

} // namespace HttpRequest

#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <functional>

// The address under which the computer is seen on the internet, as the address service
// answers a POST to /ip.php.
namespace ExternalAddress {

// Longest answer that is read and shown, in bytes; reading stops there.
constexpr int MaxAnswerBytes = 256;
// Shorter answers are no answer at all.
constexpr int MinAnswerLength = 5;
// Redirects followed in one exchange.
constexpr int MaxRedirects = 5;

// What to show for an answer's body: its first line that shows anything, without control
// characters and without the characters that reorder text (so "\u202E7.311.0.302" cannot pass
// for 203.0.113.7), and whether the body counts as an answer (at least MinAnswerLength
// characters, and something to show).
struct Judgement {
    QString text;
    bool usable = false;
};
Judgement judge(const QByteArray &body);

// Whether a redirect is followed: to the same scheme, host and port, or from http to https on
// the same host (at the same port or at https's own), as a host that moved its service to
// https answers. Any other place is not the service the settings name.
bool followable(const QUrl &from, const QUrl &to);

// One exchange with the service.
struct Answer {
    bool complete = false; // an HTTP answer arrived, from the service itself, in time
    int status = 0;
    QByteArray body; // at most MaxAnswerBytes + 1 bytes of it
    QUrl redirect;   // where a redirect that was not followed, or not completed, pointed
    QString failure; // why a followed redirect was not completed (its TLS handshake, …)
};

// What the window makes of an answer.
struct Outcome {
    enum class Kind {
        Address,      // shown as the external address
        NoInternet,   // nothing usable: "İNTERNET YOK", and the switch to DHCP
        ServiceError, // the service answered with an error: the internet is there
    };
    Kind kind = Kind::NoInternet;
    QString text; // for Address: what to show
};
Outcome outcome(const Answer &answer);

// What a ServiceError means, for the line's tooltip: the status or the redirect, and the URL.
QString errorHelp(const Answer &answer, const QString &url);

// One POST with the body. The whole exchange, from the request to the end of the answer,
// has `timeoutMs`, whatever the server trickles; past it, or when `cancelled` says so (it is
// asked every few milliseconds), the answer is incomplete. The window keeps painting while it
// waits, and takes no input.
Answer post(const QUrl &url, const QByteArray &body, int timeoutMs = 10000,
            const std::function<bool()> &cancelled = {});

// The text of an answer as the window shows it, or the empty text when no usable answer
// came in time.
QString HttpPost(const QUrl &url, const QByteArray &body, int timeoutMs = 10000);

} // namespace ExternalAddress

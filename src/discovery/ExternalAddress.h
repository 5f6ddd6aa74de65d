#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>

// The address under which the computer is seen on the internet, as the address service
// answers a POST to /ip.php.
namespace ExternalAddress {

// Longest answer that is read and shown, in bytes; reading stops there.
constexpr int MaxAnswerBytes = 256;
// Shorter answers are no answer at all.
constexpr int MinAnswerLength = 5;

// What to show for an answer: its text as it came (cut at MaxAnswerBytes), and whether it
// counts as an answer.
struct Judgement {
    QString text;
    bool usable = false;
};
Judgement judge(const QByteArray &body);

// One POST with the body; the response body whatever the status, or the empty text when
// anything fails (no network, a name that does not resolve, refused, timed out). The
// window keeps painting while it waits, and takes no input.
QString HttpPost(const QUrl &url, const QByteArray &body, int timeoutMs = 10000);

} // namespace ExternalAddress

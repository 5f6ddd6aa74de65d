#include "ExternalAddress.h"

#include "ShownText.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>

namespace ExternalAddress {

namespace {

// The first line, without control and bidirectional-control characters.
QString displayed(const QString &text) {
    QString out;
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n')
            break;
        if (c.category() == QChar::Other_Control || ShownText::isBidiControl(c.unicode()))
            continue;
        out.append(c);
    }
    return out;
}

} // namespace

Judgement judge(const QByteArray &body) {
    QByteArray bytes = body.left(MaxAnswerBytes);
    // Never end on half a character.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (text.endsWith(QChar::ReplacementCharacter) && body.size() > MaxAnswerBytes)
        text.chop(1);
    return {displayed(text), text.size() >= MinAnswerLength};
}

Outcome outcome(const Answer &answer) {
    if (!answer.complete || (answer.status >= 300 && answer.status < 400))
        return {Outcome::Kind::NoInternet, {}};
    if (answer.status >= 400)
        return {Outcome::Kind::ServiceError, {}};
    const Judgement j = judge(answer.body);
    if (!j.usable)
        return {Outcome::Kind::NoInternet, {}};
    return {Outcome::Kind::Address, j.text};
}

Answer post(const QUrl &url, const QByteArray &body, int timeoutMs,
            const std::function<bool()> &cancelled) {
    Answer answer;
    if (!url.isValid() || url.isEmpty())
        return answer;
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("application/x-www-form-urlencoded"));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::SameOriginRedirectPolicy);
    request.setMaximumRedirectsAllowed(MaxRedirects);
    QNetworkReply *reply = manager.post(request, body);

    bool cut = false;
    bool stopped = false; // the deadline passed or the caller gave up
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        answer.body += reply->read(MaxAnswerBytes + 1 - answer.body.size());
        if (answer.body.size() > MaxAnswerBytes) {
            cut = true; // enough to show: stop reading
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, [&] {
        stopped = true;
        reply->abort();
    });
    QTimer poll;
    if (cancelled) {
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (cancelled()) {
                stopped = true;
                reply->abort();
            }
        });
        poll.start(50);
    }
    deadline.start(timeoutMs);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!cut && !stopped && reply->isOpen())
        answer.body += reply->read(MaxAnswerBytes + 1 - answer.body.size());
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    answer.status = status.toInt();
    const QNetworkReply::NetworkError error = reply->error();
    const bool redirectRefused = error == QNetworkReply::InsecureRedirectError ||
                                 error == QNetworkReply::TooManyRedirectsError;
    // The errors that stand for an HTTP error status: the answer itself came whole.
    const bool statusError =
        (error >= QNetworkReply::ContentAccessDenied &&
         error <= QNetworkReply::UnknownContentError) ||
        (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
    answer.complete = !stopped && !redirectRefused && !status.isNull() &&
                      (cut || error == QNetworkReply::NoError || statusError);
    reply->deleteLater();
    return answer;
}

QString HttpPost(const QUrl &url, const QByteArray &body, int timeoutMs) {
    const Outcome o = outcome(post(url, body, timeoutMs));
    return o.kind == Outcome::Kind::Address ? o.text : QString();
}

} // namespace ExternalAddress

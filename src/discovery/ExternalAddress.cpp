#include "discovery/ExternalAddress.h"

#include "settings/ShownText.h"
#include "settings/Text.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>
#include <QTimer>

namespace ExternalAddress {

namespace {

// The first line that shows anything, without control and bidirectional-control characters.
QString displayed(const QString &text) {
    QString out;
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n') {
            if (!out.isEmpty())
                break;
            continue;
        }
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
    const QString shown = displayed(text);
    return {shown, text.size() >= MinAnswerLength && !shown.isEmpty()};
}

bool followable(const QUrl &from, const QUrl &to) {
    if (from.host().compare(to.host(), Qt::CaseInsensitive) != 0)
        return false;
    const auto port = [](const QUrl &url) {
        return url.port(url.scheme() == QLatin1String("https") ? 443 : 80);
    };
    if (from.scheme() == to.scheme())
        return port(from) == port(to);
    // The service moved to https on the same host: at the same port, or at https's own.
    return from.scheme() == QLatin1String("http") && to.scheme() == QLatin1String("https") &&
           (port(to) == port(from) || port(to) == 443);
}

QString errorHelp(const Answer &answer, const QString &url) {
    const QString what =
        answer.redirect.isEmpty()
            ? Text::tr("Adres servisi %1 hata koduyla yanıt verdi").arg(answer.status)
        : !answer.failure.isEmpty()
            ? Text::tr("Adres servisi %1 adresine yönlendiriyor, ancak oraya ulaşılamadı (%2)")
                  .arg(answer.redirect.toDisplayString(), answer.failure)
            : Text::tr("Adres servisi başka bir adrese yönlendiriyor (%1); yönlendirme "
                       "izlenmedi")
                  .arg(answer.redirect.toDisplayString());
    return Text::tr("%1: internet bağlantısı var, ancak dış adres alınamadı.\n%2").arg(what, url);
}

Outcome outcome(const Answer &answer) {
    if (!answer.complete)
        return {Outcome::Kind::NoInternet, {}};
    // A redirect not followed, an error status: the service answered, the internet is there.
    if (!answer.redirect.isEmpty() || answer.status >= 300)
        return {Outcome::Kind::ServiceError, {}};
    const Judgement j = judge(answer.body);
    if (!j.usable)
        return {Outcome::Kind::NoInternet, {}};
    return {Outcome::Kind::Address, j.text};
}

namespace {

// One request, not following a redirect; `location` gets where a redirect points.
Answer exchange(QNetworkAccessManager &manager, const QUrl &url, const QByteArray &body,
                const QDeadlineTimer &until, const std::function<bool()> &cancelled,
                QUrl &location) {
    Answer answer;
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("application/x-www-form-urlencoded"));
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
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
    deadline.start(int(qMax<qint64>(0, until.remainingTime())));
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!cut && !stopped && reply->isOpen())
        answer.body += reply->read(MaxAnswerBytes + 1 - answer.body.size());
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    answer.status = status.toInt();
    location = reply->attribute(QNetworkRequest::RedirectionTargetAttribute).toUrl();
    const QNetworkReply::NetworkError error = reply->error();
    // The errors that stand for an HTTP error status: the answer itself came whole.
    const bool statusError =
        (error >= QNetworkReply::ContentAccessDenied &&
         error <= QNetworkReply::UnknownContentError) ||
        (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
    answer.complete =
        !stopped && !status.isNull() && (cut || error == QNetworkReply::NoError || statusError);
    if (!answer.complete)
        answer.failure = stopped ? Text::tr("yanıt zamanında gelmedi") : reply->errorString();
    reply->deleteLater();
    return answer;
}

} // namespace

Answer post(const QUrl &url, const QByteArray &body, int timeoutMs,
            const std::function<bool()> &cancelled) {
    if (!url.isValid() || url.isEmpty())
        return {};
    // One deadline for the whole exchange, redirects included.
    const QDeadlineTimer until(timeoutMs);
    QNetworkAccessManager manager;
    QUrl at = url;
    Answer previous;
    for (int redirects = 0;; ++redirects) {
        QUrl location;
        Answer answer = exchange(manager, at, body, until, cancelled, location);
        if (!answer.complete && redirects > 0 && !(cancelled && cancelled())) {
            // The service answered over the network and sent the request on (as to its https
            // address); that the next step failed (a certificate it does not take, a clock
            // that is wrong, nothing at the port) does not mean that the internet is gone.
            previous.redirect = at;
            previous.failure = answer.failure;
            return previous;
        }
        if (!answer.complete || location.isEmpty() || redirects == MaxRedirects)
            return answer;
        const QUrl target = at.resolved(location);
        if (!followable(at, target)) {
            answer.redirect = target;
            return answer;
        }
        // Still a POST, whatever the status: the service answers nothing else.
        at = target;
        previous = answer;
    }
}

QString HttpPost(const QUrl &url, const QByteArray &body, int timeoutMs) {
    const Outcome o = outcome(post(url, body, timeoutMs));
    return o.kind == Outcome::Kind::Address ? o.text : QString();
}

} // namespace ExternalAddress

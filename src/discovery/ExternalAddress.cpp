#include "ExternalAddress.h"

#include <QEventLoop>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QStringDecoder>

namespace ExternalAddress {

Judgement judge(const QByteArray &body) {
    QByteArray bytes = body.left(MaxAnswerBytes);
    // Never end on half a character.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (text.endsWith(QChar::ReplacementCharacter) && body.size() > MaxAnswerBytes)
        text.chop(1);
    return {text, text.size() >= MinAnswerLength};
}

QString HttpPost(const QUrl &url, const QByteArray &body, int timeoutMs) {
    if (!url.isValid() || url.isEmpty())
        return {};
    QNetworkAccessManager manager;
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("application/x-www-form-urlencoded"));
    request.setTransferTimeout(timeoutMs);
    QNetworkReply *reply = manager.post(request, body);

    QByteArray answer;
    bool cut = false;
    QEventLoop loop;
    QObject::connect(reply, &QNetworkReply::readyRead, &loop, [&] {
        answer += reply->read(MaxAnswerBytes + 1 - answer.size());
        if (answer.size() > MaxAnswerBytes) {
            cut = true; // enough to show: stop reading
            reply->abort();
        }
    });
    QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    if (!reply->isFinished())
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    if (!cut && reply->isOpen())
        answer += reply->readAll();
    const bool failed = !cut && reply->error() != QNetworkReply::NoError &&
                        reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isNull();
    reply->deleteLater();
    if (failed)
        return {};
    return judge(answer).text;
}

} // namespace ExternalAddress

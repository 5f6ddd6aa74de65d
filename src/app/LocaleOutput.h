#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QStringDecoder>
#include <cstdio>

// Text for a terminal in the character set of its locale: a till set up with a legacy Turkish
// locale (tr_TR.ISO-8859-9) shows "ı" as one Latin-5 byte, where UTF-8's two bytes would be
// mojibake. UTF-8 locales, and the C locale (no set chosen, where UTF-8 is what terminals most
// likely show), get UTF-8 as it is. JSON is always UTF-8 and does not go through here.
namespace LocaleOutput {

// The text in the locale's set; what the set cannot hold comes transliterated or as "?".
QByteArray encode(const QString &text);

// An argument given in the locale's set (a name typed on such a terminal); bytes the set cannot
// read come as U+FFFD.
QString decode(const QByteArray &bytes);

// Whether text must be converted at all.
bool converts();

// A write-only device for a QTextStream (writing UTF-8) that passes the text on to `file` in
// the locale's set. A failed write fails the stream, as a write to the file itself would.
class Device : public QIODevice {
public:
    explicit Device(std::FILE *file);

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 size) override;

private:
    std::FILE *m_file;
    QStringDecoder m_decoder{QStringDecoder::Utf8};
};

} // namespace LocaleOutput

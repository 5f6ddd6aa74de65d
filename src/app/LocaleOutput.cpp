#include "app/LocaleOutput.h"

#include <QString>
#include <cerrno>
#include <clocale>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>

namespace LocaleOutput {

namespace {

// The locale's character set where it is neither UTF-8 nor plain ASCII; empty otherwise.
const QByteArray &legacyCharset() {
    static const QByteArray charset = [] {
        std::setlocale(LC_CTYPE, "");
        const QByteArray name = QByteArray(::nl_langinfo(CODESET)).toUpper();
        const bool utf8 = name == "UTF-8" || name == "UTF8";
        const bool ascii = name == "ANSI_X3.4-1968" || name == "ASCII" || name == "US-ASCII";
        return utf8 || ascii || name.isEmpty() ? QByteArray() : name;
    }();
    return charset;
}

} // namespace

bool converts() {
    return !legacyCharset().isEmpty();
}

QByteArray encode(const QString &text) {
    QByteArray utf8 = text.toUtf8();
    if (!converts())
        return utf8;
    const iconv_t cd = ::iconv_open((legacyCharset() + "//TRANSLIT").constData(), "UTF-8");
    if (cd == iconv_t(-1))
        return utf8;
    QByteArray out(utf8.size() * 4 + 16, Qt::Uninitialized);
    char *in = utf8.data();
    size_t inLeft = size_t(utf8.size());
    char *to = out.data();
    size_t toLeft = size_t(out.size());
    while (inLeft > 0) {
        if (::iconv(cd, &in, &inLeft, &to, &toLeft) != size_t(-1))
            continue;
        if (errno != EILSEQ && errno != EINVAL)
            break;
        // A character the set has no form for, even transliterated: "?" and on.
        ++in;
        --inLeft;
        while (inLeft > 0 && (uchar(*in) & 0xC0) == 0x80) {
            ++in;
            --inLeft;
        }
        if (toLeft > 0) {
            *to++ = '?';
            --toLeft;
        }
    }
    ::iconv_close(cd);
    out.truncate(out.size() - qsizetype(toLeft));
    return out;
}

QString decode(const QByteArray &bytes) {
    if (!converts())
        return QString::fromUtf8(bytes);
    const iconv_t cd = ::iconv_open("UTF-8", legacyCharset().constData());
    if (cd == iconv_t(-1))
        return QString::fromUtf8(bytes);
    QByteArray in = bytes;
    QByteArray out(in.size() * 4 + 16, Qt::Uninitialized);
    char *from = in.data();
    size_t inLeft = size_t(in.size());
    char *to = out.data();
    size_t toLeft = size_t(out.size());
    while (inLeft > 0 && ::iconv(cd, &from, &inLeft, &to, &toLeft) == size_t(-1)) {
        if ((errno != EILSEQ && errno != EINVAL) || toLeft < 3)
            break;
        ++from; // a byte the set does not define
        --inLeft;
        std::memcpy(to, "\xef\xbf\xbd", 3);
        to += 3;
        toLeft -= 3;
    }
    ::iconv_close(cd);
    out.truncate(out.size() - qsizetype(toLeft));
    return QString::fromUtf8(out);
}

Device::Device(std::FILE *file) : m_file(file) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

qint64 Device::writeData(const char *data, qint64 size) {
    // A character split between two writes waits in the decoder for its rest.
    const QByteArray bytes = encode(m_decoder.decode(QByteArrayView(data, size)));
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), m_file) != size_t(bytes.size()) ||
        std::fflush(m_file) != 0)
        return -1;
    return size;
}

} // namespace LocaleOutput

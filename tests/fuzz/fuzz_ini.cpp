// Fuzz target for the INI engine: any file bytes, then every read, and writes that must read
// back as written while every other key keeps its value.
#include "settings/IniCodec.h"
#include "settings/IniDocument.h"
#include "settings/IniLines.h"

#include <QStringEncoder>
#include <QStringList>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

QString withoutBlanks(const QString &value) {
    qsizetype b = 0;
    qsizetype e = value.size();
    while (b < e && (value[b] == u' ' || value[b] == u'\t'))
        ++b;
    while (e > b && (value[e - 1] == u' ' || value[e - 1] == u'\t'))
        --e;
    return value.mid(b, e - b);
}

// Every listed key can be read, and no name is listed twice.
void checkReads(const IniDocument &doc, const QStringList &sections) {
    for (const QString &section : sections) {
        const QStringList names = doc.keyNames(section);
        QStringList folded;
        for (const QString &name : names) {
            check(doc.value(section, name).has_value());
            folded.append(IniCodec::foldName(name));
        }
        folded.removeDuplicates();
        check(folded.size() == names.size());
    }
}

// Reads, one write and deletions on a file of these bytes.
void checkFile(const QByteArray &bytes) {
    const IniDocument doc = IniDocument::fromFileBytes(bytes);

    // Names from the input itself, so that the fuzzer can reach odd ones.
    const QString text = QString::fromUtf8(bytes.left(64));
    const QStringList pieces = text.split(QLatin1Char('|'));
    const QString section = pieces.value(0, QStringLiteral("Profiles"));
    const QString key = pieces.value(1, QStringLiteral("KASA"));
    const QString value = pieces.value(2, QStringLiteral("1.2.3.4"));
    QStringList sections{QStringLiteral("Profiles"), QStringLiteral("CurrentProfile"), section};
    checkReads(doc, sections);
    (void)doc.value(section, key);

    if (IniDocument::sectionNameProblem(section) || IniDocument::keyNameProblem(key) ||
        IniDocument::valueProblem(value))
        return;

    // What every other key holds before the write.
    struct Entry {
        QString section, key;
        std::optional<QString> value;
    };
    QList<Entry> before;
    for (const QString &s : sections) {
        for (const QString &k : doc.keyNames(s))
            before.append({s, k, doc.value(s, k)});
    }

    IniDocument written = doc;
    written.setValue(section, key, value);
    const IniDocument reread = IniDocument::fromFileBytes(written.toFileBytes());
    check(written.value(section, key) == withoutBlanks(value));
    check(reread.value(section, key) == withoutBlanks(value));
    checkReads(reread, sections);
    const QString foldedKey = IniCodec::foldName(IniLines::trimBlanks(key));
    const QString foldedSection = IniCodec::foldName(IniLines::trimBlanks(section));
    for (const Entry &e : before) {
        if (IniCodec::foldName(e.key) == foldedKey &&
            IniCodec::foldName(IniLines::trimBlanks(e.section)) == foldedSection)
            continue;
        check(reread.value(e.section, e.key) == e.value);
    }

    IniDocument removed = reread;
    removed.removeKey(section, key);
    check(!removed.value(section, key).has_value());
    removed.removeSection(section);
    check(removed.keyNames(section).isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    checkFile(bytes);
    // The same text as Notepad's "Unicode" saves it, and with lines ended by CR alone.
    QStringEncoder utf16(QStringEncoder::Utf16LE, QStringEncoder::Flag::WriteBom);
    checkFile(utf16.encode(QString::fromUtf8(bytes)));
    QByteArray crOnly = bytes;
    crOnly.replace('\n', '\r');
    checkFile(crOnly);
    return 0;
}

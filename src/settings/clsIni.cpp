#include "settings/clsIni.h"

#include "settings/IniDocument.h"
#include "settings/IniFileStore.h"
#include "settings/IniNumbers.h"
#include "settings/ProgramFolder.h"
#include "settings/Text.h"

namespace {

QString limited(const QString &text) {
    if (text.size() <= clsIni::MaxValueLength)
        return text;
    qsizetype n = clsIni::MaxValueLength;
    if (text.at(n - 1).isHighSurrogate())
        --n; // never cut a character in half
    return text.left(n);
}

} // namespace

bool clsIni::setFileName(const QString &n, PathRule rule) {
    m_fileName = n;
    if (rule == PathRule::Complete && !m_fileName.contains(QLatin1Char('.')))
        m_fileName += QStringLiteral(".ini");
    if (rule == PathRule::Complete && !m_fileName.contains(QLatin1Char('/')))
        m_fileName = programFolder() + QLatin1Char('/') + m_fileName;
    return IniFileStore::createIfMissing(m_fileName, m_lastError);
}

bool clsIni::ReadSection(const QString &IniFile, const QString &sSectionName, QStringList &sKey,
                         qint32 &iCount) {
    iCount = 0;
    sKey.clear();
    const std::optional<QByteArray> bytes = IniFileStore::read(IniFile, m_lastError);
    if (!bytes)
        return false;
    sKey = IniDocument::fromFileBytes(*bytes).keyNames(sSectionName);
    iCount = qint32(sKey.size());
    return true;
}

std::optional<QString> clsIni::readValue(const QString &sSection, const QString &sKey) {
    const std::optional<QByteArray> bytes = IniFileStore::read(m_fileName, m_lastError);
    if (!bytes)
        return std::nullopt;
    const std::optional<QString> value = IniDocument::fromFileBytes(*bytes).value(sSection, sKey);
    if (!value)
        return std::nullopt;
    return limited(*value);
}

QString clsIni::ReadString(const QString &sSection, const QString &sKey, const QString &Default) {
    if (sSection.isEmpty() || sKey.isEmpty())
        return QString();
    const QString value = readValue(sSection, sKey).value_or(QString());
    return value.isEmpty() ? limited(Default) : value;
}

qint16 clsIni::ReadInt(const QString &sSection, const QString &sKey, qint16 Default, bool *ok) {
    if (ok)
        *ok = true;
    if (sSection.isEmpty() || sKey.isEmpty())
        return 0;
    const QString value = readValue(sSection, sKey).value_or(QString());
    if (value.isEmpty())
        return Default;
    const std::optional<qint16> number = IniNumbers::toInt16(IniNumbers::leadingNumber(value));
    if (!number) {
        m_lastError = {IniErrorNumber::Overflow,
                       Text::tr("Sayı çok büyük: %1 [%2] %3").arg(m_fileName, sSection, sKey)};
        if (ok)
            *ok = false;
        return 0;
    }
    return *number;
}

bool clsIni::ReadBool(const QString &sSection, const QString &sKey, bool Default) {
    if (sSection.isEmpty() || sKey.isEmpty())
        return false;
    // A missing key is judged by the default's own text, "1" or "0", so it gives Default.
    const QString text =
        readValue(sSection, sKey).value_or(Default ? QStringLiteral("1") : QStringLiteral("0"));
    return !(text == QLatin1String("0") || text == QLatin1String("Falso") || text.isEmpty());
}

qint32 clsIni::WriteString(const QString &sSection, const QString &sKey, const QString &Value) {
    std::optional<QString> problem = IniDocument::sectionNameProblem(sSection);
    if (!problem)
        problem = IniDocument::keyNameProblem(sKey);
    if (!problem)
        problem = IniDocument::valueProblem(Value);
    if (problem) {
        m_lastError = {IniErrorNumber::InvalidArgument, *problem};
        return 0;
    }
    m_lastNotice.clear();
    const bool ok = IniFileStore::update(
        m_fileName, [&](IniDocument &doc) { return doc.setValue(sSection, sKey, Value); },
        m_lastError, &m_lastNotice);
    return ok ? 1 : 0;
}

qint32 clsIni::DeleteKey(const QString &sSection, const QString &sKey) {
    const bool ok = IniFileStore::update(
        m_fileName, [&](IniDocument &doc) { return doc.removeKey(sSection, sKey); }, m_lastError);
    return ok ? 1 : 0;
}

qint32 clsIni::DeleteSection(const QString &sSection) {
    const bool ok = IniFileStore::update(
        m_fileName, [&](IniDocument &doc) { return doc.removeSection(sSection); }, m_lastError);
    return ok ? 1 : 0;
}

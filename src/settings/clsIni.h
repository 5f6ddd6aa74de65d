#pragma once

#include "settings/IniError.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <optional>

// One INI file, named by FileName: typed reads and writes of single keys, the key names of
// a section, and deletion of a key or a whole section. Nothing is cached: every call reads
// the file as it is now, and every write replaces it atomically (IniFileStore).
//
// Writes and deletions return non-zero on success and 0 on failure; the reason for the
// last failure is kept in lastError().
class clsIni {
public:
    // Longest value a read returns, in characters.
    static constexpr int MaxValueLength = 254;

    enum class PathRule {
        Complete, // ".ini" and the program's folder are added where missing
        Exact,    // the path is used as it stands (one completed already, or a user's own)
    };
    // Stores the path, completed: ".ini" is appended when the text holds no "." anywhere,
    // then the program's folder and "/" are put in front when it holds no "/". A missing
    // file is created empty; false when that fails (see lastError()).
    bool setFileName(const QString &n, PathRule rule = PathRule::Complete);
    QString FileName() const { return m_fileName; }

    QString Section() const { return m_section; }
    void setSection(const QString &section) { m_section = section; }

    // The key names of a section of the file IniFile, in file order, every one of them;
    // sKey is emptied first. False (with iCount 0) when the file exists but cannot be read.
    bool ReadSection(const QString &IniFile, const QString &sSectionName, QStringList &sKey,
                     qint32 &iCount);

    qint32 WriteString(const QString &sSection, const QString &sKey, const QString &Value);
    QString ReadString(const QString &sSection, const QString &sKey, const QString &Default);
    // A stored number outside the 16-bit range sets *ok to false (error 6) and returns 0.
    qint16 ReadInt(const QString &sSection, const QString &sKey, qint16 Default,
                   bool *ok = nullptr);
    bool ReadBool(const QString &sSection, const QString &sKey, bool Default);
    qint32 DeleteKey(const QString &sSection, const QString &sKey);
    qint32 DeleteSection(const QString &sSection);

    const IniError &lastError() const { return m_lastError; }
    // What the user should know about the last WriteString besides its result (the file
    // changed its encoding to hold the value), or nothing.
    const QString &lastNotice() const { return m_lastNotice; }

private:
    // The key's value, up to MaxValueLength characters; nothing when the key is missing or
    // the file cannot be read.
    std::optional<QString> readValue(const QString &sSection, const QString &sKey);

    QString m_fileName;
    QString m_section;
    IniError m_lastError;
    QString m_lastNotice;
};

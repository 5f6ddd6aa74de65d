#pragma once

#include <QJsonObject>
#include <QString>
#include <functional>

// The record of a change on trial, kept beside the settings file so that every run that uses
// those settings sees it, whatever its environment (a window, cron, su): who made the change
// (the run's process on this start of the computer), its checkpoint, the profile before it.
// A JSON object, read and replaced whole under the folder's lock; only a regular file of this
// user's is read.
class TrialFile {
public:
    explicit TrialFile(QString path);
    // "…/Nuvar_Pos_Zelvi_ip.exe.config" gives "…/Nuvar_Pos_Zelvi_ip.exe.config.trial".
    static QString besideSettings(const QString &settingsPath);
    const QString &path() const { return m_path; }

    // Empty when there is none or it cannot be read.
    QJsonObject read() const;
    // Reads, changes and stores the record, with the folder locked meanwhile (two runs at once
    // take turns); an empty object removes the file. False, with the reason, when it could
    // not be stored.
    bool update(const std::function<void(QJsonObject &)> &change, QString *problem = nullptr);

    // Who made a record: this process, another that still runs, or a run that has ended (or
    // ran before the computer last started).
    enum class Run { None, This, Other, Ended };
    static void stampRun(QJsonObject &record);
    static Run runOf(const QJsonObject &record);

private:
    QString m_path;
};

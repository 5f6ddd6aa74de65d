#pragma once

#include "adapters/AdapterBackend.h"
#include "adapters/TrialLedger.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// This program's checkpoint in NetworkManager. NetworkManager does not say who made a
// checkpoint, so the program keeps a record (the checkpoint's object, the moment it was made
// and the run that made it) beside the settings file: a checkpoint that matches the record is
// the program's, every other one belongs to another program and is never touched. A pending
// one whose run has ended was left behind: it is put back before the next change, or taken
// over to be judged; one whose run still goes on is that run's alone.
class NmCheckpoint {
public:
    NmCheckpoint(QDBusConnection bus, QString service, QString manager, QString settings,
                 QString recordFile);

    // A checkpoint on these devices, made while no other run can make one; a pending one that
    // an ended run of the program left is put back first. Any other checkpoint on them,
    // or one made meanwhile, means busy: nothing is made.
    AdapterBackend::TrialStart create(const QList<QDBusObjectPath> &devices, int seconds);
    bool adopt();
    // Whether this run's changes are on trial: made in memory, stored only when kept.
    bool onTrial() const { return m_mine.has_value(); }
    // Before a profile's first change on trial: what it had (NmEarlier), or {"new": true}
    // for a profile made for the change, by its UUID, and the interface it is for.
    void noteEarlier(const QString &uuid, const QString &iface, QJsonObject earlier);
    // At a run's start: a change that an ended run left on trial, whose checkpoint
    // NetworkManager no longer holds (it restarted, or the computer did), is put back from
    // the record.
    QString recover(bool &restored, bool mayChange);
    bool extend(int seconds, QString &problem);
    AdapterBackend::Keep destroy(QString &problem);
    bool putBack(QString &problem);
    int secondsLeft();

private:
    struct Live {
        QString path;
        qint64 created = 0; // milliseconds of the boot clock
        qint64 rollbackAt = 0;
        QList<QDBusObjectPath> devices;
    };
    QList<Live> live();
    std::optional<Live> find(const QString &path, qint64 created);
    std::optional<Live> recorded(const QJsonObject &record);
    void forget(const Live &checkpoint);
    bool putBackLive(const Live &checkpoint, const QJsonObject &connections, QString &problem);
    // Stores a profile changed in memory as it is now (after a rollback: as it was).
    bool persist(const QString &uuid, QString &problem);
    // Puts the recorded profiles back as they were before the change, on disk and on the device.
    bool restoreEarlier(const QJsonObject &connections, QString &problem);
    QString deviceName(const QString &path);
    bool call(const QString &method, const QVariantList &args, QString &problem,
              QVariantList *answer = nullptr);

    QDBusConnection m_bus;
    QString m_service;
    QString m_manager;
    QString m_settings;
    TrialLedger m_record;
    std::optional<Live> m_mine; // made or taken over by this run, until kept or put back
    QStringList m_noted;        // profiles whose earlier settings are in the record
};

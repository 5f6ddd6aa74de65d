#pragma once

#include "WmiAdapter.h"

#include <QDBusConnection>
#include <QDBusObjectPath>
#include <QList>
#include <QString>
#include <optional>

// This program's checkpoint in NetworkManager. NetworkManager does not say who made a
// checkpoint, so the program keeps a record (the checkpoint's object and the moment it was
// made) in a small file of its own: a checkpoint that matches the record is the program's,
// every other one belongs to another program and is never touched. A pending one whose run has
// ended was left behind: it is put back before the next change; one whose run still goes on
// is that run's to judge.
class NmCheckpoint {
public:
    NmCheckpoint(QDBusConnection bus, QString service, QString manager, QString recordFile);

    // A checkpoint on these devices; a pending one of the program's is rolled back first.
    AdapterBackend::CheckpointStart create(const QList<QDBusObjectPath> &devices, int seconds);
    bool extend(int seconds, QString &problem);
    bool destroy(QString &problem);
    bool rollBack(QString &problem);
    int secondsLeft();

private:
    struct Live {
        QString path;
        qint64 created = 0; // milliseconds of the boot clock
        qint64 rollbackAt = 0;
        QList<QDBusObjectPath> devices;
        qint64 pid = 0; // the run that made it, from the record
    };
    QList<Live> live();
    std::optional<Live> ours();
    bool writeRecord(const Live &checkpoint);
    void forgetRecord();
    bool call(const QString &method, const QVariantList &args, QString &problem,
              QVariantList *answer = nullptr);

    QDBusConnection m_bus;
    QString m_service;
    QString m_manager;
    QString m_recordFile;
};

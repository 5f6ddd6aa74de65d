#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

// A file's bytes, or "<missing>" when it cannot be read.
inline QByteArray readAll(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void writeAll(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

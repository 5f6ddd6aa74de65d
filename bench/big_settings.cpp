// A settings file of a hostile size (a million profiles, about 60 MB): how long the window's
// list takes to load it, how long a save with the reload after it takes, and the longest time
// the event loop went without turning meanwhile (what the user sees as a frozen window).
//   big_settings [PROFILES]   (QT_QPA_PLATFORM=offscreen; the file is made in a temporary folder)
#include "app/ProfileListWidget.h"
#include "settings/UserPrompts.h"
#include "settings/modNetProfiles.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

class NoPrompts : public UserPrompts {
public:
    void message(const QString &, Icon) override {}
    bool askYesNo(const QString &, Icon, Default) override { return true; }
};

// Runs `step` from the event loop, with a timer every 10 ms noting the longest gap between its
// ticks; prints the wall time and that gap.
void measure(const char *name, const std::function<void()> &step) {
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    QTimer ticks;
    QObject::connect(&ticks, &QTimer::timeout, [&] {
        longest = qMax(longest, clock.elapsed() - last);
        last = clock.elapsed();
    });
    ticks.start(10);
    qint64 took = 0;
    QTimer::singleShot(0, [&] {
        clock.start();
        step();
        took = clock.elapsed();
        longest = qMax(longest, took - last);
        QTimer::singleShot(50, qApp, &QCoreApplication::quit);
    });
    QApplication::exec();
    std::printf("%-34s %8lld ms, longest without painting %6lld ms\n", name, took, longest);
}

} // namespace

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    const long profiles = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 1000000;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.config"));
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write("[Profiles]\n");
        for (long i = 0; i < profiles; ++i)
            f.write(QStringLiteral("Kasa %1=10.%2.%3.%4.255.255.255.0.10.0.0.1.8.8.8.8....\n")
                        .arg(i, 7, 10, QLatin1Char('0'))
                        .arg(i / 65536 % 256)
                        .arg(i / 256 % 256)
                        .arg(i % 256)
                        .toUtf8());
        std::printf("%ld profiles, %lld MB\n", profiles, qint64(f.size() >> 20));
    }
    QListWidget list;
    ProfileListWidget target(&list);
    NoPrompts prompts;
    measure("load into the window's list",
            [&] { modNetProfiles::ProfilesLoad(path, target, prompts); });
    measure("save a new profile, reload list", [&] {
        modNetProfiles::ProfileFields fields;
        const QStringList parts =
            QStringLiteral("10.9.9.9.255.255.255.0.10.0.0.1.8.8.8.8").split(QLatin1Char('.'));
        for (int i = 0; i < modNetProfiles::FieldCount; ++i)
            fields[i] = parts.value(i);
        modNetProfiles::ProfileSave(path, QStringLiteral("Yeni Kasa"), fields, prompts);
        modNetProfiles::ProfilesLoad(path, target, prompts);
    });
    return list.count() == profiles + 1 ? 0 : 1;
}

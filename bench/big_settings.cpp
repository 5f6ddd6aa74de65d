// A settings file of a hostile size (a million profiles, about 60 MB): how long the window's
// list takes to load it, how long a save with the reload after it takes, and the longest time
// a window went without painting meanwhile (what the user sees as a frozen window).
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
#include <QWidget>
#include <cstdio>
#include <functional>

namespace {

class NoPrompts : public UserPrompts {
public:
    void message(const QString &, Icon) override {}
    bool askYesNo(const QString &, Icon, Default) override { return true; }
};

// A window that paints again as soon as it has painted (through the toolkit's own update
// requests, not a timer): the gaps between its paints are what the user sees as a frozen window.
class Painting : public QWidget {
public:
    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    bool measuring = false;
    long paints = 0;

protected:
    void paintEvent(QPaintEvent *) override {
        if (measuring) {
            ++paints;
            longest = qMax(longest, clock.elapsed() - last);
            last = clock.elapsed();
        }
        update();
    }
};

// Runs `step` from the event loop while the window keeps asking to paint; prints the wall
// time and the longest gap between two paints.
void measure(Painting &window, const char *name, const std::function<void()> &step) {
    qint64 took = 0;
    QTimer::singleShot(100, [&] {
        window.clock.start();
        window.last = 0;
        window.longest = 0;
        window.paints = 0;
        window.measuring = true;
        window.update();
        step();
        took = window.clock.elapsed();
        QTimer::singleShot(100, qApp, [&] {
            window.measuring = false;
            QCoreApplication::exit(0); // quit() would close the window too
        });
    });
    QApplication::exec();
    std::printf("%-34s %8lld ms, longest without painting %6lld ms (%ld paints)\n", name, took,
                window.longest, window.paints);
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
    Painting window;
    window.resize(200, 100);
    window.show();
    QListWidget list;
    ProfileListWidget target(&list);
    NoPrompts prompts;
    measure(window, "load into the window's list",
            [&] { modNetProfiles::ProfilesLoad(path, target, prompts); });
    measure(window, "save a new profile, reload list", [&] {
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

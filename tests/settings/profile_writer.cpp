// Test helper: saves profiles into a settings file, one after another, and reports each
// completed save on standard output ("saved N"). With a count of 0 it never stops. A pause
// (milliseconds) between saves stands for separate runs of the program, each saving one.
#include "settings/ProfileList.h"
#include "settings/UserPrompts.h"
#include "settings/modNetProfiles.h"

#include <QCoreApplication>
#include <QThread>
#include <cstdio>

namespace {

class NoPrompts : public UserPrompts {
public:
    void message(const QString &, Icon) override {}
    bool askYesNo(const QString &, Icon, Default) override { return false; }
};

} // namespace

int main(int argc, char *argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: profile_writer FILE PREFIX COUNT [PAUSE_MS]\n");
        return 2;
    }
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QString prefix = QString::fromLocal8Bit(argv[2]);
    const long count = std::strtol(argv[3], nullptr, 10);
    const unsigned long pauseMs = argc == 5 ? std::strtoul(argv[4], nullptr, 10) : 0;
    EditMode = 1;
    NoPrompts prompts;
    for (long i = 0; count == 0 || i < count; ++i) {
        modNetProfiles::ProfileFields fields;
        const QString address =
            QStringLiteral("10.%1.%2.%3").arg(i / 65536 % 256).arg(i / 256 % 256).arg(i % 256);
        const QStringList parts =
            (address + QStringLiteral(".255.255.255.0.10.0.0.1.10.0.0.1.8.8.8.8"))
                .split(QLatin1Char('.'));
        for (int f = 0; f < modNetProfiles::FieldCount; ++f)
            fields[f] = parts[f];
        const auto result =
            modNetProfiles::ProfileSave(path, prefix + QString::number(i), fields, prompts);
        if (!result.saved()) {
            std::fprintf(stderr, "save %ld failed: %s\n", i, qPrintable(result.error.description));
            return 1;
        }
        std::printf("saved %ld\n", i);
        std::fflush(stdout);
        if (pauseMs > 0)
            QThread::msleep(pauseMs);
    }
    return 0;
}

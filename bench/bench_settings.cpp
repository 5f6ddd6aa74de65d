// Settings store against two established INI libraries on the same files: loading the
// profile names, reading the last profile, and saving a new profile.
#include "settings/IniFileStore.h"
#include "settings/ProfileList.h"
#include "settings/UserPrompts.h"
#include "settings/clsIni.h"
#include "settings/modNetProfiles.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <SimpleIni.h>
#include <benchmark/benchmark.h>
#include <cstring>
#include <ini.h>
#include <map>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

class NoPrompts : public UserPrompts {
public:
    void message(const QString &, Icon) override {}
    bool askYesNo(const QString &, Icon, Default) override { return true; }
};

const QString kFolder = QDir::tempPath() + QStringLiteral("/zelvi-bench-%1").arg(::getpid());

QString profileName(long i) {
    // Mostly plain names, every tenth with Turkish letters, as a technician would type them.
    return (i % 10 == 0 ? QStringLiteral("Şube %1 Kasa") : QStringLiteral("Magaza %1 Kasa"))
        .arg(i, 6, 10, QLatin1Char('0'));
}

QByteArray profileValue(long i) {
    return QStringLiteral("192.168.%1.%2.255.255.255.0.192.168.%1.1.192.168.%1.1.8.8.8.8")
        .arg(i / 250 % 256)
        .arg(i % 250 + 2)
        .toUtf8();
}

// The settings file with n profiles, made once per size.
const QString &settingsFile(long n) {
    static std::map<long, QString> files;
    QString &path = files[n];
    if (path.isEmpty()) {
        QDir().mkpath(kFolder);
        path = kFolder + QStringLiteral("/profiles-%1.config").arg(n);
        QByteArray text = "[Profiles]\r\n";
        for (long i = 0; i < n; ++i)
            text += profileName(i).toUtf8() + '=' + profileValue(i) + "\r\n";
        text += "[CurrentProfile]\r\nProfileName=" + profileName(n - 1).toUtf8() + "\r\n";
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(text);
    }
    return path;
}

// A scratch copy of a settings file that a write benchmark may change.
struct ScratchCopy {
    explicit ScratchCopy(long n) {
        QFile source(settingsFile(n));
        source.open(QIODevice::ReadOnly);
        original = source.readAll();
        path = kFolder + QStringLiteral("/scratch-%1.config").arg(n);
        restore();
    }
    void restore() const {
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(original);
    }
    QByteArray original;
    QString path;
};

void sizes(benchmark::internal::Benchmark *b) {
    for (long n : {10L, 1000L, 10000L, 100000L})
        b->Arg(n);
    b->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);
}

// ---- loading the profile names ------------------------------------------------------------

void ProfilesLoad(benchmark::State &state) {
    const QString &path = settingsFile(state.range(0));
    NoPrompts prompts;
    StringProfileList list;
    for (auto _ : state) {
        modNetProfiles::ProfilesLoad(path, list, prompts);
        benchmark::DoNotOptimize(list.items.size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(ProfilesLoad)->Apply(sizes);

int collectProfileNames(void *user, const char *section, const char *name, const char *) {
    if (strcasecmp(section, "Profiles") == 0)
        static_cast<std::vector<std::string> *>(user)->emplace_back(name);
    return 1;
}

void Baseline_inih_KeyNames(benchmark::State &state) {
    const QByteArray path = QFile::encodeName(settingsFile(state.range(0)));
    for (auto _ : state) {
        std::vector<std::string> names;
        ini_parse(path.constData(), collectProfileNames, &names);
        benchmark::DoNotOptimize(names.size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(Baseline_inih_KeyNames)->Apply(sizes);

// ---- reading the last profile -------------------------------------------------------------

void ReadStringLast(benchmark::State &state) {
    const long n = state.range(0);
    clsIni ini;
    ini.setFileName(settingsFile(n));
    const QString name = profileName(n - 1);
    const QString section = QStringLiteral("Profiles");
    for (auto _ : state) {
        const QString value = ini.ReadString(section, name, QString());
        benchmark::DoNotOptimize(value.size());
    }
    state.SetComplexityN(n);
}
BENCHMARK(ReadStringLast)->Apply(sizes);

struct Wanted {
    std::string name;
    std::string value;
    bool found = false;
};

int findValue(void *user, const char *section, const char *name, const char *value) {
    auto *wanted = static_cast<Wanted *>(user);
    if (!wanted->found && strcasecmp(section, "Profiles") == 0 &&
        strcasecmp(name, wanted->name.c_str()) == 0) {
        wanted->value = value;
        wanted->found = true;
    }
    return 1;
}

void Baseline_inih_ReadValue(benchmark::State &state) {
    const long n = state.range(0);
    const QByteArray path = QFile::encodeName(settingsFile(n));
    for (auto _ : state) {
        Wanted wanted{profileName(n - 1).toStdString(), {}, false};
        ini_parse(path.constData(), findValue, &wanted);
        benchmark::DoNotOptimize(wanted.value.size());
    }
    state.SetComplexityN(n);
}
BENCHMARK(Baseline_inih_ReadValue)->Apply(sizes);

// ---- saving a new profile -----------------------------------------------------------------

void writeNewProfile(benchmark::State &state, bool flush) {
    const long n = state.range(0);
    ScratchCopy copy(n);
    clsIni ini;
    ini.setFileName(copy.path);
    const QString section = QStringLiteral("Profiles");
    const QString name = QStringLiteral("Yeni Kasa");
    const QString value = QString::fromUtf8(profileValue(n));
    IniFileStore::setFlushToDisk(flush);
    for (auto _ : state) {
        if (ini.WriteString(section, name, value) == 0)
            state.SkipWithError("write failed");
        state.PauseTiming();
        copy.restore();
        state.ResumeTiming();
    }
    IniFileStore::setFlushToDisk(true);
    state.SetComplexityN(n);
}

void WriteStringNew(benchmark::State &state) {
    writeNewProfile(state, true);
}
BENCHMARK(WriteStringNew)->Apply(sizes);

void WriteStringNew_WithoutFlush(benchmark::State &state) {
    writeNewProfile(state, false);
}
BENCHMARK(WriteStringNew_WithoutFlush)->Apply(sizes);

void Baseline_SimpleIni_LoadSetSave(benchmark::State &state) {
    const long n = state.range(0);
    ScratchCopy copy(n);
    const QByteArray path = QFile::encodeName(copy.path);
    const std::string value = profileValue(n).toStdString();
    for (auto _ : state) {
        CSimpleIniA ini(true);
        ini.LoadFile(path.constData());
        ini.SetValue("Profiles", "Yeni Kasa", value.c_str());
        if (ini.SaveFile(path.constData()) < 0)
            state.SkipWithError("SimpleIni could not save");
        state.PauseTiming();
        copy.restore();
        state.ResumeTiming();
    }
    state.SetComplexityN(n);
}
BENCHMARK(Baseline_SimpleIni_LoadSetSave)->Apply(sizes);

} // namespace

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QDir(kFolder).removeRecursively();
    return 0;
}

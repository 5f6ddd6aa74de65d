#include "adapters/BackendChoice.h"
#include "adapters/SimulatedComputer.h"
#include "adapters/TrialLedger.h"
#include "adapters/UnavailableBackend.h"
#include "adapters/Wmi.h"
#include "app/DisplayCheck.h"
#include "app/FontWarmUp.h"
#include "app/LocaleOutput.h"
#include "app/ShownReporter.h"
#include "app/TrayIcon.h"
#include "app/frmMain.h"
#include "core/CommandLine.h"
#include "core/CommandRunner.h"
#include "core/MainWindowRules.h"
#include "discovery/ipbul.h"
#include "networkd/KeeperUnit.h"
#include "networkd/NetworkdBackend.h"
#include "networkmanager/NetworkManagerBackend.h"
#include "settings/FileLocation.h"
#include "settings/Language.h"
#include "settings/ShownText.h"
#include "settings/Text.h"
#include "settings/UserFileUpgrade.h"
#include "settings/modNetProfiles.h"
#include "widgets/MessageBoxPrompts.h"
#include "widgets/modMain.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTextStream>
#include <QThread>
#include <QUrl>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace {

// The simulated computer's file that "--backend simulated[=FILE]" names.
QString simulatedFile(const QString &choice) {
    return choice.startsWith(QLatin1String("simulated="))
               ? choice.mid(int(sizeof("simulated=")) - 1)
               : FileLocation::programFile(QStringLiteral("simulated-computer.json"));
}

// Starts this program again with these arguments in a session of its own, and nothing of this
// one's: not its terminal, not its output, which an SSH client would otherwise wait for. The
// very image that runs now is started (/proc/self/exe), not the file at its path: an upgrade
// may have replaced that file meanwhile, and the new version may not know these arguments.
bool startDetached(const QStringList &arguments, qint64 *pid, QString &problem) {
    QProcess process;
    const QString running = QStringLiteral("/proc/self/exe");
    process.setProgram(QFileInfo::exists(running) ? running
                                                  : QCoreApplication::applicationFilePath());
    process.setArguments(arguments);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (process.startDetached(pid))
        return true;
    problem = process.errorString();
    return false;
}

// The adapters' captions of a backend that runs; an empty list when it lists none.
QStringList captionsOf(AdapterBackend &backend) {
    QStringList out;
    WmiAdapterList adapters;
    if (WmiError ignored; backend.ipEnabledAdapters(adapters, ignored)) {
        for (const auto &adapter : adapters)
            out.append(adapter->Caption());
    }
    return out;
}

// The real network configuration: the one `--backend` names, else the one that manages the
// computer's cards (BackendChoice). Null with the reason when none can be used; `shared` when
// both run on the same card.
std::unique_ptr<AdapterBackend> realBackend(const QString &choice, const QString &settingsPath,
                                            WmiError &error, bool &shared) {
    shared = false;
    auto nm = std::make_unique<NetworkManagerBackend>(QDBusConnection::systemBus(), NmPaths(),
                                                      TrialLedger::besideSettings(settingsPath));
    auto networkd = std::make_unique<NetworkdBackend>(QDBusConnection::systemBus());
    networkd->startKeeper = [](const QStringList &arguments, QString &problem) {
        if (KeeperUnit::available())
            return KeeperUnit::start(arguments, problem);
        qint64 pid = 0;
        return startDetached(arguments, &pid, problem);
    };
    if (choice == QLatin1String("networkmanager"))
        return nm->connect(error) ? std::move(nm) : nullptr;
    if (choice == QLatin1String("networkd"))
        return networkd->connect(error) ? std::move(networkd) : nullptr;
    WmiError nmError;
    WmiError ndError;
    const bool nmRuns = nm->connect(nmError);
    const bool ndRuns = networkd->connect(ndError);
    const BackendChoice::Decision decision = BackendChoice::decide(
        nmRuns ? std::optional<QStringList>(nmRuns && ndRuns ? captionsOf(*nm) : QStringList())
               : std::nullopt,
        ndRuns
            ? std::optional<QStringList>(nmRuns && ndRuns ? captionsOf(*networkd) : QStringList())
            : std::nullopt);
    switch (decision.pick) {
    case BackendChoice::Pick::NetworkManager:
        return nm;
    case BackendChoice::Pick::Networkd:
        return networkd;
    case BackendChoice::Pick::Neither:
        break;
    }
    if (!decision.problem.isEmpty()) {
        shared = true;
        error = {qint64(0x80041001), decision.problem};
        return nullptr;
    }
    error = ndError;
    error.description = QStringLiteral("NetworkManager: %1\nsystemd-networkd: %2")
                            .arg(nmError.description, ndError.description);
    return nullptr;
}

// The way to the network configuration that the command line asks for. Where the real
// one cannot be reached the user is told, and offered the simulated computer instead.
std::unique_ptr<AdapterBackend> chooseBackend(const CommandLine &commandLine,
                                              const QString &settingsPath, UserPrompts &prompts) {
    const QString choice = commandLine.backend;
    if (choice.startsWith(QLatin1String("simulated")))
        return std::make_unique<SimulatedComputer>(simulatedFile(choice));
    WmiError reason;
    bool shared = false;
    if (std::unique_ptr<AdapterBackend> real = realBackend(choice, settingsPath, reason, shared))
        return real;
    if (shared) {
        prompts.message(reason.description, UserPrompts::Icon::Stop);
        return std::make_unique<UnavailableBackend>(reason);
    }
    if (choice == QLatin1String("networkmanager") || choice == QLatin1String("networkd")) {
        prompts.message((choice == QLatin1String("networkd")
                             ? Text::tr("systemd-networkd'ye ulaşılamadı; ağ ayarları "
                                        "değiştirilemeyecek.\n%1")
                             : Text::tr("NetworkManager'a ulaşılamadı; ağ ayarları "
                                        "değiştirilemeyecek.\n%1"))
                            .arg(reason.description),
                        UserPrompts::Icon::Stop);
        return std::make_unique<UnavailableBackend>(reason);
    }
    if (prompts.askYesNo(
            Text::tr("Ağ ayarlarını değiştirmek için NetworkManager'a ya da "
                     "systemd-networkd'ye ulaşılamadı.\n%1\n\nProgram, gerçek ağ ayarlarına "
                     "dokunmayan benzetim bilgisayarıyla açılsın mı?")
                .arg(reason.description),
            UserPrompts::Icon::Question))
        return std::make_unique<SimulatedComputer>(
            FileLocation::programFile(QStringLiteral("simulated-computer.json")));
    return std::make_unique<UnavailableBackend>(reason);
}

// The settings file of this run: the one named with --settings, or the program's own (on an
// installed copy the till's, which takes a user's earlier profiles once, said to `prompts`).
// Its folder is made when missing: a till where the program never ran takes its first command.
QString settingsFileOf(const CommandLine &commandLine, UserPrompts &prompts) {
    const QString path = commandLine.settingsFile.isEmpty() ? modNetProfiles::settingsFilePath()
                                                            : commandLine.settingsFile;
    FileLocation::makeFolder(QFileInfo(path).absolutePath());
    if (commandLine.settingsFile.isEmpty() &&
        QFileInfo(path).absolutePath() == FileLocation::tillFolder()) {
        const UserFileUpgrade::Taken taken =
            UserFileUpgrade::take(path, FileLocation::userFile(modNetProfiles::SettingsFileName));
        if (!taken.line.isEmpty())
            prompts.message(taken.line, taken.failed ? UserPrompts::Icon::Stop
                                                     : UserPrompts::Icon::Information);
    }
    return path;
}

// Messages of the address lookup, for the command line: on stderr, never a question.
class StderrPrompts : public UserPrompts {
public:
    void message(const QString &text, Icon) override {
        std::fprintf(stderr, "%s\n", LocaleOutput::encode(ShownText::escaped(text)).constData());
    }
    using UserPrompts::askYesNo;
    bool askYesNo(const QString &, Icon, Default) override { return false; }
};

// Wrong usage of any kind: the reason and the options on stderr (and one JSON object on stdout
// when --json was asked for), status 2. No display is needed for it.
int wrongUsage(const CommandLine &commandLine, const QString &programName) {
    std::fprintf(stderr, "%s\n",
                 LocaleOutput::encode(ShownText::escaped(commandLine.error)).constData());
    std::fputs(LocaleOutput::encode(CommandLine::usage(programName)).constData(), stderr);
    if (commandLine.json) {
        const QJsonObject answer{
            {QStringLiteral("command"), CommandLine::commandName(commandLine.command)},
            {QStringLiteral("status"), CommandRunner::WrongUsage},
            {QStringLiteral("reason"), commandLine.error}};
        std::fputs(ShownText::oneLineJson(answer).constData(), stdout);
    }
    return CommandRunner::WrongUsage;
}

int runCommand(int argc, char *argv[], const QStringList &arguments, Language::Choice language) {
    // A reader that went away (a closed pipe, a dropped SSH session) must not kill a change
    // half made: the write fails, the command ends its work and says so.
    std::signal(SIGPIPE, SIG_IGN);
    CommandLine commandLine = CommandLine::parse(arguments);
    if (commandLine.detachedRun)
        std::signal(SIGHUP, SIG_IGN); // the session it came from may end at any moment
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral(ZELVI_PRODUCT_NAME));
    Language::install(app, language);
    commandLine = CommandLine::parse(arguments); // its texts in that language
    StderrPrompts prompts;
    std::unique_ptr<AdapterBackend> backend;
    CommandRunner::Context context;
    context.settingsPath = settingsFileOf(commandLine, prompts);
    context.pathRule =
        commandLine.settingsFile.isEmpty() ? clsIni::PathRule::Complete : clsIni::PathRule::Exact;
    context.backend = [&](QString &reason) -> AdapterBackend * {
        if (backend)
            return backend.get(); // made once a run
        const QString choice = commandLine.backend;
        if (choice.startsWith(QLatin1String("simulated"))) {
            backend = std::make_unique<SimulatedComputer>(simulatedFile(choice));
            return backend.get();
        }
        WmiError error;
        bool shared = false;
        backend = realBackend(choice, context.settingsPath, error, shared);
        if (!backend) {
            reason = shared ? error.description
                            : Text::tr("Ağ ayarlarına ulaşılamadı (NetworkManager ya da "
                                       "systemd-networkd); ağ ayarları değiştirilemez.\n%1")
                                  .arg(error.description);
            return nullptr;
        }
        return backend.get();
    };
    context.localAddress = [&prompts] { return ipbul::GetLocalAddress(prompts); };
    context.wait = [](int seconds) { QThread::sleep(static_cast<unsigned long>(seconds)); };
    context.detach = startDetached;
    // By its absolute path: the confirm and undo commands printed for a remote change run as
    // printed over SSH, where the program's folder may not be on the PATH.
    context.programName = QCoreApplication::applicationFilePath();
    // Text in the terminal's character set; JSON and exports (files of formats that are UTF-8)
    // stay UTF-8.
    LocaleOutput::Device outText(stdout);
    LocaleOutput::Device errText(stderr);
    const bool convertOut = LocaleOutput::converts() && !commandLine.json &&
                            commandLine.command != CommandLine::Command::ExportProfile;
    QTextStream out = convertOut ? QTextStream(&outText) : QTextStream(stdout);
    QTextStream err = LocaleOutput::converts() ? QTextStream(&errText) : QTextStream(stderr);
    return CommandRunner::run(commandLine, context, out, err);
}

} // namespace

int main(int argc, char *argv[]) {
    // A standard stream started closed is held open on /dev/null for reading only: no file the
    // program opens can take its number and receive the output, and a write to it fails (and
    // is reported) instead.
    for (int fd = 0; fd <= 2; ++fd) {
        if (::fcntl(fd, F_GETFD) == -1 && errno == EBADF) {
            const int opened = ::open("/dev/null", O_RDONLY);
            if (opened >= 0 && opened != fd) {
                ::dup2(opened, fd);
                ::close(opened);
            }
        }
    }
    // Arguments in the locale's character set (a legacy Turkish terminal sends Latin-5), but the
    // settings file's path as the file system names it.
    QStringList arguments;
    for (int i = 1; i < argc; ++i) {
        const bool path = std::strncmp(argv[i], "--settings=", 11) == 0 ||
                          (i > 1 && std::strcmp(argv[i - 1], "--settings") == 0);
        arguments.append(path ? QFile::decodeName(argv[i]) : LocaleOutput::decode(argv[i]));
    }
    const QString programName = QFileInfo(QFile::decodeName(argv[0])).fileName();
    // The keeper of a change on trial through systemd-networkd (started by the program itself).
    if (arguments.size() == 4 && arguments[0] == QLatin1String("--networkd-keeper")) {
        std::signal(SIGHUP, SIG_IGN);
        QCoreApplication app(argc, argv);
        return NetworkdBackend::putBackWhenDue(QDBusConnection::systemBus(), arguments[1],
                                               arguments[2], arguments[3].toLongLong());
    }
    // The whole command line first: help, wrong usage and commands need no display. It is
    // read again once the language is in place, for texts in that language.
    CommandLine given = CommandLine::parse(arguments);
    const Language::Choice language = Language::choose(given.language);
    if (given.help || !given.error.isEmpty()) {
        QCoreApplication app(argc, argv);
        Language::install(app, language);
        given = CommandLine::parse(arguments);
        if (!given.help)
            return wrongUsage(given, programName);
        std::fputs(LocaleOutput::encode(CommandLine::usage(programName)).constData(), stdout);
        return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
    }
    if (given.command != CommandLine::Command::None)
        return runCommand(argc, argv, arguments, language);
    // Without a display Qt would abort: the reason in one line instead, status 1.
    if (const QString problem = DisplayCheck::problem(arguments); !problem.isEmpty()) {
        QCoreApplication app(argc, argv);
        Language::install(app, language);
        std::fprintf(stderr, "%s\n",
                     LocaleOutput::encode(DisplayCheck::problem(arguments)).constData());
        return 1;
    }
    QElapsedTimer sinceStart;
    sinceStart.start();
    FontWarmUp fonts;             // meanwhile: Qt, the settings, the addresses
    QApplication app(argc, argv); // takes Qt's own options
    QApplication::setApplicationName(QStringLiteral(ZELVI_PRODUCT_NAME));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setQuitOnLastWindowClosed(false); // the program ends with its main window
    Language::install(app, language);

    // What is left once Qt has taken its own options ("-platform offscreen" ...).
    const CommandLine commandLine = CommandLine::parse(QApplication::arguments().mid(1));
    if (!commandLine.error.isEmpty())
        return wrongUsage(commandLine, programName);
    if (!commandLine.warning.isEmpty())
        std::fprintf(stderr, "%s\n",
                     LocaleOutput::encode(ShownText::escaped(commandLine.warning)).constData());

    MessageBoxPrompts prompts;
    SystemTrayIcon tray;
    frmMain::Services services;
    services.settingsPath = settingsFileOf(commandLine, prompts);
    const std::unique_ptr<AdapterBackend> backend =
        chooseBackend(commandLine, services.settingsPath, prompts);
    if (!commandLine.settingsFile.isEmpty())
        services.settingsPathRule = clsIni::PathRule::Exact;
    services.prompts = &prompts;
    services.tray = &tray;
    services.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    services.backend = backend.get();
    if (dynamic_cast<SimulatedComputer *>(backend.get()))
        services.captionNote = MainWindowRules::simulationNote();
    else if (dynamic_cast<NetworkdBackend *>(backend.get()))
        services.captionNote = QStringLiteral(" [systemd-networkd]"); // NetworkManager: unmarked

    frmMain window(services);
    QObject::connect(&window, &frmMain::unloaded, &app, &QApplication::quit);
    std::unique_ptr<ShownReporter> reporter;
    if (commandLine.reportShown)
        reporter = std::make_unique<ShownReporter>(&window, sinceStart);
    if (!window.Form_Load(commandLine))
        return window.isUnloaded() ? 0 : 1;
    fonts.wait(); // rather than reading the configuration a second time beside it
    window.showAfterLoad();
    if (reporter && !window.isVisible())
        reporter->reportNow();
    return QApplication::exec();
}

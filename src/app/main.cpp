#include "CommandLine.h"
#include "FileLocation.h"
#include "FontWarmUp.h"
#include "MessageBoxPrompts.h"
#include "NetworkManagerBackend.h"
#include "ShownReporter.h"
#include "SimulatedComputer.h"
#include "TrayIcon.h"
#include "UnavailableBackend.h"
#include "Wmi.h"
#include "frmMain.h"
#include "modNetProfiles.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QUrl>
#include <cstdio>
#include <memory>

namespace {

// The way to the network configuration that the command line asks for. Where the real
// one cannot be reached the user is told, and offered the simulated computer instead.
std::unique_ptr<AdapterBackend> chooseBackend(const CommandLine &commandLine,
                                              UserPrompts &prompts) {
    const QString choice = commandLine.backend;
    if (choice.startsWith(QLatin1String("simulated"))) {
        const QString file =
            choice.startsWith(QLatin1String("simulated="))
                ? choice.mid(int(sizeof("simulated=")) - 1)
                : FileLocation::programFile(QStringLiteral("simulated-computer.json"));
        return std::make_unique<SimulatedComputer>(file);
    }
    auto nm = std::make_unique<NetworkManagerBackend>(QDBusConnection::systemBus());
    WmiError reason;
    if (nm->connect(reason))
        return nm;
    if (choice == QLatin1String("networkmanager")) {
        prompts.message(QStringLiteral("NetworkManager'a ulaşılamadı; ağ ayarları "
                                       "değiştirilemeyecek.\n%1")
                            .arg(reason.description),
                        UserPrompts::Icon::Stop);
        return nm;
    }
    if (prompts.askYesNo(QStringLiteral("Ağ ayarlarını değiştirmek için NetworkManager'a "
                                        "ulaşılamadı.\n%1\n\nProgram, gerçek ağ ayarlarına "
                                        "dokunmayan benzetim bilgisayarıyla açılsın mı?")
                             .arg(reason.description),
                         UserPrompts::Icon::Question))
        return std::make_unique<SimulatedComputer>(
            FileLocation::programFile(QStringLiteral("simulated-computer.json")));
    return std::make_unique<UnavailableBackend>(reason);
}

} // namespace

int main(int argc, char *argv[]) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    FontWarmUp fonts;             // meanwhile: Qt, the settings, the addresses
    QApplication app(argc, argv); // takes Qt's own options
    QApplication::setApplicationName(QStringLiteral(ZELVI_PRODUCT_NAME));
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setQuitOnLastWindowClosed(false); // the program ends with its main window

    const CommandLine commandLine = CommandLine::parse(QApplication::arguments().mid(1));
    if (commandLine.help || !commandLine.error.isEmpty()) {
        if (!commandLine.error.isEmpty())
            std::fprintf(stderr, "%s\n", qPrintable(commandLine.error));
        std::fputs(qPrintable(CommandLine::usage()), commandLine.help ? stdout : stderr);
        return commandLine.help ? 0 : 2;
    }

    MessageBoxPrompts prompts;
    SystemTrayIcon tray;
    const std::unique_ptr<AdapterBackend> backend = chooseBackend(commandLine, prompts);
    frmMain::Services services;
    services.settingsPath = commandLine.settingsFile.isEmpty() ? modNetProfiles::settingsFilePath()
                                                               : commandLine.settingsFile;
    if (!commandLine.settingsFile.isEmpty())
        services.settingsPathRule = clsIni::PathRule::Exact;
    services.prompts = &prompts;
    services.tray = &tray;
    services.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };
    services.backend = backend.get();
    if (dynamic_cast<SimulatedComputer *>(backend.get()))
        services.captionNote = QStringLiteral(" [BENZETİM: gerçek ağ ayarları değişmez]");

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

#include "CommandLine.h"
#include "MessageBoxPrompts.h"
#include "TrayIcon.h"
#include "frmMain.h"
#include "modNetProfiles.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>
#include <cstdio>

int main(int argc, char *argv[]) {
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
    frmMain::Services services;
    services.settingsPath = commandLine.settingsFile.isEmpty() ? modNetProfiles::settingsFilePath()
                                                               : commandLine.settingsFile;
    services.prompts = &prompts;
    services.tray = &tray;
    services.openUrl = [](const QUrl &url) { return QDesktopServices::openUrl(url); };

    frmMain window(services);
    QObject::connect(&window, &frmMain::unloaded, &app, &QApplication::quit);
    if (!window.Form_Load(commandLine))
        return 1;
    window.showAfterLoad();
    return QApplication::exec();
}

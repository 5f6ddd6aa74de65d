// Renders the main window, the profile editor and the adapter dialog to PNG files, offscreen,
// for the README:   render_screenshots OUTPUT_FOLDER [tr|en]   (English: main-en.png ...)
// The program runs on a simulated computer with a few profiles; the two address lines show
// what a connected computer shows.
#include "FakeTray.h"
#include "adapters/SimulatedComputer.h"
#include "app/frmMain.h"
#include "dialogs/AddressBox.h"
#include "dialogs/frmNewSettings.h"
#include "dialogs/frmSelectNIC.h"
#include "settings/Language.h"
#include "settings/ProfileList.h"
#include "widgets/MessageBoxPrompts.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <cstdio>

int main(int argc, char *argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setStyle(QStringLiteral("Fusion"));
    const auto language = argc == 3 ? Language::fromOption(QString::fromLocal8Bit(argv[2]))
                                    : Language::Choice::Turkish;
    if ((argc != 2 && argc != 3) || !language) {
        std::fprintf(stderr, "usage: render_screenshots OUTPUT_FOLDER [tr|en]\n");
        return 2;
    }
    Language::install(app, *language);
    const QString suffix =
        *language == Language::Choice::English ? QStringLiteral("-en.png") : QStringLiteral(".png");
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir dir;
    const QString settings = dir.filePath(QStringLiteral("Nuvar_Pos_Zelvi_ip.exe.config"));
    QFile f(settings);
    f.open(QIODevice::WriteOnly);
    f.write("[Profiles]\n"
            "Kasa 1=192.168.5.50.255.255.255.0.192.168.5.254.192.168.5.254.8.8.8.8\n"
            "Kasa 2=192.168.5.51.255.255.255.0.192.168.5.254.192.168.5.254.8.8.8.8\n"
            "Merkez Ofis=10.0.0.20.255.0.0.0.10.0.0.1.10.0.0.1....\n"
            "\xC5\x9E"
            "ube Depo=172.16.4.10.255.255.0.0.172.16.0.1.172.16.0.1....\n"
            "[CurrentProfile]\nProfileName=Kasa 1\n");
    f.close();

    SimulatedComputer computer(dir.filePath(QStringLiteral("computer.json")));
    MessageBoxPrompts prompts;
    FakeTray tray;
    frmMain::Services services;
    services.settingsPath = settings;
    services.prompts = &prompts;
    services.tray = &tray;
    services.backend = &computer;
    services.openUrl = [](const QUrl &) { return true; };
    services.localAddress = [](UserPrompts &) { return QStringLiteral("192.168.5.50"); };
    frmMain window(services);
    window.Form_Load(CommandLine());
    window.icip->setText(QStringLiteral("192.168.5.50"));
    window.disip->setText(QStringLiteral("85.105.1.2"));
    window.show();
    QApplication::processEvents();
    bool ok = window.grab().save(out + QStringLiteral("/main") + suffix);

    StringProfileList reloaded;
    frmNewSettings editor(settings, reloaded, prompts, &window);
    const QStringList parts =
        QStringLiteral("192.168.5.50.255.255.255.0.192.168.5.254.192.168.5.254.8.8.8.8")
            .split(QLatin1Char('.'));
    for (int i = 0; i < 20; ++i)
        editor.txtIP[i]->setText(parts[i]);
    editor.txtProfileName->setText(QStringLiteral("Kasa 1"));
    editor.show();
    QApplication::processEvents();
    ok = editor.grab().save(out + QStringLiteral("/editor") + suffix) && ok;
    editor.hide();

    frmSelectNIC adapters(computer, prompts, &window);
    adapters.lstNIC->setCurrentRow(0);
    adapters.show();
    QApplication::processEvents();
    ok = adapters.grab().save(out + QStringLiteral("/adapters") + suffix) && ok;
    return ok ? 0 : 1;
}

#include "CommandLine.h"

CommandLine CommandLine::parse(const QStringList &arguments) {
    CommandLine cl;
    QStringList rest;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            cl.help = true;
        } else if (arg == QLatin1String("--settings")) {
            if (i + 1 >= arguments.size()) {
                cl.error = QStringLiteral("--settings bir dosya adı bekliyor.");
                return cl;
            }
            cl.settingsFile = arguments[++i];
        } else if (arg.startsWith(QLatin1String("--settings="))) {
            cl.settingsFile = arg.mid(int(sizeof("--settings=")) - 1);
        } else if (arg == QLatin1String("--report-shown")) {
            cl.reportShown = true;
        } else if (arg == QLatin1String("--backend")) {
            if (i + 1 >= arguments.size()) {
                cl.error = QStringLiteral("--backend bir ad bekliyor.");
                return cl;
            }
            cl.backend = arguments[++i];
        } else if (arg.startsWith(QLatin1String("--backend="))) {
            cl.backend = arg.mid(int(sizeof("--backend=")) - 1);
        } else {
            rest.append(arg);
        }
    }
    if (!cl.backend.isEmpty() && cl.backend != QLatin1String("networkmanager") &&
        cl.backend != QLatin1String("simulated") &&
        !cl.backend.startsWith(QLatin1String("simulated="))) {
        cl.error = QStringLiteral("Bilinmeyen --backend: %1").arg(cl.backend);
        return cl;
    }
    cl.rest = rest.join(QLatin1Char(' '));
    const QString upper = cl.rest.toUpper();
    cl.hideOnStartup =
        upper == QLatin1String("/HIDEONSTARTUP") || upper == QLatin1String("HIDEONSTARTUP");
    return cl;
}

QString CommandLine::usage() {
    return QStringLiteral(
        "Kullanım: Nuvar_Pos_Zelvi_ip [SEÇENEKLER] [/HIDEONSTARTUP]\n"
        "\n"
        "  /HIDEONSTARTUP     pencereyi açmadan, bildirim alanında başlar\n"
        "  --settings DOSYA   program klasöründeki ayar dosyası yerine DOSYA kullanılır\n"
        "  --backend networkmanager\n"
        "                     ağ ayarlarını NetworkManager ile değiştirir (varsayılan)\n"
        "  --backend simulated[=DOSYA]\n"
        "                     gerçek ağa dokunmadan, DOSYA'daki benzetim bağdaştırıcılarıyla\n"
        "                     çalışır (varsayılan dosya program klasöründe\n"
        "                     simulated-computer.json)\n"
        "  --report-shown     pencere ilk göründüğünde bunu yazar ve kapanır (ölçüm için)\n"
        "  --help             bu yardımı gösterir\n");
}

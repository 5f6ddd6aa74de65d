#include "app/DisplayCheck.h"

#include "settings/Text.h"

#include <QRegularExpression>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace DisplayCheck {

namespace {

// Whether an X server takes connections on display `number` of this computer: its socket in
// /tmp/.X11-unix, or the abstract socket of the same name.
bool xServerAnswers(const QString &number) {
    const QByteArray path = "/tmp/.X11-unix/X" + number.toLatin1();
    for (const bool abstract : {false, true}) {
        const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return true; // cannot tell: let Qt try
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::size_t offset = abstract ? 1 : 0;
        std::memcpy(address.sun_path + offset, path.constData(),
                    std::min(std::size_t(path.size()), sizeof(address.sun_path) - 1 - offset));
        const socklen_t length =
            socklen_t(offsetof(sockaddr_un, sun_path) + offset + std::size_t(path.size()));
        const bool connected =
            ::connect(fd, reinterpret_cast<const sockaddr *>(&address), length) == 0;
        ::close(fd);
        if (connected)
            return true;
    }
    return false;
}

} // namespace

QString problem(const QStringList &arguments) {
    if (arguments.contains(QLatin1String("-platform")) ||
        !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return {};
    const QString display = qEnvironmentVariable("DISPLAY");
    if (display.isEmpty())
        return Text::tr("Pencere açılamadı: bu oturumda ekran yok (DISPLAY ayarlı değil). "
                        "Komutlar ekransız çalışır: --help.");
    // Only a display of this computer (":0", ":1.0", "unix:0") can be looked at before Qt.
    static const QRegularExpression local(QStringLiteral("^(?:unix)?:(\\d+)(?:\\.\\d+)?$"));
    const QRegularExpressionMatch m = local.match(display);
    if (m.hasMatch() && !xServerAnswers(m.captured(1)))
        return Text::tr("Pencere açılamadı: %1 ekranına bağlanılamadı. Komutlar ekransız "
                        "çalışır: --help.")
            .arg(display);
    return {};
}

} // namespace DisplayCheck

#pragma once

#include "core/CommandLine.h"
#include "core/CommandOutput.h"
#include "core/CommandRunner.h"
#include "settings/clsIni.h"

#include <QString>
#include <QStringList>

class AdapterBackend;

// The commands that change the adapters (--apply, --dhcp) and the helpers the other commands
// share with them. No widgets.
namespace CommandRunner {

// The stored spelling of a profile's name, as the list shows it; empty when there is none.
QString storedName(clsIni &ini, const QString &asked);
// The number in a caption's brackets ("[00000002] Ethernet" gives 2), or -1.
qint64 captionIndex(const QString &caption);

// The external check as the window makes it: what the line shows, and whether the
// connection counts as missing.
struct External {
    QString shown;
    bool noInternet = false;
    // For scripts, in every language: address, service-error, no-internet, no-service.
    QString state;
};
External externalCheck(clsIni &ini, const Context &context);

// An --apply as the settings and the adapters allow it, before anything moves: the profile
// asked for (as stored, or as a pushed import would leave it), the adapters it goes to and
// whether it changes anything there; or why it is refused (`code` set).
struct ApplyPlan {
    QString name; // as stored; empty when there is no such profile
    QStringList parts;
    QString selection; // "*ALL" or one adapter's caption
    bool changes = false;
    QString refusal; // Turkish
    QString code;
};
ApplyPlan planApply(const CommandLine &cl, clsIni &ini, AdapterBackend &backend);

int apply(Run &run, const CommandLine &cl, clsIni &ini, AdapterBackend &backend,
          const Context &context);
int dhcp(Run &run, const CommandLine &cl, clsIni &ini, AdapterBackend &backend);

} // namespace CommandRunner

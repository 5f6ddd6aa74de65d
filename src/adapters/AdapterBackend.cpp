#include "adapters/AdapterBackend.h"

#include "adapters/AdapterCommands.h"
#include "adapters/NeighbourProbe.h"

std::optional<bool> AdapterBackend::gatewayAnswers(const QString &caption, const QString &gateway,
                                                   int deadlineMs) {
    // Both real backends describe a card by its interface's name first ("enp1s0 - model").
    const QString interface =
        AdapterCommands::descriptionOf(caption).section(QLatin1Char(' '), 0, 0);
    switch (NeighbourProbe::ask(interface, gateway, deadlineMs)) {
    case NeighbourProbe::Answer::Answered:
        return true;
    case NeighbourProbe::Answer::Silent:
        return false;
    case NeighbourProbe::Answer::Unknown:
        break;
    }
    return std::nullopt;
}

#include "adapters/AdapterBackend.h"

#include "adapters/AdapterCommands.h"
#include "adapters/NeighbourProbe.h"

std::optional<bool> AdapterBackend::gatewayAnswers(const QString &caption, const QString &gateway,
                                                   int deadlineMs) {
    switch (NeighbourProbe::ask(AdapterCommands::interfaceOf(caption), gateway, deadlineMs)) {
    case NeighbourProbe::Answer::Answered:
        return true;
    case NeighbourProbe::Answer::Silent:
        return false;
    case NeighbourProbe::Answer::Unknown:
        break;
    }
    return std::nullopt;
}

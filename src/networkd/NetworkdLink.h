#pragma once

#include "adapters/WmiAdapter.h"

#include <QString>
#include <memory>

class NetworkdBackend;

// One link that systemd-networkd manages, as the WMI-shaped adapter the commands change: what
// it is to hold goes into the backend's pending files (written at the end of a command, or at
// once outside one); what it holds is read from networkd's description of it.
std::unique_ptr<WmiAdapter> makeNetworkdLink(NetworkdBackend &backend, int index,
                                             const QString &name, const QString &path);

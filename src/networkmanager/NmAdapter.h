#pragma once

#include "networkmanager/NetworkManagerBackend.h"

#include <QString>
#include <memory>

// One NetworkManager device as a WMI-shaped adapter: each method changes the device's
// NetworkManager profile, stores it (or, on trial, keeps it in memory) and applies it, and a
// static change is waited for until the device shows it.
std::unique_ptr<WmiAdapter> makeNmAdapter(NetworkManagerBackend &nm, QString device, QString iface,
                                          QString caption);

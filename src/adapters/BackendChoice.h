#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// Which network manager the program works through when the command line names none: the one
// that manages the computer's cards. A till runs one of them; a second one on the same card
// (NetworkManager installed on a till that systemd-networkd runs, say) means two programs
// writing the card's settings, and whatever the program changed through one would be undone
// by the other at the next restart: it is said, and nothing is changed.
namespace BackendChoice {

enum class Pick { NetworkManager, Networkd, Neither };

struct Decision {
    Pick pick = Pick::Neither;
    QString problem; // why neither although both run (Turkish); empty otherwise
};

// Each manager's adapters as their captions ("[index] name…", the kernel's interface index),
// or nothing when that manager does not run.
Decision decide(const std::optional<QStringList> &networkManager,
                const std::optional<QStringList> &networkd);

} // namespace BackendChoice

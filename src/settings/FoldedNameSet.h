#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <vector>

// A set of names from INI text, compared without regard to letter case (as
// IniLines::NameMatcher compares them). Plain ASCII names, by far the most common, are
// hashed and compared without copying.
class FoldedNameSet {
public:
    // Adds the name; false when a name that matches it is in the set already. The bytes
    // must stay valid while the set is used.
    bool insert(QByteArrayView utf8Name);

private:
    struct Slot {
        quint64 hash = 0;
        QByteArrayView name; // empty: a free slot
    };
    void grow();

    std::vector<Slot> m_slots;
    qsizetype m_count = 0;
};

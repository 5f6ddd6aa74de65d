#include "settings/FoldedNameSet.h"

#include "settings/IniLines.h"

namespace {

char asciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

quint64 hashBytes(QByteArrayView bytes, bool lower) {
    quint64 h = 1469598103934665603ULL; // FNV-1a
    for (const char c : bytes) {
        h ^= static_cast<unsigned char>(lower ? asciiLower(c) : c);
        h *= 1099511628211ULL;
    }
    return h;
}

quint64 foldedHash(QByteArrayView name) {
    if (IniLines::isAscii(name))
        return hashBytes(name, true);
    return hashBytes(IniLines::foldedKey(name), false);
}

bool sameName(QByteArrayView a, QByteArrayView b) {
    if (IniLines::isAscii(a) && IniLines::isAscii(b)) {
        if (a.size() != b.size())
            return false;
        for (qsizetype i = 0; i < a.size(); ++i) {
            if (asciiLower(a[i]) != asciiLower(b[i]))
                return false;
        }
        return true;
    }
    return IniLines::foldedKey(a) == IniLines::foldedKey(b);
}

} // namespace

bool FoldedNameSet::insert(QByteArrayView utf8Name) {
    if ((m_count + 1) * 2 > qsizetype(m_slots.size()))
        grow();
    const quint64 hash = foldedHash(utf8Name);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot &slot = m_slots[i];
        if (slot.name.isEmpty()) {
            slot = {hash, utf8Name};
            ++m_count;
            return true;
        }
        if (slot.hash == hash && sameName(slot.name, utf8Name))
            return false;
    }
}

void FoldedNameSet::grow() {
    std::vector<Slot> old = std::move(m_slots);
    m_slots.assign(old.empty() ? 64 : old.size() * 2, Slot{});
    const std::size_t mask = m_slots.size() - 1;
    for (const Slot &slot : old) {
        if (slot.name.isEmpty())
            continue;
        std::size_t i = slot.hash & mask;
        while (!m_slots[i].name.isEmpty())
            i = (i + 1) & mask;
        m_slots[i] = slot;
    }
}

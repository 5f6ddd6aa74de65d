// Fuzz target for the judgement of the address service's answer.
#include "discovery/ExternalAddress.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    const ExternalAddress::Judgement j = ExternalAddress::judge(body);
    if (j.text.toUtf8().size() > ExternalAddress::MaxAnswerBytes * 3)
        std::abort();
    if (j.text.size() > ExternalAddress::MaxAnswerBytes)
        std::abort();
    // What is shown is one line, without control or reordering characters.
    for (const QChar c : j.text) {
        if (c == u'\r' || c == u'\n' || c.category() == QChar::Other_Control ||
            (c.unicode() >= 0x202A && c.unicode() <= 0x202E) ||
            (c.unicode() >= 0x2066 && c.unicode() <= 0x2069) || c.unicode() == 0x200E ||
            c.unicode() == 0x200F)
            std::abort();
    }
    // Whatever is shown counts towards an answer.
    if (j.text.size() >= ExternalAddress::MinAnswerLength && !j.usable)
        std::abort();
    // Only what was read counts: the rest of a long answer changes nothing.
    if (ExternalAddress::judge(body.left(ExternalAddress::MaxAnswerBytes)).text != j.text &&
        body.size() <= ExternalAddress::MaxAnswerBytes)
        std::abort();
    return 0;
}

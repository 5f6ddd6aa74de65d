// Fuzz target for the judgement of the address service's answer.
#include "ExternalAddress.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray body(reinterpret_cast<const char *>(data), qsizetype(size));
    const ExternalAddress::Judgement j = ExternalAddress::judge(body);
    if (j.text.toUtf8().size() > ExternalAddress::MaxAnswerBytes * 3)
        std::abort();
    if (j.text.size() > ExternalAddress::MaxAnswerBytes)
        std::abort();
    if (j.usable != (j.text.size() >= ExternalAddress::MinAnswerLength))
        std::abort();
    // Only what was read counts: the rest of a long answer changes nothing.
    if (ExternalAddress::judge(body.left(ExternalAddress::MaxAnswerBytes)).text != j.text &&
        body.size() <= ExternalAddress::MaxAnswerBytes)
        std::abort();
    return 0;
}

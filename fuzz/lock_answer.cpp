// What a lock sends back over its COM port, byte for byte, to a card read and to a request for
// its identification. Input: the bytes the lock sends.
//
// Beyond "no crash": the answer does not depend on how the bytes arrive, the first answer or
// fault is final, every answer fits the request and the protocol's limits, and card data from a
// lock goes through Split Data like typed card data.
#include "formats/split_data.h"
#include "fuzz/fuzz_support.h"
#include "readers/lock/lock_protocol.h"

namespace {

using namespace morvane;

bool sameOutcome(const AnswerReader& a, const AnswerReader& b) {
    if (a.finished() != b.finished() || a.fault() != b.fault()) return false;
    if (a.answer().has_value() != b.answer().has_value()) return false;
    if (!a.answer()) return true;
    return a.answer()->kind == b.answer()->kind && a.answer()->text == b.answer()->text &&
           a.answer()->errorCode == b.answer()->errorCode;
}

void checkAnswer(LockRequest request, const LockAnswer& answer) {
    FUZZ_CHECK(fuzz::isPrintableAscii(answer.text));
    FUZZ_CHECK(answer.kind == LockAnswer::Kind::Error || answer.errorCode == 0);
    switch (answer.kind) {
        case LockAnswer::Kind::Card:
            FUZZ_CHECK(request == LockRequest::ReadCard);
            FUZZ_CHECK(answer.text.size() <= kMaxCardDataLength);
            FUZZ_CHECK(answer.text.find(' ') == std::string::npos);
            {
                const SplitResult split = SplitData(answer.text);
                FUZZ_CHECK(split.state != SplitState::Empty);
            }
            break;
        case LockAnswer::Kind::Info:
            FUZZ_CHECK(request == LockRequest::LockInfo);
            break;
        case LockAnswer::Kind::Timeout:
            FUZZ_CHECK(answer.text.empty());
            break;
        case LockAnswer::Kind::Error:
            FUZZ_CHECK(answer.errorCode >= 0 && answer.errorCode <= 9999);
            break;
    }
}

void checkRequest(LockRequest request, std::string_view bytes) {
    AnswerReader whole(request);
    whole.feed(bytes);

    AnswerReader byteByByte(request);
    for (char b : bytes) byteByByte.feed(std::string_view(&b, 1));
    FUZZ_CHECK(sameOutcome(whole, byteByByte));

    FUZZ_CHECK(!(whole.answer() && whole.fault()));
    FUZZ_CHECK(whole.finished() == (whole.answer() || whole.fault()));
    if (whole.fault()) {
        FUZZ_CHECK(!whole.fault()->empty() && fuzz::isPrintableAscii(*whole.fault()));
    }
    if (whole.answer()) checkAnswer(request, *whole.answer());
    if (!whole.finished()) return;

    // Whatever follows the first answer or fault belongs to nobody.
    AnswerReader again(request);
    again.feed(bytes);
    again.feed(bytes);
    again.feed("CARD 1\r\nINFO x\nTIMEOUT\n\x01");
    FUZZ_CHECK(sameOutcome(whole, again));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::asText(data, size);
    checkRequest(LockRequest::ReadCard, bytes);
    checkRequest(LockRequest::LockInfo, bytes);
    return 0;
}

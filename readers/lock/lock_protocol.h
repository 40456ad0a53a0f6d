#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "formats/card_word.h"

// The line protocol spoken with a lock over its COM port (PROTOCOL.md beside this file): one
// request line from the program, one answer line from the lock.
namespace morvane {

enum class LockRequest {
    ReadCard,  // "READ <ms>": the next card presented to the lock
    LockInfo,  // "INFO <ms>": the lock's identification text
};

inline constexpr std::size_t kMaxAnswerLength = 256;   // characters, line end not counted
inline constexpr std::string_view kCancelLine = "CANCEL\r\n";

// "READ 7500\r\n", "INFO 5000\r\n".
std::string requestLine(LockRequest request, int waitMilliseconds);

struct LockAnswer {
    enum class Kind { Card, Info, Timeout, Error };
    Kind kind = Kind::Timeout;
    std::string text;   // card data, lock information or the lock's error text
    int errorCode = 0;  // the lock's own error number (Kind::Error)
};

// Gathers the bytes a lock sends into its answer line. The first complete answer, or the first
// breach of the protocol, ends the exchange; whatever follows is ignored.
class AnswerReader {
  public:
    explicit AnswerReader(LockRequest request) : request_(request) {}

    void feed(std::string_view bytes);

    bool finished() const { return answer_.has_value() || fault_.has_value(); }
    const std::optional<LockAnswer>& answer() const { return answer_; }
    // Why the lock's answer could not be used, in words for the user.
    const std::optional<std::string>& fault() const { return fault_; }

  private:
    void takeByte(char byte);
    void takeLine();
    void takeError(std::string_view rest);
    void takeCard(std::string_view data);
    void takeInfo(std::string_view info);

    LockRequest request_;
    std::string line_;
    bool afterCarriageReturn_ = false;
    std::optional<LockAnswer> answer_;
    std::optional<std::string> fault_;
};

}  // namespace morvane

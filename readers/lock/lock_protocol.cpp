#include "readers/lock/lock_protocol.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace morvane {
namespace {

bool isText(char c) { return c >= 0x20 && c <= 0x7e; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

constexpr std::string_view kNotUnderstood =
    "The lock sent an answer this program does not understand.";

// "KEY" or "KEY rest": the rest, or nothing when the line has another keyword.
std::optional<std::string_view> afterKeyword(std::string_view line, std::string_view keyword) {
    if (!line.starts_with(keyword)) return std::nullopt;
    line.remove_prefix(keyword.size());
    if (line.empty()) return line;
    if (line.front() != ' ') return std::nullopt;
    return line.substr(1);
}

}  // namespace

std::string requestLine(LockRequest request, int waitMilliseconds) {
    const char* keyword = request == LockRequest::ReadCard ? "READ" : "INFO";
    return std::string(keyword) + " " + std::to_string(waitMilliseconds) + "\r\n";
}

void AnswerReader::feed(std::string_view bytes) {
    for (char byte : bytes) {
        if (finished()) return;
        takeByte(byte);
    }
}

void AnswerReader::takeByte(char byte) {
    if (afterCarriageReturn_ && byte != '\n') {
        fault_ = "The lock sent a carriage return in the middle of its answer.";
        return;
    }
    if (byte == '\r') {
        afterCarriageReturn_ = true;
        return;
    }
    if (byte == '\n') {
        afterCarriageReturn_ = false;
        takeLine();
        return;
    }
    if (!isText(byte)) {
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned char>(byte));
        fault_ = std::string("The lock sent a character that is not text (") + code + ").";
        return;
    }
    if (line_.size() == kMaxAnswerLength) {
        fault_ = "The lock sent an answer longer than " + std::to_string(kMaxAnswerLength) +
                 " characters.";
        return;
    }
    line_.push_back(byte);
}

void AnswerReader::takeLine() {
    const std::string line = std::exchange(line_, {});
    // Blank lines carry nothing; some locks send one after power-up.
    if (line.empty()) return;

    if (line == "TIMEOUT") {
        answer_ = LockAnswer{LockAnswer::Kind::Timeout, {}, 0};
    } else if (auto rest = afterKeyword(line, "ERROR")) {
        takeError(*rest);
    } else if (auto data = afterKeyword(line, "CARD")) {
        takeCard(*data);
    } else if (auto info = afterKeyword(line, "INFO")) {
        takeInfo(*info);
    } else {
        fault_ = std::string(kNotUnderstood);
    }
}

// "ERROR <1 to 4 digits>" with an optional text after one blank.
void AnswerReader::takeError(std::string_view rest) {
    const auto digits = static_cast<std::size_t>(
        std::find_if_not(rest.begin(), rest.end(), isDigit) - rest.begin());
    const std::string_view text = rest.substr(digits);
    if (digits == 0 || digits > 4 || (!text.empty() && text.front() != ' ')) {
        fault_ = "The lock reported an error without a proper error number.";
        return;
    }
    answer_ = LockAnswer{LockAnswer::Kind::Error, std::string(text.empty() ? text : text.substr(1)),
                         std::stoi(std::string(rest.substr(0, digits)))};
}

void AnswerReader::takeCard(std::string_view data) {
    if (request_ != LockRequest::ReadCard) {
        fault_ = "The lock sent card data when asked for its information.";
    } else if (data.size() > kMaxCardDataLength) {
        fault_ = "The lock sent card data longer than " + std::to_string(kMaxCardDataLength) +
                 " characters.";
    } else if (data.find(' ') != std::string_view::npos) {
        fault_ = "The lock sent card data with a blank in it.";
    } else {
        answer_ = LockAnswer{LockAnswer::Kind::Card, std::string(data), 0};
    }
}

void AnswerReader::takeInfo(std::string_view info) {
    if (request_ != LockRequest::LockInfo) {
        fault_ = "The lock sent its information when asked for a card.";
    } else {
        answer_ = LockAnswer{LockAnswer::Kind::Info, std::string(info), 0};
    }
}

}  // namespace morvane

#include "core/os/serve_frame.h"

#include <algorithm>
#include <charconv>

namespace kantoria {
namespace {

// A reason is one short line; a header longer than this is not one of ours.
constexpr std::size_t kReasonCap = 4096;
constexpr std::size_t kHeaderCap = 64;

template <typename Number>
bool ParseField(std::string_view& line, Number& value) {
    const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (error != std::errc() || (end != line.data() + line.size() && *end != ' ')) return false;
    line.remove_prefix(static_cast<std::size_t>(end - line.data()));
    if (!line.empty()) line.remove_prefix(1);
    return true;
}

}  // namespace

std::optional<std::string> FrameRequest(std::string_view request) {
    if (request.find('\0') != std::string_view::npos) return std::nullopt;
    std::string framed(request);
    framed.push_back('\0');
    return framed;
}

std::string FrameAnswer(const ServedAnswer& answer) {
    std::string framed = std::to_string(answer.code) + ' ' + std::to_string(answer.reason.size()) +
                         ' ' + std::to_string(answer.text.size()) + '\n';
    framed.reserve(framed.size() + answer.reason.size() + answer.text.size());
    return framed.append(answer.reason).append(answer.text);
}

std::optional<std::string> RequestReader::Next() {
    const std::size_t end = pending_.find('\0', used_);
    if (end == std::string::npos) {
        pending_.erase(0, used_);
        used_ = 0;
        return std::nullopt;
    }
    std::string request = pending_.substr(used_, end - used_);
    used_ = end + 1;
    return request;
}

AnswerReader::State AnswerReader::ReadHeader() {
    std::string_view line(header_);
    line.remove_suffix(1);  // the line feed
    if (!ParseField(line, answer_.code) || !ParseField(line, reasonBytes_) ||
        !ParseField(line, textBytes_) || !line.empty() || reasonBytes_ > kReasonCap)
        return State::Malformed;
    if (textBytes_ > textCap_) return State::TooLong;
    headerRead_ = true;
    answer_.reason.reserve(reasonBytes_);
    answer_.text.reserve(textBytes_);
    return State::Partial;
}

AnswerReader::State AnswerReader::Feed(std::string_view bytes) {
    while (state_ == State::Partial && !headerRead_ && !bytes.empty()) {
        header_.push_back(bytes.front());
        bytes.remove_prefix(1);
        if (header_.back() == '\n')
            state_ = ReadHeader();
        else if (header_.size() > kHeaderCap)
            state_ = State::Malformed;
    }
    if (state_ != State::Partial || !headerRead_) return state_;
    const std::size_t toReason = std::min(bytes.size(), reasonBytes_ - answer_.reason.size());
    answer_.reason.append(bytes.substr(0, toReason));
    bytes.remove_prefix(toReason);
    const std::size_t toText = std::min(bytes.size(), textBytes_ - answer_.text.size());
    answer_.text.append(bytes.substr(0, toText));
    bytes.remove_prefix(toText);
    // Bytes past the answer: the worker said more than it was asked.
    if (!bytes.empty()) return state_ = State::Malformed;
    if (answer_.reason.size() == reasonBytes_ && answer_.text.size() == textBytes_)
        state_ = State::Complete;
    return state_;
}

}  // namespace kantoria

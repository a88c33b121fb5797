// The framing between a program and a worker that serves it requests one at a time over a
// stream: a request is its bytes and a NUL (a path never holds one); an answer is a header
// line "CODE REASON-BYTES TEXT-BYTES\n" and then the reason and the text. Lengths come first,
// so that the reader can refuse an answer past its cap before reading it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kantoria {

struct ServedAnswer {
    int code = 0;
    std::string reason;
    std::string text;
};

// The request as it travels; nothing when it holds a NUL.
std::optional<std::string> FrameRequest(std::string_view request);
std::string FrameAnswer(const ServedAnswer& answer);

// Splits the bytes read from a stream into requests.
class RequestReader {
  public:
    void Feed(std::string_view bytes) { pending_.append(bytes); }
    // The next whole request, if one has arrived.
    std::optional<std::string> Next();

  private:
    std::string pending_;
    std::size_t used_ = 0;
};

// Gathers one answer from the bytes read from a stream.
class AnswerReader {
  public:
    enum class State { Partial, Complete, Malformed, TooLong };

    explicit AnswerReader(std::size_t textCap) : textCap_(textCap) {}
    State Feed(std::string_view bytes);
    State state() const { return state_; }
    // The answer, once Complete.
    ServedAnswer& answer() { return answer_; }

  private:
    State ReadHeader();

    std::size_t textCap_;
    std::string header_;
    std::size_t reasonBytes_ = 0;
    std::size_t textBytes_ = 0;
    bool headerRead_ = false;
    ServedAnswer answer_;
    State state_ = State::Partial;
};

}  // namespace kantoria

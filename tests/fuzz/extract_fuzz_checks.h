// What every extraction fuzzer holds its text to: valid UTF-8, never past the cap, no NUL.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "core/text/text_codec.h"
#include "extract/text_sink.h"

namespace kantoria::fuzz {

// Small enough that the fuzzer reaches the cap often.
inline constexpr size_t kFuzzTextCap = 4096;

[[noreturn]] inline void Broken(const char* promise) {
    std::fprintf(stderr, "broken: %s\n", promise);
    std::abort();
}

inline void CheckText(const std::string& text, size_t cap) {
    if (text.size() > cap) Broken("the text stays within its cap");
    if (!IsValidUtf8(text)) Broken("the text is valid UTF-8");
}

inline void CheckSink(const TextSink& sink) {
    CheckText(sink.Text(), kFuzzTextCap);
    if (sink.Text().find('\0') != std::string::npos) Broken("the text holds no NUL");
}

}  // namespace kantoria::fuzz

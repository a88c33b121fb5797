#include "core/dialogs/comment_text.h"

namespace kantoria {

std::string CommentForField(const std::string& comment) {
    std::string out;
    out.reserve(comment.size());
    for (size_t i = 0; i < comment.size(); ++i) {
        if (comment[i] == '\r') {
            if (i + 1 < comment.size() && comment[i + 1] == '\n') ++i;
            out += '\n';
        } else {
            out += comment[i];
        }
    }
    return out;
}

std::string CommentFromField(const std::string& fieldText) {
    std::string out;
    out.reserve(fieldText.size() + fieldText.size() / 16);
    for (char c : fieldText) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

}  // namespace kantoria

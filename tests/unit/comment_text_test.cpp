#include "core/dialogs/comment_text.h"

#include <gtest/gtest.h>

namespace kantoria {
namespace {

TEST(CommentText, FieldSpeaksLfTheCatalogueCrLf) {
    struct Case {
        std::string stored, shown;
    };
    for (const Case& c : {Case{"a\r\nb", "a\nb"}, Case{"a\nb", "a\nb"}, Case{"a\rb", "a\nb"},
                          Case{"\r\n\r\n", "\n\n"}, Case{"a\r", "a\n"}, Case{"", ""}})
        EXPECT_EQ(CommentForField(c.stored), c.shown) << c.stored;
    EXPECT_EQ(CommentFromField("a\nb\n"), "a\r\nb\r\n");
    EXPECT_EQ(CommentFromField(CommentForField("x\r\ny")), "x\r\ny");
}

}  // namespace
}  // namespace kantoria

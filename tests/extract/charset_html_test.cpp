// Text files in the encodings a Japanese office keeps, and HTML pages as they come.
#include <gtest/gtest.h>

#include <string>

#include "extract/charset.h"
#include "extract/html_text.h"

namespace kantoria {
namespace {

TEST(Charset, EachEncodingDecodesToItsText) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string charset;  // as detected, for files without a byte-order mark
        std::string text;
    } cases[] = {
        {"UTF-8", "日本語 text", "UTF-8", "日本語 text"},
        {"UTF-8 with BOM", "\xEF\xBB\xBF日本", "", "日本"},
        {"UTF-16LE with BOM", std::string("\xFF\xFE\xE5\x65\x2C\x67", 6), "", "日本"},
        {"UTF-16BE with BOM", std::string("\xFE\xFF\x65\xE5\x67\x2C", 6), "", "日本"},
        {"short code page 932", "\x93\xFA\x96\x7B", "CP932", "日本"},
        {"code page 932 half-width kana", "\xB6\xC0\xB6\xC5", "CP932", "ｶﾀｶﾅ"},
        {"code page 932 NEC row 13", "\x87\x40\x87\x41", "CP932", "①②"},
        {"EUC-JP", "\xC6\xFC\xCB\xDC\xB8\xEC\xA4\xCE\xCA\xB8\xBE\xCF\xA4\xC7\xA4\xB9\xA1\xA3",
         "EUC-JP", "日本語の文章です。"},
        {"ISO-2022-JP", "\x1B$BF|K\\8l\x1B(B abc", "ISO-2022-JP", "日本語 abc"},
        {"plain ASCII", "abc", "UTF-8", "abc"},
        {"Windows-1252 that no Japanese code reads", "caf\xE9 au lait, na\xEFve \xE0 la carte", "",
         "café au lait, naïve à la carte"},
        {"undecodable bytes become U+FFFD", "\x81\x20\x81", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.charset.empty()) {
            EXPECT_EQ(DetectCharset(c.bytes), c.charset);
        }
        const std::string text = DecodeText(c.bytes);
        if (!c.text.empty()) {
            EXPECT_EQ(text, c.text);
        }
        EXPECT_EQ(text.find('\0'), std::string::npos);
    }
    EXPECT_NE(DecodeText("\x81\x20\x81").find("\xEF\xBF\xBD"), std::string::npos);
}

TEST(HtmlText, MarkupGoesAndTextStays) {
    struct Case {
        const char* what;
        std::string page;
        std::string text;
    } cases[] = {
        {"blocks end lines, inline tags do not",
         "<html><title>題</title><body><p>一<b>二</b>三</p><div>四</div>五<br>六</body>",
         "題\n一二三\n四\n五\n六\n"},
        {"script, style and comments dropped",
         "<p>a<script>if (a<b) x='</p>';</script>b<style>p{}</style><!-- c <p> -->d</p>", "abd\n"},
        {"entities", "<p>&lt;&amp;&gt; &quot;&#26085;&#x672C;&nbsp;&yen;&unknown; &amp</p>",
         "<&> \"日本 ¥&unknown; &amp\n"},
        {"white space collapses", "<p>  a \n\t b  </p>\n\n<p>c</p>", "a b\nc\n"},
        {"cells apart", "<table><tr><td>a</td><td>b</td></tr></table>", "a b\n"},
        {"attributes with quotes holding >", "<a title=\"x>y\" href='>'>link</a>", "link\n"},
        {"stray < and an unterminated quote", "a < b <3 <p class=\"open>c", "a < b <3\nc\n"},
        {"an unterminated script drops the rest", "a<script>b", "a\n"},
        {"out-of-range character references", "&#0;&#xD800;&#x110000;", "\uFFFD\uFFFD\uFFFD\n"},
    };
    for (const Case& c : cases) {
        TextSink sink(1 << 20);
        HtmlText(c.page, sink);
        EXPECT_EQ(sink.Text(), c.text) << c.what;
    }
}

TEST(HtmlText, CharsetFromBomThenMetaThenBytes) {
    struct Case {
        const char* what;
        std::string page;
        std::string text;
    } cases[] = {
        {"meta charset", "<meta charset=\"Shift_JIS\"><p>\x93\xFA\x96\x7B</p>", "日本"},
        {"http-equiv",
         "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=euc-jp\">"
         "<p>\xC6\xFC\xCB\xDC</p>",
         "日本"},
        {"BOM over meta", "\xEF\xBB\xBF<meta charset=\"shift_jis\"><p>日本</p>", "日本"},
        {"meta claiming UTF-8 over code page 932", "<meta charset=utf-8><p>\x93\xFA\x96\x7B</p>",
         "日本"},
        {"no charset at all", "<p>\x93\xFA\x96\x7B\x8C\xEA</p>", "日本語"},
    };
    for (const Case& c : cases) {
        TextSink sink(1 << 20);
        HtmlText(DecodeHtml(c.page), sink);
        EXPECT_NE(sink.Text().find(c.text), std::string::npos) << c.what << ": " << sink.Text();
    }
}

}  // namespace
}  // namespace kantoria

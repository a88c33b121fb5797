// Documents of every format the extraction reads, made from a list of paragraphs: for the
// extraction tests, the content benchmark and sample corpora. Each paragraph lands where a
// reader of that format expects running text (a Word paragraph, a spreadsheet cell, a slide,
// a PDF line...), in the order given.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kantoria::test {

enum class DocFormat {
    Docx,
    Xlsx,
    Pptx,
    Odt,
    Ods,
    Odp,
    Html,
    TextUtf8,
    TextUtf8Bom,
    TextUtf16Le,
    TextUtf16Be,
    TextCp932,
    TextEucJp,
    TextIso2022Jp,
    Pdf,
};

// The name make_document takes ("docx", "cp932"...), and the extension a file of it gets.
std::string_view DocFormatName(DocFormat format);
std::string_view DocFormatExtension(DocFormat format);
std::optional<DocFormat> DocFormatNamed(std::string_view name);
std::vector<DocFormat> AllDocFormats();

// The bytes of a document holding the paragraphs (UTF-8 text); empty when the text cannot be
// written in that format's encoding.
std::string DocumentBytes(DocFormat format, const std::vector<std::string>& paragraphs);

// Writes DocumentBytes to path; false when it could not.
bool MakeDocument(const std::string& path, DocFormat format,
                  const std::vector<std::string>& paragraphs);

// A ZIP archive of (name, content) members, deflated unless stored; empty on failure.
std::string ZipBytes(const std::vector<std::pair<std::string, std::string>>& members,
                     bool stored = false);

// Writes bytes to path; false when it could not.
bool WriteBytes(const std::string& path, std::string_view bytes);

}  // namespace kantoria::test

// What the documents' own text adds to a find: for each of its words, the documents that hold
// it. The list's find takes an entry when every word stands somewhere in it — its title,
// comment, path or document — so a word of the title and a word of the text find it together.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/catalogue/entry.h"
#include "core/text/text_codec.h"

namespace kantoria {

// A document (as the file system names it) and a snippet of its text around the word.
using DocumentHits = std::unordered_map<std::string, std::string>;

struct DocumentWords {
    std::string findText;               // the find it answers, as typed
    std::vector<DocumentHits> perWord;  // one for each word of FindWords(findText)
};

// The rows of a find that only their documents' text let in, with the snippet to show.
using FoundInText = std::unordered_map<EntryRef, std::string>;

// An entry's document as the file system names it: the key of the content index.
inline std::string DocumentPath(std::string_view entryPath, Encoding enc) {
    return ToSystemName(FileSystemText(entryPath, enc));
}

}  // namespace kantoria

// The entry dialog as the document's operations see it: a plain editor of an entry's title and
// comment beside its path. Whether a typed title is acceptable is the caller's decision.
#pragma once

#include <string>
#include <string_view>

#include "core/text/text_codec.h"

namespace kantoria {

struct EntryFields {
    std::string file;  // shown read-only
    std::string title;
    std::string comment;                  // line breaks as CR LF
    Encoding encoding = Encoding::Cp932;  // the catalogue's, which decides how text shows
};

class EntryEditor {
  public:
    virtual ~EntryEditor() = default;
    // Shows fields and lets the user type. True on OK, with the typed title and comment in
    // fields; false on Cancel, fields unchanged.
    virtual bool Edit(EntryFields& fields) = 0;
    // Tells the user why the typed title cannot be kept (the dialog then comes back), or why the
    // file cannot be registered at all.
    virtual void Refuse(std::string_view reason) = 0;
};

}  // namespace kantoria

// What the content index keeps per document, shared by its opening, updating and finding.
#pragma once

#include <xapian.h>

#include <memory>
#include <optional>
#include <string>

#include "core/content/content_index.h"
#include "core/content/extraction.h"
#include "core/os/file_lock.h"

namespace kantoria {

// Each document: its path as the unique term, the path, its stamp and its state as values,
// and the extracted text (unfolded, for snippets) as its data.
enum IndexSlot : Xapian::valueno { kPathSlot = 0, kStampSlot = 1, kStateSlot = 2, kReasonSlot = 3 };

// A state value: text read, a kind not read, or failed.
inline constexpr const char* kStateText = "t";
inline constexpr const char* kStateUnsupported = "u";
inline constexpr const char* kStateFailed = "f";

// The term that names a document: its path, or a hash of a path too long for a term.
std::string IdTerm(const std::string& path);

// The document for a path and what its extraction gave.
Xapian::Document MakeDocument(const std::string& path, const std::string& stampKey,
                              const ExtractionResult& result, Xapian::TermGenerator& terms);

struct ContentIndex::Impl {
    IndexOptions options;
    std::unique_ptr<FileLock> lock;
    std::optional<Xapian::WritableDatabase> writable;
    std::optional<Xapian::Database> readable;

    Xapian::Database& Reader() {
        return writable ? static_cast<Xapian::Database&>(*writable) : *readable;
    }
};

// The words of Xapian's failure for the user, with the system's reason where it gave one.
Status XapianStatus(const Xapian::Error& error);

}  // namespace kantoria

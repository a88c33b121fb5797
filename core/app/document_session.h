// The catalogue document as the program's one open document: the records (CMORKA2Doc), the
// path of its file, and what happens when a file is opened into it, when it is saved and when
// it ends.
#pragma once

#include <functional>
#include <string>

#include "core/catalogue/morka2_doc.h"
#include "core/icons/rebuild_icons.h"
#include "core/ports/settings_store.h"

namespace kantoria {

enum class OpenOutcome {
    Opened,        // a catalogue file was read; the path becomes the document's
    NotCatalogue,  // another kind of file: handed to the entry registration, path unchanged
    Failed,        // the file cannot be read; nothing changed
};

class DocumentSession {
  public:
    // addFile registers a file that is not a catalogue as an entry (or edits its entry).
    DocumentSession(SettingsStore& settings, IconServices icons,
                    std::function<void(const std::string&)> addFile);
    DocumentSession(const DocumentSession&) = delete;
    DocumentSession& operator=(const DocumentSession&) = delete;
    // Remembers the path for the next start and writes a catalogue that holds entries.
    ~DocumentSession();

    CMORKA2Doc& Doc() { return doc_; }
    const std::string& PathName() const { return path_; }
    void SetPathName(std::string path) { path_ = std::move(path); }

    // Reads the file at path into the document. reason receives why a failed open failed.
    OpenOutcome OnOpenDocument(const std::string& path, std::string& reason);
    // Writes the catalogue to path. The document's path is left to the caller.
    bool OnSaveDocument(const std::string& path, std::string& reason);
    // Writes a titled catalogue that holds entries before the program ends, so that a failure
    // can still be reported; the end then writes it no more.
    bool SaveAtEnd(std::string& reason);
    // Writes the document's path to "SETTINGS"/"ZNLPATH".
    void StoreCataloguePath();

    void RebuildHoldersAndIcons();

  private:
    // Writes the catalogue to target before another file is read into it; reason says why not.
    bool WriteBeforeLoading(const std::string& target, std::string& reason);

    SettingsStore& settings_;
    IconServices icons_;
    std::function<void(const std::string&)> addFile_;
    CMORKA2Doc doc_;
    std::string path_;
    bool savedAtEnd_ = false;
};

// True when path names a catalogue file: its extension is that of the default catalogue
// name, ".ZNL", compared without regard to case.
bool IsCatalogueFile(const std::string& path);

// Why the file at path cannot be read, in the user's words; empty when it can.
std::string ReadProblem(const std::string& path);

}  // namespace kantoria

// The catalogue document as the program's one open document: the records (CMORKA2Doc), the
// path of its file, and the steps of opening, saving and ending it. Each step that touches a
// file answers how it went; the caller puts the failure into words for the user.
#pragma once

#include <string>

#include "core/base/status.h"
#include "core/catalogue/morka2_doc.h"
#include "core/icons/rebuild_icons.h"
#include "core/os/file_read.h"
#include "core/ports/settings_store.h"

namespace kantoria {

class DocumentSession {
  public:
    DocumentSession(SettingsStore& settings, IconServices icons);
    DocumentSession(const DocumentSession&) = delete;
    DocumentSession& operator=(const DocumentSession&) = delete;

    CMORKA2Doc& Doc() { return doc_; }
    const std::string& PathName() const { return path_; }
    void SetPathName(std::string path) { path_ = std::move(path); }

    // Before another catalogue is read in: the entries held since the last write belong to the
    // catalogue being left, so a titled catalogue that holds entries is written to its own file.
    Status WriteBeforeLeaving();
    // An empty catalogue file takes over the entries held: they are written there before it is
    // read, so that reading the empty file cannot lose them.
    Status CarryOverInto(const std::string& path);
    // Reads the catalogue file at path into the document and derives holders and icons.
    Status Load(const std::string& path);
    // Writes the catalogue to path. The document's path is left to the caller.
    Status OnSaveDocument(const std::string& path);
    // Writes a titled catalogue that holds entries before the program ends, so that a failure
    // can still be reported while the window is there; End then writes it no more.
    Status SaveAtEnd();
    // The document's end: remembers its path for the next start and writes a titled catalogue
    // that holds entries, unless SaveAtEnd already did.
    Status End();
    // Writes the document's path to "SETTINGS"/"ZNLPATH".
    void StoreCataloguePath();

    void RebuildHoldersAndIcons();

  private:
    bool HoldsTitledEntries() const { return !doc_.m_EntryList.empty() && !path_.empty(); }

    SettingsStore& settings_;
    IconServices icons_;
    CMORKA2Doc doc_;
    std::string path_;
    bool savedAtEnd_ = false;
};

// True when path names a catalogue file: its extension is that of the default catalogue
// name, ".ZNL", compared without regard to case.
bool IsCatalogueFile(const std::string& path);

// Why a file named by the user cannot be opened, in the user's words: a missing file, a refused
// one and a folder are named plainly, anything else as the system words it.
std::string UserReason(const Status& status);
// A failure as the system words it, within the program's sentence.
std::string SystemReason(const Status& status);
// "<file> に保存できません。" with the system's reason.
std::string SaveFailedText(const std::string& file, const Status& status);

}  // namespace kantoria

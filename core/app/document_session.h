// The catalogue document as the program's one open document: the records (Catalogue), the
// path of its file, and the steps of opening, saving and ending it. Each step that touches a
// file answers how it went; the caller puts the failure into words for the user.
#pragma once

#include <string>

#include "core/base/status.h"
#include "core/catalogue/catalogue.h"
#include "core/icons/rebuild_icons.h"
#include "core/os/file_read.h"
#include "core/ports/settings_store.h"

namespace kantoria {

// What a write does when another program changed the file since this program read it: keep
// that program's work (the write fails with ChangedOnDisk) or replace it.
enum class ChangedFile { Keep, Overwrite };

class DocumentSession {
  public:
    DocumentSession(SettingsStore& settings, IconServices icons);
    DocumentSession(const DocumentSession&) = delete;
    DocumentSession& operator=(const DocumentSession&) = delete;

    Catalogue& Doc() { return doc_; }
    const std::string& PathName() const { return path_; }
    void SetPathName(std::string path) { path_ = std::move(path); }

    // Whether the file is behind memory: the entries or the view state changed since the
    // catalogue was last read or written. A catalogue nobody touched is never rewritten.
    bool NeedsWrite() const { return doc_.IsModified() || doc_.ViewStateChanged(); }
    // Writes a titled catalogue whose file is behind memory.
    Status WriteIfChanged(ChangedFile changed = ChangedFile::Keep);
    // Before another catalogue is read in, a new one is begun or the program ends: as
    // WriteIfChanged, except that a catalogue without entries leaves its file as it is.
    Status WriteBeforeLeaving(ChangedFile changed = ChangedFile::Keep);
    // Whether opening path moves the entries held into it: it is an empty file.
    bool WillCarryOverInto(const std::string& path) const;
    // An empty catalogue file takes over the entries held: they are written there before it is
    // read, so that reading the empty file cannot lose them. file, opened at path, is opened
    // again on the file written.
    Status CarryOverInto(const std::string& path, ReadableFile& file);
    // Reads the catalogue file at path into the document and derives holders and icons.
    Status Load(const std::string& path);
    // The same for a file already opened at path.
    Status Load(const ReadableFile& file, const std::string& path);
    // Writes the catalogue to path. The document's path is left to the caller.
    Status OnSaveDocument(const std::string& path, ChangedFile changed = ChangedFile::Keep);
    // The document's end: remembers its path for the next start and writes what is still
    // unwritten, as when leaving for another catalogue.
    Status End();
    // Writes the document's path to "SETTINGS"/"ZNLPATH".
    void StoreCataloguePath();

    void RebuildHoldersAndIcons();

  private:
    // Every write goes through here: under the file's lock, so that no other program of ours
    // writes between the check and the write.
    Status Write(const std::string& path, ChangedFile changed);

    SettingsStore& settings_;
    IconServices icons_;
    Catalogue doc_;
    std::string path_;
};

// True when path names a catalogue file: its extension is that of the default catalogue
// name, ".ZNL", compared without regard to case.
bool IsCatalogueFile(const std::string& path);

// Why a file named by the user cannot be opened, in the user's words: a missing file, a refused
// one and a folder are named plainly, anything else as the system words it.
std::string UserReason(const Status& status);
// A failure in the user's words, each kind its own; the system's words only for the rest.
std::string SystemReason(const Status& status);
// "<file> に保存できません。" with the system's reason.
std::string SaveFailedText(const std::string& file, const Status& status);

}  // namespace kantoria

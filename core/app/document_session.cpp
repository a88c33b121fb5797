#include "core/app/document_session.h"

#include <chrono>
#include <filesystem>
#include <memory>

#include "core/os/file_lock.h"
#include "core/os/save_names.h"
#include "core/os/system_path.h"
#include "core/resources/string_table.h"
#include "core/text/path_split.h"
#include "core/text/text_codec.h"
#include "core/text/text_fold.h"

namespace kantoria {
namespace {

constexpr std::chrono::milliseconds kLockPatience{2000};

bool IsEmptyFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::file_size(SystemPath(path), error) == 0 && !error;
}

}  // namespace

bool IsCatalogueFile(const std::string& path) {
    const std::string_view wanted = SplitPath(LoadString(IDS_DEFAULT_CATALOGUE)).extension;
    return EqualsNoCase(SplitPath(path).extension, wanted);
}

std::string UserReason(const Status& status) {
    switch (status.code()) {
        case StatusCode::NotFound:
            return std::string(LoadString(IDS_REASON_NOT_FOUND));
        case StatusCode::PermissionDenied:
            return std::string(LoadString(IDS_REASON_ACCESS_DENIED));
        case StatusCode::NotRegularFile:
            return std::string(LoadString(IDS_REASON_IS_FOLDER));
        case StatusCode::SpecialFile:
            return std::string(LoadString(IDS_REASON_NOT_A_FILE));
        default:
            return SystemReason(status);
    }
}

namespace {

// The text for each kind of failure; 0 for a failure the program has no name for.
int ReasonTextId(StatusCode code) {
    switch (code) {
        case StatusCode::NotFound:
            return IDS_REASON_NO_SUCH_PATH;
        case StatusCode::NotRegularFile:
            return IDS_REASON_FOLDER;
        case StatusCode::SpecialFile:
            return IDS_REASON_SPECIAL_FILE;
        case StatusCode::PermissionDenied:
            return IDS_REASON_ACCESS_DENIED;
        case StatusCode::ReadOnly:
            return IDS_REASON_READ_ONLY;
        case StatusCode::DiskFull:
            return IDS_REASON_DISK_FULL;
        case StatusCode::TooLarge:
            return IDS_REASON_TOO_LARGE;
        case StatusCode::ChangedOnDisk:
            return IDS_REASON_CHANGED_ON_DISK;
        case StatusCode::Busy:
            return IDS_REASON_BUSY;
        case StatusCode::NotEncodable:
            return IDS_REASON_NOT_ENCODABLE;
        case StatusCode::NoProgram:
            return IDS_REASON_NO_PROGRAM;
        case StatusCode::Ok:
        case StatusCode::Other:
            break;
    }
    return 0;
}

}  // namespace

std::string SystemReason(const Status& status) {
    // The system's own words (English on most systems) would stand alone in a Japanese
    // sentence: they are quoted only for a failure the program has no words for.
    if (const int id = ReasonTextId(status.code()); id != 0) return std::string(LoadString(id));
    return FormatString(IDS_REASON_OTHER, {status.reason()});
}

std::string SaveFailedText(const std::string& file, const Status& status) {
    // "A folder, not a file" about a catalogue that is a file would puzzle: such a failure
    // names the lock file it is about.
    if (IsLockFileFailure(status)) {
        const PathParts parts = SplitPath(file);
        const std::string lockName =
            "." + std::string(parts.name) + std::string(parts.extension) + std::string(kLockSuffix);
        const std::string why =
            FormatString(IDS_LOCK_FILE_UNUSABLE, {lockName, SystemReason(status)});
        return FormatString(IDS_SAVE_FAILED, {file, why});
    }
    return FormatString(IDS_SAVE_FAILED, {file, SystemReason(status)});
}

DocumentSession::DocumentSession(SettingsStore& settings, IconServices icons)
    : settings_(settings), icons_(icons) {}

Status DocumentSession::Write(const std::string& path, ChangedFile changed) {
    // Another program's search holds the lock from its read to its write; the window waits
    // for it only briefly, and says the file is busy rather than freeze. Without the lock
    // nothing is written: another writer could not tell that this one is writing.
    Status locking = Status::Ok();
    const std::unique_ptr<FileLock> lock =
        FileLock::Acquire(ToSystemName(path), locking, kLockPatience);
    if (!lock) return locking;
    if (changed == ChangedFile::Keep) {
        if (Status unchanged = doc_.CheckUnchangedOnDisk(path); !unchanged) return unchanged;
    }
    Status status = doc_.SaveCatalogue(path);
    if (status) doc_.MarkUnchanged();
    return status;
}

Status DocumentSession::WriteIfChanged(ChangedFile changed) {
    if (path_.empty() || !NeedsWrite()) return Status::Ok();
    return Write(path_, changed);
}

Status DocumentSession::WriteBeforeLeaving(ChangedFile changed) {
    if (doc_.Entries().empty()) return Status::Ok();
    return WriteIfChanged(changed);
}

bool DocumentSession::WillCarryOverInto(const std::string& path) const {
    return !doc_.Entries().empty() && IsEmptyFile(path);
}

Status DocumentSession::CarryOverInto(const std::string& path, ReadableFile& file) {
    if (!WillCarryOverInto(path)) return Status::Ok();
    if (Status saved = Write(path, ChangedFile::Overwrite); !saved) return saved;
    // The save replaced the empty file that file still holds.
    return file.Open(path);
}

Status DocumentSession::Load(const std::string& path) {
    Status status = doc_.LoadCatalogue(path);
    RebuildHoldersAndIcons();
    doc_.MarkUnchanged();
    return status;
}

Status DocumentSession::Load(const ReadableFile& file, const std::string& path) {
    Status status = doc_.LoadCatalogue(file, path);
    RebuildHoldersAndIcons();
    doc_.MarkUnchanged();
    return status;
}

Status DocumentSession::OnSaveDocument(const std::string& path, ChangedFile changed) {
    StoreCataloguePath();
    return Write(path, changed);
}

Status DocumentSession::End() {
    StoreCataloguePath();
    return WriteBeforeLeaving();
}

void DocumentSession::StoreCataloguePath() {
    settings_.WriteProfileString(LoadString(IDS_SECTION_SETTINGS), LoadString(IDS_VALUE_ZNLPATH),
                                 path_);
}

void DocumentSession::RebuildHoldersAndIcons() {
    doc_.RebuildHolders();
    RebuildIcons(doc_, icons_);
}

}  // namespace kantoria

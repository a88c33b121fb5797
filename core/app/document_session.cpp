#include "core/app/document_session.h"

#include <chrono>
#include <filesystem>
#include <memory>

#include "core/os/file_lock.h"
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

std::string SystemReason(const Status& status) {
    // Failures of the program's own making are said in its own words.
    switch (status.code()) {
        case StatusCode::ChangedOnDisk:
            return std::string(LoadString(IDS_REASON_CHANGED_ON_DISK));
        case StatusCode::Busy:
            return std::string(LoadString(IDS_REASON_BUSY));
        default:
            return FormatString(IDS_REASON_OTHER, {status.reason()});
    }
}

std::string SaveFailedText(const std::string& file, const Status& status) {
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
    if (doc_.m_EntryList.empty()) return Status::Ok();
    return WriteIfChanged(changed);
}

bool DocumentSession::WillCarryOverInto(const std::string& path) const {
    return !doc_.m_EntryList.empty() && IsEmptyFile(path);
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

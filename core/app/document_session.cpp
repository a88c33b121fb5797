#include "core/app/document_session.h"

#include <filesystem>

#include "core/resources/string_table.h"
#include "core/text/path_split.h"
#include "core/text/text_fold.h"

namespace kantoria {
namespace {

bool IsEmptyFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::file_size(path, error) == 0 && !error;
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
    return FormatString(IDS_REASON_OTHER, {status.reason()});
}

std::string SaveFailedText(const std::string& file, const Status& status) {
    return FormatString(IDS_SAVE_FAILED, {file, SystemReason(status)});
}

DocumentSession::DocumentSession(SettingsStore& settings, IconServices icons)
    : settings_(settings), icons_(icons) {}

Status DocumentSession::WriteIfChanged() {
    if (path_.empty() || !NeedsWrite()) return Status::Ok();
    Status status = doc_.SaveCatalogue(path_);
    if (status) doc_.MarkUnchanged();
    return status;
}

Status DocumentSession::WriteBeforeLeaving() {
    if (doc_.m_EntryList.empty()) return Status::Ok();
    return WriteIfChanged();
}

bool DocumentSession::WillCarryOverInto(const std::string& path) const {
    return !doc_.m_EntryList.empty() && IsEmptyFile(path);
}

Status DocumentSession::CarryOverInto(const std::string& path, ReadableFile& file) {
    if (!WillCarryOverInto(path)) return Status::Ok();
    if (Status saved = doc_.SaveCatalogue(path); !saved) return saved;
    // The save replaced the empty file that file still holds.
    return file.Open(path);
}

Status DocumentSession::Load(const std::string& path) {
    Status status = doc_.LoadCatalogue(path);
    RebuildHoldersAndIcons();
    doc_.MarkUnchanged();
    return status;
}

Status DocumentSession::Load(const ReadableFile& file) {
    Status status = doc_.LoadCatalogue(file);
    RebuildHoldersAndIcons();
    doc_.MarkUnchanged();
    return status;
}

Status DocumentSession::OnSaveDocument(const std::string& path) {
    StoreCataloguePath();
    Status status = doc_.SaveCatalogue(path);
    if (status) doc_.MarkUnchanged();
    return status;
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

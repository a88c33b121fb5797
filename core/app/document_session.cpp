#include "core/app/document_session.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>

#include "core/resources/string_table.h"
#include "core/text/path_split.h"
#include "core/text/text_fold.h"

namespace kantoria {
namespace {

std::string ReasonForErrno(int error) {
    switch (error) {
        case ENOENT:
        case ENOTDIR:
            return std::string(LoadString(IDS_REASON_NOT_FOUND));
        case EACCES:
        case EPERM:
            return std::string(LoadString(IDS_REASON_ACCESS_DENIED));
        case EISDIR:
            return std::string(LoadString(IDS_REASON_IS_FOLDER));
        default:
            return FormatString(IDS_REASON_OTHER, {std::strerror(error)});
    }
}

bool IsEmptyFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::file_size(path, error) == 0 && !error;
}

}  // namespace

bool IsCatalogueFile(const std::string& path) {
    const std::string_view wanted = SplitPath(LoadString(IDS_DEFAULT_CATALOGUE)).extension;
    return EqualsNoCase(SplitPath(path).extension, wanted);
}

std::string ReadProblem(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error)) return ReasonForErrno(EISDIR);
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) return ReasonForErrno(errno != 0 ? errno : ENOENT);
    return {};
}

DocumentSession::DocumentSession(SettingsStore& settings, IconServices icons,
                                 std::function<void(const std::string&)> addFile)
    : settings_(settings), icons_(icons), addFile_(std::move(addFile)) {}

DocumentSession::~DocumentSession() {
    StoreCataloguePath();
    if (!savedAtEnd_ && !doc_.m_EntryList.empty() && !path_.empty()) doc_.SaveCatalogue(path_);
}

bool DocumentSession::SaveAtEnd(std::string& reason) {
    if (doc_.m_EntryList.empty() || path_.empty()) return true;
    const IoStatus status = doc_.SaveCatalogue(path_);
    if (!status) reason = FormatString(IDS_REASON_OTHER, {status.reason()});
    savedAtEnd_ = status.ok();
    return savedAtEnd_;
}

OpenOutcome DocumentSession::OnOpenDocument(const std::string& path, std::string& reason) {
    reason = ReadProblem(path);
    if (!reason.empty()) return OpenOutcome::Failed;
    if (!IsCatalogueFile(path)) {
        if (addFile_) addFile_(path);
        return OpenOutcome::NotCatalogue;
    }
    // Changes since the last write belong to the catalogue being left: write them to its own
    // file first, as the end of the program would. When that fails nothing is opened, so the
    // entries stay on screen for another try.
    if (!doc_.m_EntryList.empty() && !path_.empty() && !WriteBeforeLoading(path_, reason))
        return OpenOutcome::Failed;
    // An empty catalogue file takes over the catalogue being edited; a failed write must not
    // be followed by reading the empty file over the entries.
    if (IsEmptyFile(path) && !doc_.m_EntryList.empty() && !WriteBeforeLoading(path, reason))
        return OpenOutcome::Failed;
    const IoStatus status = doc_.LoadCatalogue(path);
    RebuildHoldersAndIcons();
    if (!status) {
        reason = FormatString(IDS_REASON_OTHER, {status.reason()});
        return OpenOutcome::Failed;
    }
    return OpenOutcome::Opened;
}

bool DocumentSession::WriteBeforeLoading(const std::string& target, std::string& reason) {
    const IoStatus status = doc_.SaveCatalogue(target);
    if (status) return true;
    reason =
        FormatString(IDS_SAVE_FAILED, {target, FormatString(IDS_REASON_OTHER, {status.reason()})});
    return false;
}

bool DocumentSession::OnSaveDocument(const std::string& path, std::string& reason) {
    StoreCataloguePath();
    const IoStatus status = doc_.SaveCatalogue(path);
    if (!status) reason = FormatString(IDS_REASON_OTHER, {status.reason()});
    return status.ok();
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

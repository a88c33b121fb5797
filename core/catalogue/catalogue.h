// The document: the whole catalogue in memory, its header values, the program's clipboard and
// the image lists the views draw with. It owns every record.
#pragma once

#include <functional>
#include <list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/base/status.h"
#include "core/catalogue/entry.h"
#include "core/catalogue/entry_list.h"
#include "core/os/file_stamp.h"
#include "core/ports/icon_factory.h"
#include "core/text/path_identity.h"
#include "core/text/text_codec.h"

namespace kantoria {

class ReadableFile;

// A view of the document: told to refresh itself after every change.
class CatalogueObserver {
  public:
    virtual ~CatalogueObserver() = default;
    virtual void OnUpdate(CatalogueObserver* sender) = 0;
};

// What makes a save leave code page 932 for UTF-8 with a byte-order mark: the first entry whose
// text code page 932 cannot hold, its path itself when any path is such (paths are never
// respelled), else its title or comment; and how many entries hold bytes that no character
// stands for, which UTF-8 can only hold as U+FFFD.
struct EncodingSwitch {
    std::string path;
    bool byPath = true;
    std::string text;  // the text that needs UTF-8, as stored
    std::size_t undecodable = 0;
};

inline constexpr int kDefaultTitleWidth = 200;
inline constexpr int kDefaultCommentWidth = 400;
inline constexpr int kDefaultPathWidth = 250;

class Catalogue {
  public:
    Catalogue() = default;
    Catalogue(const Catalogue&) = delete;
    Catalogue& operator=(const Catalogue&) = delete;

    // The entries in catalogue order; every change of an entry goes through the list.
    EntryList& Entries() { return entries_; }
    const EntryList& Entries() const { return entries_; }
    // Derived from the entries by RebuildHolders.
    const std::list<Holder>& Holders() const { return holders_; }

    // Title of the entry selected in the list, as the file stores it.
    const std::string& SelectedTitle() const { return selectedTitle_; }
    void SetSelectedTitle(std::string_view title) { selectedTitle_ = title; }
    // Tree path of the holder clicked last, as the file stores it.
    const std::string& LastHolder() const { return lastHolder_; }
    void SetLastHolder(std::string_view labelPath) { lastHolder_ = labelPath; }
    // Not saved: the folder of the holder clicked last, which tells apart two tree items whose
    // label paths are equal. It counts only while LastHolder is that item's label path.
    const std::optional<std::string>& LastHolderFolder() const { return lastHolderFolder_; }
    void SetLastHolderFolder(std::optional<std::string> folder) {
        lastHolderFolder_ = std::move(folder);
    }

    // The list's column widths, as the file stores them.
    int TitleWidth() const { return titleWidth_; }
    int CommentWidth() const { return commentWidth_; }
    int PathWidth() const { return pathWidth_; }
    void SetTitleWidth(int width) { titleWidth_ = width; }
    void SetCommentWidth(int width) { commentWidth_ = width; }
    void SetPathWidth(int width) { pathWidth_ = width; }

    // The program's own clipboard: the texts of the entry copied last.
    const std::string& ClipTitle() const { return clipTitle_; }
    const std::string& ClipComment() const { return clipComment_; }
    const std::string& ClipPath() const { return clipPath_; }
    void SetClipTitle(std::string_view text) { clipTitle_ = text; }
    void SetClipComment(std::string_view text) { clipComment_ = text; }
    void SetClipPath(std::string_view text) { clipPath_ = text; }

    // Distinct extensions; an extension's position is its entries' image index.
    const std::vector<std::string>& Extensions() const { return extensions_; }
    void SetExtensions(std::vector<std::string> extensions) { extensions_ = std::move(extensions); }
    // The image lists the views draw with, of the platform's making; null until made.
    const ImageList* SmallImages() const { return smallImages_.get(); }
    const ImageList* LargeImages() const { return largeImages_.get(); }
    const ImageList* TreeImages() const { return treeImages_.get(); }
    void SetSmallImages(std::unique_ptr<ImageList> list) { smallImages_ = std::move(list); }
    void SetLargeImages(std::unique_ptr<ImageList> list) { largeImages_ = std::move(list); }
    void SetTreeImages(std::unique_ptr<ImageList> list) { treeImages_ = std::move(list); }

    // How the catalogue file is encoded; a new catalogue is written in code page 932.
    Encoding FileEncoding() const { return encoding_; }
    void SetFileEncoding(Encoding encoding) { encoding_ = encoding; }

    EntryRef FindByTitle(std::string_view title) const { return entries_.FindByTitle(title); }
    bool TitleExists(std::string_view title) const { return entries_.TitleExists(title); }
    // Derives the holders from the entries, and which entries each holder has.
    void RebuildHolders();
    // The entries whose folder is the holder folder (by the path rule) in catalogue order, as
    // RebuildHolders found them; null when entries came, went or moved since, so that the
    // caller must look at every entry itself.
    const std::vector<EntryRef>* EntriesOfHolder(std::string_view folder) const;
    // Changes whenever the holders change (not when they are rebuilt the same), so that what
    // is built from them alone (the holder tree) is built again only then.
    std::uint64_t HoldersRevision() const { return holdersRevision_; }
    void ResetHeader();
    // Deletes every holder and entry, the extensions and all three image lists.
    void ClearAll();
    // What New leaves: the header's defaults, an empty clipboard, no holders, entries,
    // extensions or file-type pictures. The tree's pictures stay.
    void ResetForNew();

    // Replaces the entries, and the header values the file names, with the file's content.
    // The entries are emptied first, whatever follows; a file that cannot be read leaves the
    // catalogue empty and says why.
    Status LoadCatalogue(const std::string& path);
    // The same for a file already opened at path: what that open found is read.
    Status LoadCatalogue(const ReadableFile& file, const std::string& path);
    // Writes the catalogue to path. The previous file stays intact on any failure, and so
    // when not even UTF-8 with a byte-order mark reads back as what memory holds (escaped
    // bytes that would join into characters there). A code page 932 catalogue that must
    // become UTF-8 is written as it is shown (twin codes as their characters, bytes without a
    // character as U+FFFD) and memory then holds what the file holds; when a switch approval
    // is set and refuses, nothing is written and the save fails with NotEncodable.
    Status SaveCatalogue(const std::string& path);
    // Asked before a save turns a code page 932 catalogue into UTF-8; true lets it go on.
    // Without one, the save goes on.
    using SwitchApproval = std::function<bool(const EncodingSwitch&)>;
    void SetSwitchApproval(SwitchApproval approve) { approveSwitch_ = std::move(approve); }
    bool AsksBeforeSwitch() const { return static_cast<bool>(approveSwitch_); }
    // Whether the last SaveCatalogue failed because the approval refused the switch.
    bool SwitchRefused() const { return switchRefused_; }
    // Remembers what the file at path is now, as the file this document holds. LoadCatalogue
    // remembers what its open found, SaveCatalogue what it wrote.
    void StampFile(const std::string& path);
    // Fails with ChangedOnDisk when the file at path is no longer what this document last read
    // or wrote there: another program wrote it since. A file the document does not hold, and a
    // path where nothing stands any more, pass.
    Status CheckUnchangedOnDisk(const std::string& path) const;
    // Set by a successful SaveCatalogue that wrote a code page 932 catalogue as UTF-8 with a
    // byte-order mark, so the user can be told once; empty after any other save, after a load
    // and once told.
    const std::optional<EncodingSwitch>& LastSaveSwitch() const { return lastSaveSwitch_; }
    void SaveSwitchTold() { lastSaveSwitch_.reset(); }

    // Whether the entries changed since the file was last read or written: only such a change
    // is the user's work that must not be lost, marks the caption and leads to questions.
    bool IsModified() const { return entries_.Revision() != savedRevision_; }
    // Whether the selected title or the shown holder moved since then. The file stores them
    // for the user's convenience, so they are written with the catalogue when it is written
    // anyway, but losing them costs nothing.
    bool ViewStateChanged() const;
    // What memory holds now counts as what the file holds: after a read (once the views have
    // settled, as they may pick a selection of their own) or a write, or when the user chose
    // to leave the changes.
    void MarkUnchanged();
    // Takes back the modified state after the program undid a change itself (a cancelled
    // search removes what it had added): unmodified before means unmodified again.
    void KeepUnmodified(bool wasModified);

    void AddObserver(CatalogueObserver* view);
    void RemoveObserver(CatalogueObserver* view);
    // Tells every view but the sender to refresh itself.
    void UpdateAllViews(CatalogueObserver* sender);

  private:
    EntryList entries_;
    std::list<Holder> holders_;
    std::string selectedTitle_;
    std::string lastHolder_;
    std::optional<std::string> lastHolderFolder_;
    int titleWidth_ = kDefaultTitleWidth;
    int commentWidth_ = kDefaultCommentWidth;
    int pathWidth_ = kDefaultPathWidth;
    std::string clipTitle_;
    std::string clipComment_;
    std::string clipPath_;
    std::vector<std::string> extensions_;
    std::unique_ptr<ImageList> smallImages_;
    std::unique_ptr<ImageList> largeImages_;
    std::unique_ptr<ImageList> treeImages_;
    Encoding encoding_ = Encoding::Cp932;

    void ClearEntries();
    // After a code page 932 catalogue was written as UTF-8: memory takes the texts as written.
    void TakeShownTexts();
    // Files the entries from first on under their holders, making the holders they lack;
    // answers whether it made one.
    bool IndexEntries(EntryList::const_iterator first);

    std::vector<CatalogueObserver*> observers_;
    // By holder folder: views into the holders' strings.
    std::unordered_map<std::string_view, std::vector<EntryRef>, PathHash, PathEqual> holderEntries_;
    std::uint64_t indexedRevision_ = ~std::uint64_t{0};
    std::uint64_t indexedReshape_ = ~std::uint64_t{0};
    std::size_t indexedCount_ = 0;  // entries the holder index holds
    std::uint64_t holdersRevision_ = 0;
    std::uint64_t savedRevision_ = 0;
    std::string savedSelected_;
    std::string savedLastHolder_;
    std::optional<EncodingSwitch> lastSaveSwitch_;
    SwitchApproval approveSwitch_;
    bool switchRefused_ = false;
    std::string stampedPath_;
    FileStamp stamp_;
};

}  // namespace kantoria

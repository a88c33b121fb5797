#include "core/content/content_index.h"

#include <cerrno>
#include <filesystem>
#include <map>

#include "core/content/index_impl.h"
#include "core/content/word_rule.h"
#include "core/text/find_fold.h"

namespace kantoria {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kLongestIdTerm = 200;

// A database that was being compacted when its updater stopped: the compacted copy is whole
// once it has its name, the old one is removed.
void FinishCompaction(const IndexFolder& index) {
    std::error_code error;
    const std::string compacted = index.database + ".compacted";
    if (!fs::exists(index.database, error) && fs::exists(compacted, error))
        fs::rename(compacted, index.database, error);
    fs::remove_all(compacted, error);
    fs::remove_all(index.database + ".old", error);
}

bool OpenWritable(ContentIndex::Impl& impl, const IndexFolder& index, Status& status) {
    try {
        impl.writable.emplace(index.database, Xapian::DB_CREATE_OR_OPEN | Xapian::DB_BACKEND_GLASS);
        return true;
    } catch (const Xapian::DatabaseLockError&) {
        status = Status::Failed(StatusCode::Busy, "another program holds the index");
    } catch (const Xapian::DatabaseCorruptError&) {
    } catch (const Xapian::DatabaseVersionError&) {
    } catch (const Xapian::DatabaseOpeningError&) {
    } catch (const Xapian::Error& e) {
        status = XapianStatus(e);
    }
    return false;
}

}  // namespace

std::string IdTerm(const std::string& path) {
    if (path.size() <= kLongestIdTerm) return "Q" + path;
    std::uint64_t hash = 14695981039346656037ull;
    for (const char c : path) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    return "Q#" + std::to_string(path.size()) + "#" + std::to_string(hash) + "#" +
           path.substr(path.size() - 100);
}

Status XapianStatus(const Xapian::Error& error) {
    const char* system = error.get_error_string();
    std::string reason = error.get_msg();
    if (system && *system) reason += std::string(": ") + system;
    const bool full = reason.find("No space left") != std::string::npos ||
                      reason.find("too large") != std::string::npos ||
                      reason.find("Disk quota") != std::string::npos;
    return Status::Failed(full ? StatusCode::DiskFull : StatusCode::Other, reason);
}

ContentIndex::ContentIndex(IndexFolder folder, std::unique_ptr<Impl> impl)
    : folder_(std::move(folder)), impl_(std::move(impl)) {}

ContentIndex::~ContentIndex() = default;

std::unique_ptr<ContentIndex> ContentIndex::OpenForUpdate(const std::string& cataloguePath,
                                                          const IndexOptions& options,
                                                          Status& status, std::string& notice) {
    IndexFolder index = IndexFolderOf(cataloguePath, options.cacheRoot);
    auto impl = std::make_unique<Impl>();
    impl->options = options;
    std::error_code error;
    fs::create_directories(fs::path(index.folder).parent_path(), error);
    // The lock lies beside the folder, so that it holds while a damaged folder is set aside.
    impl->lock = FileLock::Acquire(index.folder, status, options.lockPatience);
    if (!impl->lock) return nullptr;
    FinishCompaction(index);
    const bool there = fs::exists(index.folder, error);
    if (there && (!NamesCatalogue(index) || !OpenWritable(*impl, index, status))) {
        if (!status) return nullptr;
        const std::string aside = SetAside(index);
        if (aside.empty()) {
            status = Status::Failed(
                StatusCode::Other, "the index folder " + index.folder + " cannot be used or moved");
            return nullptr;
        }
        notice = "the index folder was damaged or not this catalogue's; it was moved to " + aside +
                 " and the index is made afresh";
    }
    if (!impl->writable) {
        if (status = MakeIndexFolder(index); !status) return nullptr;
        if (!OpenWritable(*impl, index, status)) {
            if (status) status = Status::Failed(StatusCode::Other, "the index cannot be made");
            return nullptr;
        }
    }
    return std::unique_ptr<ContentIndex>(new ContentIndex(std::move(index), std::move(impl)));
}

std::unique_ptr<ContentIndex> ContentIndex::OpenForReading(const std::string& cataloguePath,
                                                           const IndexOptions& options,
                                                           Status& status) {
    IndexFolder index = IndexFolderOf(cataloguePath, options.cacheRoot);
    std::error_code error;
    if (!fs::exists(index.database, error) || !NamesCatalogue(index)) {
        status = Status::Failed(StatusCode::NotFound, "this catalogue has no index yet");
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->options = options;
    try {
        impl->readable.emplace(index.database);
    } catch (const Xapian::Error& e) {
        status = Status::Failed(StatusCode::Other, "the index is damaged (" + e.get_msg() + ")");
        return nullptr;
    }
    return std::unique_ptr<ContentIndex>(new ContentIndex(std::move(index), std::move(impl)));
}

std::vector<FailedFile> ContentIndex::FailedFiles(Status& status) {
    std::vector<FailedFile> failed;
    try {
        Xapian::Database& db = impl_->Reader();
        for (auto it = db.valuestream_begin(kStateSlot); it != db.valuestream_end(kStateSlot);
             ++it) {
            if (*it != kStateFailed) continue;
            const Xapian::Document doc = db.get_document(it.get_docid());
            failed.push_back({doc.get_value(kPathSlot), doc.get_value(kReasonSlot)});
        }
    } catch (const Xapian::Error& e) {
        status = XapianStatus(e);
    }
    return failed;
}

namespace {

std::vector<ContentHit> Candidates(Xapian::Database& db, const std::string& foldedWord,
                                   bool typing) {
    Xapian::QueryParser parser;
    parser.set_database(db);
    parser.set_default_op(Xapian::Query::OP_AND);
    // Every word that begins so is a candidate, however many there are.
    parser.set_max_expansion(0, Xapian::Query::WILDCARD_LIMIT_ERROR,
                             Xapian::QueryParser::FLAG_PARTIAL);
    unsigned flags = Xapian::QueryParser::FLAG_CJK_NGRAM;
    if (typing) flags |= Xapian::QueryParser::FLAG_PARTIAL;
    Xapian::Query query = parser.parse_query(foldedWord, flags);
    // Punctuation alone makes no term: every document is a candidate.
    if (query.empty()) query = Xapian::Query::MatchAll;
    Xapian::Enquire enquire(db);
    enquire.set_query(query);
    enquire.set_docid_order(Xapian::Enquire::ASCENDING);
    enquire.set_weighting_scheme(Xapian::BoolWeight());
    const Xapian::MSet candidates = enquire.get_mset(0, db.get_doccount());
    std::vector<ContentHit> hits;
    for (auto it = candidates.begin(); it != candidates.end(); ++it) {
        const Xapian::Document doc = it.get_document();
        const std::string text = doc.get_data();
        const std::string folded = FoldForFind(text);
        const std::size_t at = FindWordInText(folded, foldedWord, typing);
        if (at == std::string::npos) continue;
        const std::size_t from = UnfoldedOffset(text, at);
        const std::size_t to = UnfoldedOffset(text, at + foldedWord.size());
        hits.push_back({doc.get_value(kPathSlot), SnippetAround(text, from, to - from)});
    }
    return hits;
}

}  // namespace

std::vector<ContentHit> ContentIndex::FindWord(const std::string& foldedWord, bool typing,
                                               Status& status) {
    // An updater's commits meanwhile make the reader start again from the newest state.
    for (int attempt = 0;; ++attempt) {
        try {
            return Candidates(impl_->Reader(), foldedWord, typing);
        } catch (const Xapian::DatabaseModifiedError& e) {
            if (attempt == 2) {
                status = XapianStatus(e);
                return {};
            }
            impl_->Reader().reopen();
        } catch (const Xapian::Error& e) {
            status = XapianStatus(e);
            return {};
        }
    }
}

std::vector<ContentHit> ContentIndex::Find(const std::string& text, Status& status) {
    const std::vector<std::string> words = FindWords(text);
    std::map<std::string, ContentHit> found;
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::map<std::string, ContentHit> holding;
        for (ContentHit& hit : FindWord(words[i], i + 1 == words.size(), status))
            if (i == 0 || found.count(hit.path)) holding.emplace(hit.path, std::move(hit));
        if (i > 0)
            for (auto& [path, hit] : holding) hit.snippet = found[path].snippet;
        found = std::move(holding);
    }
    std::vector<ContentHit> hits;
    for (auto& [path, hit] : found) hits.push_back(std::move(hit));
    return hits;
}

}  // namespace kantoria

#include "core/content/content_index.h"

#include <cerrno>
#include <filesystem>
#include <map>
#include <optional>
#include <string_view>

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

// A sound mark, which folding joins to the letter before it.
bool SoundMarkAt(const std::string& text, std::size_t at) {
    for (const std::string_view mark : {"\u3099", "\u309A", "\u309B", "\u309C", "\uFF9E", "\uFF9F"})
        if (text.compare(at, mark.size(), mark) == 0) return true;
    return false;
}

// The snippet around the word's first place in a document's text; nullopt: not there.
std::optional<std::string> SnippetIn(const std::string& text, const std::string& foldedWord,
                                     bool typing) {
    // Kanji and katakana standing in the text as written are found without folding it all,
    // unless a sound mark after them makes another letter of the last one.
    if (KanjiKanaLength(foldedWord) > 0)
        for (std::size_t at = text.find(foldedWord); at != std::string::npos;
             at = text.find(foldedWord, at + 1))
            if (!SoundMarkAt(text, at + foldedWord.size()))
                return SnippetAround(text, at, foldedWord.size());
    const std::string folded = FoldForFind(text);
    const std::size_t at = FindWordInText(folded, foldedWord, typing);
    if (at == std::string::npos) return std::nullopt;
    const std::size_t from = UnfoldedOffset(text, at);
    const std::size_t to = UnfoldedOffset(text, at + foldedWord.size());
    return SnippetAround(text, from, to - from);
}

// The term that holds exactly the documents whose folded text holds the word, where there is
// one: the index cuts runs of kanji and kana into terms of one and of two characters, so a
// word of one or two such characters is found without reading any text. Other words, and
// characters whose cutting is less plain, are made sure of in the text itself.
std::optional<std::string> ExactTerm(const std::string& foldedWord) {
    const std::size_t characters = KanjiKanaLength(foldedWord);
    if (characters == 0 || characters > 2) return std::nullopt;
    return foldedWord;
}

// Every document indexed under the term, by its path; their snippets are left to Snippet.
std::vector<ContentHit> Holders(Xapian::Database& db, const std::string& term) {
    std::vector<ContentHit> hits;
    Xapian::ValueIterator path = db.valuestream_begin(kPathSlot);
    const Xapian::ValueIterator noPath = db.valuestream_end(kPathSlot);
    for (auto it = db.postlist_begin(term); it != db.postlist_end(term); ++it) {
        if (path == noPath) break;
        path.skip_to(*it);
        if (path != noPath && path.get_docid() == *it) hits.push_back({*path, {}});
    }
    return hits;
}

std::vector<ContentHit> Candidates(Xapian::Database& db, const std::string& foldedWord,
                                   bool typing) {
    if (const auto term = ExactTerm(foldedWord)) return Holders(db, *term);
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
        if (auto snippet = SnippetIn(doc.get_data(), foldedWord, typing))
            hits.push_back({doc.get_value(kPathSlot), std::move(*snippet)});
    }
    return hits;
}

std::string SnippetOf(Xapian::Database& db, const std::string& path, const std::string& foldedWord,
                      bool typing) {
    const std::string term = IdTerm(path);
    for (auto it = db.postlist_begin(term); it != db.postlist_end(term); ++it) {
        const Xapian::Document doc = db.get_document(*it);
        if (doc.get_value(kPathSlot) != path) continue;  // a hashed term's other path
        return SnippetIn(doc.get_data(), foldedWord, typing).value_or(std::string());
    }
    return {};
}

// What read gives from the index; on a failure, nothing and status says why.
template <typename Read>
auto Reading(ContentIndex::Impl& impl, Status& status, Read&& read)
    -> decltype(read(impl.Reader())) {
    // An updater's commits meanwhile make the reader start again from the newest state.
    for (int attempt = 0;; ++attempt) {
        try {
            return read(impl.Reader());
        } catch (const Xapian::DatabaseModifiedError& e) {
            if (attempt == 2) {
                status = XapianStatus(e);
                return {};
            }
            impl.Reader().reopen();
        } catch (const Xapian::Error& e) {
            status = XapianStatus(e);
            return {};
        }
    }
}

}  // namespace

std::vector<ContentHit> ContentIndex::FindWord(const std::string& foldedWord, bool typing,
                                               Status& status) {
    return Reading(*impl_, status,
                   [&](Xapian::Database& db) { return Candidates(db, foldedWord, typing); });
}

std::string ContentIndex::Snippet(const std::string& path, const std::string& foldedWord,
                                  bool typing, Status& status) {
    return Reading(*impl_, status,
                   [&](Xapian::Database& db) { return SnippetOf(db, path, foldedWord, typing); });
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
    for (auto& [path, hit] : found) {
        if (hit.snippet.empty())
            hit.snippet = Snippet(path, words.front(), words.size() == 1, status);
        hits.push_back(std::move(hit));
    }
    return hits;
}

}  // namespace kantoria

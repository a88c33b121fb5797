#include <chrono>
#include <condition_variable>
#include <deque>
#include <filesystem>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <unordered_set>

#include "core/content/content_index.h"
#include "core/content/index_impl.h"
#include "core/content/stamp_reader.h"
#include "core/text/find_fold.h"

namespace kantoria {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// Committed every so many documents or bytes of text, so that memory stays bounded and a
// stop keeps most of the work.
constexpr std::size_t kCommitDocuments = 500;
constexpr std::size_t kCommitBytes = std::size_t{64} << 20;
// Results waiting for the writer; the workers wait beyond this.
constexpr std::size_t kQueued = 16;

struct Known {
    Xapian::docid id = 0;
    std::string stamp;
    std::string state;
    std::string reason;
};

enum class Verdict { Unchanged, Stored, Missing, Failed, Dropped, PassedOver };

struct Result {
    std::string path;
    Verdict verdict = Verdict::PassedOver;
    std::string state;  // of a stored or unchanged document
    std::string reason;
    Xapian::Document document;
    std::size_t bytes = 0;
};

std::unordered_map<std::string, Known> ReadKnown(Xapian::Database& db) {
    std::unordered_map<std::string, Known> known;
    for (auto it = db.postlist_begin(""); it != db.postlist_end(""); ++it) {
        const Xapian::Document doc = db.get_document(*it);
        known[doc.get_value(kPathSlot)] = {*it, doc.get_value(kStampSlot),
                                           doc.get_value(kStateSlot), doc.get_value(kReasonSlot)};
    }
    return known;
}

class Round {
  public:
    Round(const IndexOptions& options, std::vector<std::string> paths,
          const std::unordered_map<std::string, Known>& known, const std::atomic<bool>* stop)
        : options_(options),
          paths_(std::move(paths)),
          known_(known),
          stop_(stop),
          hung_(std::make_shared<HungMounts>(
              std::make_shared<const MountTable>(ReadSystemMountTable()))) {}

    void Start() {
        for (int i = 0; i < std::max(1, options_.workers); ++i)
            workers_.emplace_back([this] { Work(); });
    }
    // The next result, or nothing once every path is done.
    std::optional<Result> Next() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return !results_.empty() || running_ == 0; });
        if (results_.empty()) return std::nullopt;
        Result result = std::move(results_.front());
        results_.pop_front();
        changed_.notify_all();
        return result;
    }
    void Abandon() {
        const std::lock_guard lock(mutex_);
        abandoned_ = true;
        changed_.notify_all();
    }
    ~Round() {
        Abandon();
        for (std::thread& t : workers_) t.join();
    }
    std::size_t total() const { return paths_.size(); }

  private:
    bool Stopping() const { return abandoned_ || (stop_ && *stop_); }

    void Work() {
        StampReader stamps(hung_, options_.statPatience);
        Xapian::TermGenerator terms;
        terms.set_flags(Xapian::TermGenerator::FLAG_CJK_NGRAM);
        // One extraction program kept for the round: a stop kills it at once.
        ExtractionWorker extractor(options_.extractor, options_.limits);
        for (;;) {
            const std::size_t i = next_++;
            if (i >= paths_.size() || Stopping()) break;
            Result result = Look(paths_[i], stamps, terms, extractor);
            // A reading cut short by the stop says nothing about the document.
            if (Stopping()) break;
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return results_.size() < kQueued || abandoned_; });
            results_.push_back(std::move(result));
            changed_.notify_all();
        }
        const std::lock_guard lock(mutex_);
        --running_;
        changed_.notify_all();
    }

    Result Look(const std::string& path, StampReader& stamps, Xapian::TermGenerator& terms,
                ExtractionWorker& extractor) {
        using Kind = DocumentStamp::Kind;
        Result result;
        result.path = path;
        // A path of another system (a drive letter) or a relative one names nothing here.
        const DocumentStamp stamp =
            path.starts_with('/') ? stamps.Read(path) : DocumentStamp{DocumentStamp::Kind::Missing};
        const auto known = known_.find(path);
        const bool stored = known != known_.end();
        switch (stamp.kind) {
            case Kind::Folder:
                result.verdict = stored ? Verdict::Dropped : Verdict::PassedOver;
                return result;
            case Kind::Missing:
                result.verdict = Verdict::Missing;
                return result;
            case Kind::NotAnswering:
                result.verdict = Verdict::Failed;
                result.reason = "the file system does not answer";
                return result;
            case Kind::Other:
            case Kind::File:
                break;
        }
        if (stored && known->second.stamp == stamp.Key()) {
            result.verdict = Verdict::Unchanged;
            result.state = known->second.state;
            result.reason = known->second.reason;
            return result;
        }
        const ExtractionResult extracted =
            stamp.kind == Kind::Other
                ? ExtractionResult{Extracted::Failed, {}, "not a regular file"}
                : extractor.Extract(path, [this] { return Stopping(); });
        result.verdict = Verdict::Stored;
        result.bytes = extracted.text.size();
        result.document = MakeDocument(path, stamp.Key(), extracted, terms);
        result.state = result.document.get_value(kStateSlot);
        result.reason = extracted.reason;
        return result;
    }

    const IndexOptions& options_;
    const std::vector<std::string> paths_;
    const std::unordered_map<std::string, Known>& known_;
    const std::atomic<bool>* stop_;
    std::shared_ptr<HungMounts> hung_;
    std::atomic<std::size_t> next_{0};
    std::atomic<bool> abandoned_{false};
    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Result> results_;
    int running_ = std::max(1, options_.workers);
    std::vector<std::thread> workers_;
};

void Count(IndexReport& report, const Result& result) {
    const bool fresh = result.verdict == Verdict::Stored;
    if (result.state == kStateUnsupported) {
        ++report.unsupported;
    } else if (result.state == kStateFailed || result.verdict == Verdict::Failed) {
        report.failed.push_back({result.path, result.reason});
    } else if (result.verdict == Verdict::Missing) {
        ++report.missing;
    } else if (fresh) {
        ++report.indexed;
    } else if (result.verdict == Verdict::Unchanged) {
        ++report.unchanged;
    }
}

// Compacts the database after large changes: a copy without the free space is made and takes
// the database's name. Failing that (a full disk), the database stays as it is.
void Compact(ContentIndex::Impl& impl, const IndexFolder& index) {
    const std::string compacted = index.database + ".compacted";
    std::error_code error;
    try {
        impl.writable->commit();
        impl.writable.reset();
        Xapian::Database(index.database).compact(compacted);
        fs::rename(index.database, index.database + ".old");
        fs::rename(compacted, index.database);
        fs::remove_all(index.database + ".old", error);
    } catch (const std::exception&) {
        fs::remove_all(compacted, error);
    } catch (const Xapian::Error&) {
        fs::remove_all(compacted, error);
    }
    if (!fs::exists(index.database, error))
        fs::rename(index.database + ".old", index.database, error);
    impl.writable.emplace(index.database, Xapian::DB_OPEN);
}

}  // namespace

Xapian::Document MakeDocument(const std::string& path, const std::string& stampKey,
                              const ExtractionResult& result, Xapian::TermGenerator& terms) {
    Xapian::Document doc;
    doc.add_boolean_term(IdTerm(path));
    doc.add_value(kPathSlot, path);
    doc.add_value(kStampSlot, stampKey);
    switch (result.kind) {
        case Extracted::Text:
            doc.add_value(kStateSlot, kStateText);
            doc.set_data(result.text);
            terms.set_document(doc);
            terms.index_text_without_positions(FoldForFind(result.text));
            break;
        case Extracted::Unsupported:
            doc.add_value(kStateSlot, kStateUnsupported);
            doc.add_value(kReasonSlot, result.reason);
            break;
        case Extracted::Failed:
            doc.add_value(kStateSlot, kStateFailed);
            doc.add_value(kReasonSlot, result.reason);
            break;
    }
    return doc;
}

IndexReport ContentIndex::Update(const std::vector<std::string>& paths,
                                 const IndexProgress& progress, const std::atomic<bool>* stop) {
    const auto started = Clock::now();
    IndexReport report;
    Xapian::WritableDatabase& db = *impl_->writable;
    IndexOptions options = impl_->options;
    if (options.extractor.empty()) options.extractor = DefaultExtractor();
    std::vector<std::string> unique;
    std::unordered_set<std::string> seen;
    for (const std::string& p : paths)
        if (seen.insert(p).second) unique.push_back(p);
    std::size_t changes = 0;
    if (!fs::exists(options.extractor)) {
        report.status =
            Status::Failed(StatusCode::NoProgram, "no extraction program at " + options.extractor);
        return report;
    }
    try {
        const auto known = ReadKnown(db);
        for (const auto& [path, k] : known)
            if (!seen.count(path)) {
                db.delete_document(k.id);
                ++report.removed;
            }
        changes = report.removed;
        Round round(options, std::move(unique), known, stop);
        round.Start();
        std::size_t done = 0, pendingDocs = 0, pendingBytes = 0;
        while (std::optional<Result> result = round.Next()) {
            Count(report, *result);
            if (result->verdict == Verdict::Stored) {
                db.replace_document(IdTerm(result->path), result->document);
                ++pendingDocs;
                pendingBytes += result->bytes;
            } else if (result->verdict == Verdict::Dropped) {
                db.delete_document(IdTerm(result->path));
                ++pendingDocs;
            }
            if (pendingDocs >= kCommitDocuments || pendingBytes >= kCommitBytes) {
                db.commit();
                changes += pendingDocs;
                pendingDocs = pendingBytes = 0;
            }
            if (progress) progress(++done, round.total());
        }
        db.commit();
        changes += pendingDocs;
    } catch (const Xapian::Error& e) {
        report.status = XapianStatus(e);
    } catch (const std::exception& e) {
        report.status = Status::Failed(StatusCode::Other, e.what());
    }
    // A stop is answered at once: compacting, which copies the whole database, waits for a
    // run that ends on its own.
    const bool stopped = stop && *stop;
    if (report.status && !stopped && changes >= std::max<std::size_t>(100, db.get_doccount() / 5))
        Compact(*impl_, folder_);
    report.seconds = std::chrono::duration<double>(Clock::now() - started).count();
    return report;
}

}  // namespace kantoria

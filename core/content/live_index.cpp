#include "core/content/live_index.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <optional>
#include <utility>

#include "core/content/index_folder.h"
#include "core/text/find_fold.h"

namespace kantoria {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Progress goes to the window at most this often.
constexpr auto kProgressEvery = std::chrono::milliseconds(100);
// How long the end waits for the threads to see the stop before it leaves them.
constexpr auto kEndPatience = std::chrono::milliseconds(200);

struct UpdateRequest {
    std::string catalogue;
    std::string carryFrom;
    std::vector<std::string> documents;
    bool rebuild = false;
};

}  // namespace

struct LiveIndex::State {
    IndexOptions options;
    mutable std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable ended;
    bool shutdown = false;
    int running = 0;  // threads not yet ended
    std::string catalogue;
    std::string carryFrom;  // copied on the next update
    std::optional<UpdateRequest> pending;
    std::shared_ptr<std::atomic<bool>> stop;  // of the running update
    bool updating = false;
    bool paused = false;
    std::optional<std::string> question;
    // Guarded by its own lock, which an event holds while it runs, so that the owner's end
    // waits for an event under way and none comes after it.
    std::mutex eventsMutex;
    LiveIndexEvents events;

    template <typename Call>
    void Tell(Call&& call) {
        const std::lock_guard lock(eventsMutex);
        call(events);
    }
    void StopRunning() {
        if (stop) stop->store(true);
    }
};

namespace {

using State = LiveIndex::State;

IndexReport RunUpdate(State& state, const UpdateRequest& request, const std::atomic<bool>& stop,
                      std::vector<FailedFile>& failed) {
    IndexReport report;
    if (!request.carryFrom.empty())
        (void)CopyIndex(request.carryFrom, request.catalogue, state.options.cacheRoot);
    std::string notice;
    const auto index =
        ContentIndex::OpenForUpdate(request.catalogue, state.options, report.status, notice);
    if (!index) return report;
    auto last = Clock::now() - kProgressEvery;
    const IndexProgress progress = [&state, &last](std::size_t done, std::size_t total) {
        const auto now = Clock::now();
        if (done != total && now - last < kProgressEvery) return;
        last = now;
        state.Tell([&](LiveIndexEvents& e) {
            if (e.progress) e.progress(done, total);
        });
    };
    if (request.rebuild) {
        report = index->Update({}, {}, &stop);
        if (!report.status || stop) return report;
    }
    report = index->Update(request.documents, progress, &stop);
    Status status = Status::Ok();
    failed = index->FailedFiles(status);
    return report;
}

void UpdateLoop(const std::shared_ptr<State>& shared) {
    State& state = *shared;
    std::unique_lock lock(state.mutex);
    for (;;) {
        state.wake.wait(lock, [&] { return state.shutdown || (state.pending && !state.paused); });
        if (state.shutdown) break;
        UpdateRequest request = std::move(*state.pending);
        state.pending.reset();
        auto stop = std::make_shared<std::atomic<bool>>(false);
        state.stop = stop;
        state.updating = true;
        lock.unlock();
        std::vector<FailedFile> failed;
        const IndexReport report = RunUpdate(state, request, *stop, failed);
        lock.lock();
        state.updating = false;
        // A pause keeps the update for later; a newer request or another catalogue drops it.
        if (*stop && state.paused && !state.pending && request.catalogue == state.catalogue) {
            request.rebuild = false;
            request.carryFrom.clear();
            state.pending = std::move(request);
        }
        if (state.shutdown) break;
        lock.unlock();
        state.Tell([&](LiveIndexEvents& e) {
            if (e.updated) e.updated(report, failed);
        });
        lock.lock();
    }
    --state.running;
    state.ended.notify_all();
}

std::shared_ptr<DocumentWords> Answer(ContentIndex* index, std::string findText) {
    auto answer = std::make_shared<DocumentWords>();
    const std::vector<std::string> words = FindWords(findText);
    answer->findText = std::move(findText);
    answer->perWord.resize(words.size());
    Status status = Status::Ok();
    for (std::size_t i = 0; index && status && i < words.size(); ++i)
        for (ContentHit& hit : index->FindWord(words[i], i + 1 == words.size(), status))
            answer->perWord[i].emplace(std::move(hit.path), std::move(hit.snippet));
    return answer;
}

// The answer with the snippets it lacked; null when it lacked none or a newer question (or
// the end) came first.
std::shared_ptr<DocumentWords> WithSnippets(State& state, ContentIndex& index,
                                            const DocumentWords& answer) {
    const std::vector<std::string> words = FindWords(answer.findText);
    auto filled = std::make_shared<DocumentWords>(answer);
    bool lacked = false;
    std::size_t read = 0;
    Status status = Status::Ok();
    for (std::size_t i = 0; status && i < words.size(); ++i) {
        for (auto& [path, snippet] : filled->perWord[i]) {
            if (!snippet.empty()) continue;
            lacked = true;
            if (++read % 64 == 0) {
                const std::lock_guard lock(state.mutex);
                if (state.question || state.shutdown) return nullptr;
            }
            snippet = index.Snippet(path, words[i], i + 1 == words.size(), status);
        }
    }
    return lacked && status ? filled : nullptr;
}

void AskLoop(const std::shared_ptr<State>& shared) {
    State& state = *shared;
    std::unique_lock lock(state.mutex);
    for (;;) {
        state.wake.wait(lock, [&] { return state.shutdown || state.question; });
        if (state.shutdown) break;
        std::string text = std::move(*state.question);
        state.question.reset();
        const std::string catalogue = state.catalogue;
        lock.unlock();
        Status status = Status::Ok();
        const std::unique_ptr<ContentIndex> index =
            catalogue.empty() || FindWords(text).empty()
                ? nullptr
                : ContentIndex::OpenForReading(catalogue, state.options, status);
        std::shared_ptr<const DocumentWords> answer = Answer(index.get(), std::move(text));
        const auto stale = [&] { return state.question || catalogue != state.catalogue; };
        lock.lock();
        if (state.shutdown) break;
        if (stale()) continue;
        lock.unlock();
        state.Tell([&](LiveIndexEvents& e) {
            if (e.answered) e.answered(answer);
        });
        std::shared_ptr<const DocumentWords> filled =
            index ? WithSnippets(state, *index, *answer) : nullptr;
        lock.lock();
        if (state.shutdown) break;
        if (!filled || stale()) continue;
        lock.unlock();
        state.Tell([&](LiveIndexEvents& e) {
            if (e.snippets) e.snippets(filled);
        });
        lock.lock();
    }
    --state.running;
    state.ended.notify_all();
}

}  // namespace

LiveIndex::LiveIndex(IndexOptions options, LiveIndexEvents events)
    : state_(std::make_shared<State>()) {
    state_->options = std::move(options);
    state_->events = std::move(events);
    state_->running = 2;
    std::thread([state = state_] { UpdateLoop(state); }).detach();
    std::thread([state = state_] { AskLoop(state); }).detach();
}

LiveIndex::~LiveIndex() {
    {
        const std::lock_guard lock(state_->eventsMutex);
        state_->events = {};
    }
    std::unique_lock lock(state_->mutex);
    state_->shutdown = true;
    state_->StopRunning();
    state_->wake.notify_all();
    // Usually both are gone at once; one held by a hung file system is left behind.
    state_->ended.wait_for(lock, kEndPatience, [&] { return state_->running == 0; });
}

void LiveIndex::SetCatalogue(std::string path, std::string carryFrom) {
    const std::lock_guard lock(state_->mutex);
    if (path == state_->catalogue) return;
    state_->StopRunning();
    state_->pending.reset();
    state_->catalogue = std::move(path);
    state_->carryFrom = state_->catalogue.empty() ? std::string() : std::move(carryFrom);
}

void LiveIndex::Update(std::vector<std::string> documents) {
    Queue(std::move(documents), false);
}

void LiveIndex::Rebuild(std::vector<std::string> documents) {
    Queue(std::move(documents), true);
}

void LiveIndex::Queue(std::vector<std::string> documents, bool rebuild) {
    const std::lock_guard lock(state_->mutex);
    if (state_->catalogue.empty()) return;
    state_->StopRunning();
    // A rebuild still waiting stays one.
    rebuild = rebuild || (state_->pending && state_->pending->rebuild);
    state_->pending = UpdateRequest{state_->catalogue, std::exchange(state_->carryFrom, {}),
                                    std::move(documents), rebuild};
    state_->wake.notify_all();
}

void LiveIndex::SetPaused(bool paused) {
    const std::lock_guard lock(state_->mutex);
    state_->paused = paused;
    if (paused) state_->StopRunning();
    state_->wake.notify_all();
}

bool LiveIndex::Paused() const {
    const std::lock_guard lock(state_->mutex);
    return state_->paused;
}

bool LiveIndex::Updating() const {
    const std::lock_guard lock(state_->mutex);
    return state_->updating || state_->pending.has_value();
}

void LiveIndex::Ask(std::string findText) {
    const std::lock_guard lock(state_->mutex);
    state_->question = std::move(findText);
    state_->wake.notify_all();
}

Status CopyIndex(const std::string& from, const std::string& to, const std::string& cacheRoot) {
    const IndexFolder source = IndexFolderOf(from, cacheRoot);
    const IndexFolder target = IndexFolderOf(to, cacheRoot);
    std::error_code error;
    if (source.folder == target.folder || !fs::exists(source.database, error) ||
        !NamesCatalogue(source))
        return Status::Ok();
    fs::remove_all(target.folder, error);
    if (const Status made = MakeIndexFolder(target); !made) return made;
    fs::copy(source.database, target.database, fs::copy_options::recursive, error);
    if (error) {
        fs::remove_all(target.database, error);
        return Status::Failed(StatusCode::Other, "the index could not be copied");
    }
    return Status::Ok();
}

}  // namespace kantoria

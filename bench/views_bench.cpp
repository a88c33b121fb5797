// Times the two panes offscreen: refreshing a holder of 100,000 entries in each view mode,
// deleting all 100,000 of them at once and undoing that, and clicking holders in a catalogue of
// 1,000,000 entries. Each figure includes the layout and painting that follow in the event loop.
// Then the whole window with 200,000 entries: accepting a search of 160,000 files on disk,
// deleting a holder of 8,700 entries and undoing that. A report, not a test.
//
// Usage: kantoria-bench-views [--delete | --large]   (only the deletion / only the window)
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/os/environment.h"
#include "core/resources/command_ids.h"
#include "core/views/holder_tree_logic.h"
#include "testing/core/desktop_shell_memory.h"
#include "testing/core/file_types_memory.h"
#include "testing/core/no_instances.h"
#include "testing/core/settings_memory.h"
#include "testing/core/stand_in_icons.h"
#include "testing/ui/scripted_file_dialogs.h"
#include "testing/ui/scripted_message_boxes.h"
#include "ui/app/application.h"
#include "ui/frame/frame_views.h"
#include "ui/seams/dialog_runner.h"
#include "ui/undo/entry_history.h"
#include "ui/views/entry_list_view.h"
#include "ui/views/holder_tree_model.h"
#include "ui/views/holder_tree_view.h"

namespace kantoria {
namespace {

constexpr int kRuns = 5;

double Seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    QCoreApplication::processEvents();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Titles in shuffled order, so the list really sorts them.
void AddEntries(Catalogue& doc, const std::string& folder, int count, std::mt19937& random) {
    std::vector<int> numbers(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) numbers[static_cast<std::size_t>(i)] = i;
    std::shuffle(numbers.begin(), numbers.end(), random);
    for (const int n : numbers) {
        const std::string name = std::to_string(n);
        doc.Entries().Append(folder + "報告書" + name + ".doc", "Report " + name,
                             n % 7 == 0 ? "first line\r\nsecond line" : "");
    }
}

struct Panes {
    explicit Panes(Catalogue& doc) {
        auto* layout = new QHBoxLayout(&window);
        tree = new HolderTreeView(doc, shell, messages, &window);
        list = new EntryListView(doc, services, &window);
        tree->SetList(list);
        layout->addWidget(tree);
        layout->addWidget(list, 1);
        window.resize(1000, 600);
        window.show();
    }
    RecordingDesktopShell shell;
    ScriptedMessageBoxes messages;
    MemorySettingsStore settings;
    ScriptedFileDialogs files;
    ExecDialogRunner dialogs;  // never reached: the bench runs no entry command
    MemoryFileTypes types;
    StandInIconFactory icons;
    ProcessEnvironment environment;
    EntryListServices services{settings, messages, files,
                               dialogs,  shell,    {types, icons, environment}};
    QWidget window;
    HolderTreeView* tree;
    EntryListView* list;
};

void ClickHolder(Panes& panes, std::string_view folder) {
    const HolderTreeModel* model = panes.tree->holderModel();
    const QModelIndex index = model->IndexOf(model->tree().FindByFolder(folder));
    for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) panes.tree->expand(up);
    panes.tree->scrollTo(index);
    QTest::mouseClick(panes.tree->viewport(), Qt::LeftButton, {},
                      panes.tree->visualRect(index).center());
}

// A holder of 100,000 entries, shown, beside a small one.
void FillBigHolder(Catalogue& doc, std::mt19937& random) {
    AddEntries(doc, "C:\\Big\\", 100000, random);
    AddEntries(doc, "C:\\Small\\", 10, random);
    doc.RebuildHolders();
    doc.SetLastHolder("Big");
}

void BigHolder() {
    std::mt19937 random(42);
    Catalogue doc;
    FillBigHolder(doc, random);
    doc.SetSelectedTitle("Report 99999");
    Panes panes(doc);
    std::printf("first fill of both panes, 100,000 entries listed: %.3f s\n",
                Seconds([&] { doc.UpdateAllViews(nullptr); }));
    const struct {
        const char* name;
        void (EntryListView::*command)();
    } modes[] = {{"report", &EntryListView::OnViewDetails},
                 {"large icons", &EntryListView::OnViewLargeIcon},
                 {"small icons", &EntryListView::OnViewSmallIcon},
                 {"list", &EntryListView::OnViewList}};
    for (const auto& mode : modes) {
        (panes.list->*mode.command)();
        QCoreApplication::processEvents();
        std::vector<double> times;
        for (int i = 0; i < kRuns; ++i)
            times.push_back(Seconds([&] { panes.list->RefreshList(); }));
        std::printf("refresh of the 100,000-entry holder, %-11s: median %.3f s, worst %.3f s\n",
                    mode.name, Median(times), *std::max_element(times.begin(), times.end()));
    }
}

void Report(const char* what, const std::vector<double>& times) {
    std::printf("%-52s median %.3f s, worst %.3f s\n", what, Median(times),
                *std::max_element(times.begin(), times.end()));
}

// Every entry of a 100,000-entry holder selected and deleted with one question, the way the
// user does it, recorded for undo, then undone and done again; and, as the floor, the removal
// and the putting back with the holders' rebuild alone, without the window.
void DeleteSelected() {
    std::vector<double> window, undo, redo, core, coreBack;
    for (int i = 0; i < kRuns; ++i) {
        std::mt19937 random(42);
        Catalogue doc;
        FillBigHolder(doc, random);
        Panes panes(doc);
        const IconServices icons{panes.types, panes.icons, panes.environment};
        EntryHistory history(doc, [&] {
            doc.RebuildHolders();
            RebuildIcons(doc, icons);
            doc.UpdateAllViews(nullptr);
        });
        panes.list->SetHistory(&history);
        doc.UpdateAllViews(nullptr);
        panes.list->OnViewDetails();
        panes.list->RunCommand(ID_EDIT_SELECT_ALL);
        QCoreApplication::processEvents();
        window.push_back(Seconds([&] { panes.list->RunCommand(ID_ENTRY_DELETE); }));
        if (doc.Entries().size() != 10)
            std::printf("the deletion left %zu entries\n", doc.Entries().size());
        undo.push_back(Seconds([&] { history.Undo(); }));
        if (doc.Entries().size() != 100010)
            std::printf("the undo left %zu entries\n", doc.Entries().size());
        redo.push_back(Seconds([&] { history.Redo(); }));

        Catalogue bare;
        AddEntries(bare, "C:\\Big\\", 100000, random);
        bare.RebuildHolders();
        std::vector<EntryRef> all;
        for (const Entry& e : bare.Entries()) all.push_back(&e);
        std::vector<PlacedEntry> removed;
        core.push_back(Seconds([&] {
            removed = bare.Entries().RemoveMany(all);
            bare.RebuildHolders();
        }));
        coreBack.push_back(Seconds([&] {
            bare.Entries().Restore(removed);
            bare.RebuildHolders();
        }));
    }
    Report("delete of 100,000 selected entries in the report:", window);
    Report("its undo, the list refilled with 100,000:", undo);
    Report("its redo:", redo);
    Report("RemoveMany + holders of 100,000 entries alone:", core);
    Report("Restore + holders of 100,000 entries alone:", coreBack);
}

// The whole window over fakes (no_instances.h), as the user meets it; only the search walks the
// real disk.

// The processor time the calling thread has used: the window's own work, whatever else the
// machine runs meanwhile.
double ThreadSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}

// Every question answered OK; remembers when the last one was answered, where the user's
// wait for the window begins.
class TimedAnswers final : public MessageBoxes {
  public:
    std::chrono::steady_clock::time_point answered;
    double answeredWork = 0;
    MbAnswer Show(std::string_view, MbButtons, MbIcon) override {
        answered = std::chrono::steady_clock::now();
        answeredWork = ThreadSeconds();
        return MbAnswer::Ok;
    }
};

// The search dialog gets the folder and its OK pressed.
class SearchRunner final : public DialogRunner {
  public:
    QString folder;
    int DoModal(QDialog& dialog) override {
        dialog.findChild<QLineEdit*>(QStringLiteral("folder"))->setText(folder);
        dialog.findChild<QPushButton*>(QStringLiteral("ok"))->click();
        return dialog.result() == QDialog::Accepted ? QDialog::Accepted : QDialog::Rejected;
    }
};

struct Window {
    MemorySettingsStore settings;
    TimedAnswers messages;
    ScriptedFileDialogs files;
    SearchRunner dialogs;
    RecordingDesktopShell shell;
    NoInstances instances;
    NoRegistrar registrar;
    MemoryFileTypes types;
    StandInIconFactory icons;
    ProcessEnvironment environment;
    AppServices services{settings, messages,  files,     dialogs,
                         shell,    instances, registrar, IconServices{types, icons, environment}};
    Application app{services, MakeFrameViews};
};

constexpr int kOldFolders = 313;   // of 100 files: already registered
constexpr int kNewFolders = 1600;  // of 100 files: found by the search
constexpr int kBigHolder = 8700;   // registered, then deleted

std::string FileIn(const std::string& folder, int n) {
    return folder + "/報告書" + std::to_string(n) + ".txt";
}

std::vector<std::string> OldFolders(const std::string& tree) {
    std::vector<std::string> folders{tree + "/big"};
    for (int f = 0; f < kOldFolders; ++f) folders.push_back(tree + "/old" + std::to_string(f));
    return folders;
}

// 200,000 empty files, made once and kept for later runs.
bool MakeTree(const std::string& tree) {
    namespace fs = std::filesystem;
    const std::string done = tree + ".complete";
    if (fs::exists(done)) return true;
    std::printf("making %s (once)...\n", tree.c_str());
    std::vector<std::pair<std::string, int>> folders;
    for (const std::string& folder : OldFolders(tree))
        folders.emplace_back(folder, folder == tree + "/big" ? kBigHolder : 100);
    for (int f = 0; f < kNewFolders; ++f)
        folders.emplace_back(tree + "/new" + std::to_string(f), 100);
    for (const auto& [folder, count] : folders) {
        std::error_code error;
        fs::create_directories(folder, error);
        for (int n = 0; n < count; ++n)
            if (!std::ofstream(FileIn(folder, n))) return false;
    }
    return static_cast<bool>(std::ofstream(done));
}

// The most work the window does between two ticks of a 5 ms timer in the next while: what
// follows a change in the background (looking at the files) must come in small slices.
double LargestSlice(int milliseconds) {
    QTimer tick;
    QElapsedTimer clock;
    double largest = 0;
    double last = ThreadSeconds();
    clock.start();
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const double now = ThreadSeconds();
        largest = std::max(largest, now - last);
        last = now;
    });
    tick.start(5);
    while (clock.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    return largest;
}

// The window's work and the wall time since the question was answered.
struct Waited {
    double work, wall;
};

Waited SinceAnswered(const TimedAnswers& messages) {
    QCoreApplication::processEvents();
    return {ThreadSeconds() - messages.answeredWork,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - messages.answered)
                .count()};
}

void Report(const char* what, const std::vector<Waited>& times) {
    std::vector<double> work, wall;
    for (const Waited& t : times) {
        work.push_back(t.work);
        wall.push_back(t.wall);
    }
    std::printf("%-52s work: median %.3f s, worst %.3f s; wall: median %.3f s\n", what,
                Median(work), *std::max_element(work.begin(), work.end()), Median(wall));
}

// The floor: the work on the entries and holders alone, without a window or a history (and
// without the event loop, which would run the window's work).
Waited Floor(const std::function<void()>& work) {
    const double before = ThreadSeconds();
    const auto start = std::chrono::steady_clock::now();
    work();
    return {ThreadSeconds() - before,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count()};
}

void LargeCatalogue() {
    const std::string tree = "/tmp/kantoria-bench-views/tree";
    if (!MakeTree(tree)) {
        std::printf("cannot make %s\n", tree.c_str());
        return;
    }
    constexpr int kLargeRuns = 3;
    std::vector<Waited> accept, remove, undo, floors[3];
    std::vector<double> slices[3];
    for (int run = 0; run < kLargeRuns; ++run) {
        Window w;
        w.dialogs.folder = QString::fromStdString(tree);
        if (!w.app.NewDocument()) return;
        w.app.MainFrame()->ShowAtSavedPlace();
        Catalogue& doc = w.app.Document()->Doc();
        const auto showBig = [&] {
            doc.SetLastHolder(HolderLabel(tree + "/big/"));
            doc.UpdateAllViews(nullptr);
        };
        for (const std::string& folder : OldFolders(tree))
            for (int n = 0, count = folder == tree + "/big" ? kBigHolder : 100; n < count; ++n)
                doc.Entries().Append(FileIn(folder, n), "登録済み " + std::to_string(n), "");
        w.app.Document()->RebuildHoldersAndIcons();
        showBig();
        LargestSlice(3000);  // the files of the first 40,000 looked at

        w.app.MainFrame()->RouteCommand(ID_TOOLS_SEARCH);
        accept.push_back(SinceAnswered(w.messages));
        slices[0].push_back(LargestSlice(2000));
        if (doc.Entries().size() != 200000)
            std::printf("the search left %zu entries\n", doc.Entries().size());

        showBig();
        auto* list = static_cast<EntryListView*>(w.app.MainFrame()->Views().list->Widget());
        list->OnViewDetails();
        list->currentView()->selectAll();
        QCoreApplication::processEvents();
        w.app.MainFrame()->RouteCommand(ID_ENTRY_DELETE);
        remove.push_back(SinceAnswered(w.messages));
        slices[1].push_back(LargestSlice(2000));
        if (doc.Entries().size() != 200000 - kBigHolder)
            std::printf("the deletion left %zu entries\n", doc.Entries().size());

        const double before = ThreadSeconds();
        const double wall = Seconds([&] { w.app.MainFrame()->RouteCommand(ID_EDIT_UNDO); });
        undo.push_back({ThreadSeconds() - before, wall});
        slices[2].push_back(LargestSlice(2000));
        if (doc.Entries().size() != 200000)
            std::printf("the undo left %zu entries\n", doc.Entries().size());

        Catalogue bare;
        for (const Entry& e : doc.Entries())
            if (e.Path().find("/new") == std::string_view::npos)
                bare.Entries().Append(e.Path(), e.Title(), e.Comment());
        bare.RebuildHolders();
        for (int f = 0; f < kNewFolders; ++f)
            for (int n = 0; n < 100; ++n)
                bare.Entries().Append(FileIn(tree + "/new" + std::to_string(f), n),
                                      "報告書" + std::to_string(n), "自動検索");
        floors[0].push_back(Floor([&] { bare.RebuildHolders(); }));
        std::vector<EntryRef> big;
        for (const Entry& e : bare.Entries())
            if (e.Path().find("/big/") != std::string_view::npos) big.push_back(&e);
        std::vector<PlacedEntry> removed;
        floors[1].push_back(Floor([&] {
            removed = bare.Entries().RemoveMany(big);
            bare.RebuildHolders();
        }));
        floors[2].push_back(Floor([&] {
            bare.Entries().Restore(removed);
            bare.RebuildHolders();
        }));
    }
    std::printf(
        "200,000 entries, the whole window; work is the window thread's processor time (goal: "
        "each within 0.3 s), slice the most it works between two 5 ms ticks in the 2 s after:\n");
    const char* names[] = {
        "accepting a search of 160,000 files (after OK):",
        "deleting a holder of 8,700 entries (after OK):", "undoing that deletion:"};
    const char* floorNames[] = {"  floor: the holders of the appended entries:",
                                "  floor: RemoveMany + holders:", "  floor: Restore + holders:"};
    const std::vector<Waited>* figures[] = {&accept, &remove, &undo};
    for (int i = 0; i < 3; ++i) {
        Report(names[i], *figures[i]);
        std::printf("  largest slice after: median %.3f s, worst %.3f s\n", Median(slices[i]),
                    *std::max_element(slices[i].begin(), slices[i].end()));
        Report(floorNames[i], floors[i]);
    }
}

void MillionEntries() {
    std::mt19937 random(7);
    Catalogue doc;
    doc.Entries().Reserve(1000000);
    // 1,800 holders of 500 entries under 60 parents, and one holder of 100,000.
    for (int parent = 0; parent < 60; ++parent)
        for (int child = 0; child < 30; ++child)
            AddEntries(
                doc,
                "D:\\Archive\\p" + std::to_string(parent) + "\\c" + std::to_string(child) + "\\",
                500, random);
    AddEntries(doc, "C:\\Big\\", 100000, random);
    doc.RebuildHolders();
    std::printf("catalogue: %zu entries in %zu holders\n", doc.Entries().size(),
                doc.Holders().size());
    Panes panes(doc);
    std::printf("first fill of both panes: %.3f s\n",
                Seconds([&] { doc.UpdateAllViews(nullptr); }));
    std::vector<double> small, big;
    for (int i = 0; i < kRuns; ++i) {
        const std::string folder =
            "D:\\Archive\\p" + std::to_string(i * 11) + "\\c" + std::to_string(i * 7) + "\\";
        small.push_back(Seconds([&] { ClickHolder(panes, folder); }));
        big.push_back(Seconds([&] { ClickHolder(panes, "C:\\Big\\"); }));
    }
    std::printf("click on a holder of 500 entries: median %.3f s, worst %.3f s\n", Median(small),
                *std::max_element(small.begin(), small.end()));
    std::printf("click on the holder of 100,000:   median %.3f s, worst %.3f s\n", Median(big),
                *std::max_element(big.begin(), big.end()));
}

}  // namespace
}  // namespace kantoria

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string only = argc > 1 ? argv[1] : "";
    if (only.empty()) kantoria::BigHolder();
    if (only.empty() || only == "--delete") kantoria::DeleteSelected();
    if (only.empty()) kantoria::MillionEntries();
    if (only.empty() || only == "--large") kantoria::LargeCatalogue();
    return 0;
}

// Times the two panes offscreen: refreshing a holder of 100,000 entries in each view mode,
// deleting all 100,000 of them at once and undoing that, and clicking holders in a catalogue of
// 1,000,000 entries. Each figure includes the layout and painting that follow in the event loop. A
// report, not a test.
//
// Usage: kantoria-bench-views [--delete]   (--delete: only the deletion)
#include <QApplication>
#include <QHBoxLayout>
#include <QTest>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/os/environment.h"
#include "core/resources/command_ids.h"
#include "testing/core/desktop_shell_memory.h"
#include "testing/core/file_types_memory.h"
#include "testing/core/settings_memory.h"
#include "testing/core/stand_in_icons.h"
#include "testing/ui/scripted_file_dialogs.h"
#include "testing/ui/scripted_message_boxes.h"
#include "ui/app/entry_history.h"
#include "ui/seams/dialog_runner.h"
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
void AddEntries(CMORKA2Doc& doc, const std::string& folder, int count, std::mt19937& random) {
    std::vector<int> numbers(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) numbers[static_cast<std::size_t>(i)] = i;
    std::shuffle(numbers.begin(), numbers.end(), random);
    for (const int n : numbers) {
        const std::string name = std::to_string(n);
        doc.m_EntryList.Append(folder + "報告書" + name + ".doc", "Report " + name,
                               n % 7 == 0 ? "first line\r\nsecond line" : "");
    }
}

struct Panes {
    explicit Panes(CMORKA2Doc& doc) {
        auto* layout = new QHBoxLayout(&window);
        tree = new CMORKA2TView(doc, shell, messages, &window);
        list = new CMORKA2View(doc, services, &window);
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
    CMORKA2TView* tree;
    CMORKA2View* list;
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
void FillBigHolder(CMORKA2Doc& doc, std::mt19937& random) {
    AddEntries(doc, "C:\\Big\\", 100000, random);
    AddEntries(doc, "C:\\Small\\", 10, random);
    doc.RebuildHolders();
    doc.m_strLastHolder = "Big";
}

void BigHolder() {
    std::mt19937 random(42);
    CMORKA2Doc doc;
    FillBigHolder(doc, random);
    doc.m_strSelected = "Report 99999";
    Panes panes(doc);
    std::printf("first fill of both panes, 100,000 entries listed: %.3f s\n",
                Seconds([&] { doc.UpdateAllViews(nullptr); }));
    const struct {
        const char* name;
        void (CMORKA2View::*command)();
    } modes[] = {{"report", &CMORKA2View::OnViewDetails},
                 {"large icons", &CMORKA2View::OnViewLargeIcon},
                 {"small icons", &CMORKA2View::OnViewSmallIcon},
                 {"list", &CMORKA2View::OnViewList}};
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
        CMORKA2Doc doc;
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
        if (doc.m_EntryList.size() != 10)
            std::printf("the deletion left %zu entries\n", doc.m_EntryList.size());
        undo.push_back(Seconds([&] { history.Undo(); }));
        if (doc.m_EntryList.size() != 100010)
            std::printf("the undo left %zu entries\n", doc.m_EntryList.size());
        redo.push_back(Seconds([&] { history.Redo(); }));

        CMORKA2Doc bare;
        AddEntries(bare, "C:\\Big\\", 100000, random);
        bare.RebuildHolders();
        std::vector<POSITION> all;
        for (const CDocEntry& e : bare.m_EntryList) all.push_back(&e);
        std::vector<PlacedEntry> removed;
        core.push_back(Seconds([&] {
            removed = bare.m_EntryList.RemoveMany(all);
            bare.RebuildHolders();
        }));
        coreBack.push_back(Seconds([&] {
            bare.m_EntryList.Restore(removed);
            bare.RebuildHolders();
        }));
    }
    Report("delete of 100,000 selected entries in the report:", window);
    Report("its undo, the list refilled with 100,000:", undo);
    Report("its redo:", redo);
    Report("RemoveMany + holders of 100,000 entries alone:", core);
    Report("Restore + holders of 100,000 entries alone:", coreBack);
}

void MillionEntries() {
    std::mt19937 random(7);
    CMORKA2Doc doc;
    doc.m_EntryList.Reserve(1000000);
    // 1,800 holders of 500 entries under 60 parents, and one holder of 100,000.
    for (int parent = 0; parent < 60; ++parent)
        for (int child = 0; child < 30; ++child)
            AddEntries(
                doc,
                "D:\\Archive\\p" + std::to_string(parent) + "\\c" + std::to_string(child) + "\\",
                500, random);
    AddEntries(doc, "C:\\Big\\", 100000, random);
    doc.RebuildHolders();
    std::printf("catalogue: %zu entries in %zu holders\n", doc.m_EntryList.size(),
                doc.m_HolderList.size());
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
    const bool onlyDelete = argc > 1 && std::string(argv[1]) == "--delete";
    if (!onlyDelete) kantoria::BigHolder();
    kantoria::DeleteSelected();
    if (!onlyDelete) kantoria::MillionEntries();
    return 0;
}

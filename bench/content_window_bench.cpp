// The find field reading documents, in the whole window offscreen: a catalogue of N text
// documents (10,000 unless told) is indexed in the background while a timer measures how
// long the window's event loop is held; then keystrokes are timed from the field's change to
// the list showing the documents' hits merged with the catalogue's own find. A report, not a
// test.
//
// Usage: kantoria-bench-content-window [DOCUMENTS] [WORK_DIR]
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "core/os/environment.h"
#include "testing/core/desktop_shell_memory.h"
#include "testing/core/file_types_memory.h"
#include "testing/core/no_instances.h"
#include "testing/core/settings_memory.h"
#include "testing/core/stand_in_icons.h"
#include "testing/ui/scripted_file_dialogs.h"
#include "testing/ui/scripted_message_boxes.h"
#include "ui/app/application.h"
#include "ui/frame/content_find.h"
#include "ui/frame/frame_views.h"
#include "ui/frame/main_window.h"
#include "ui/seams/dialog_runner.h"
#include "ui/views/entry_list_view.h"

namespace kantoria {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

class NoDialogs final : public DialogRunner {
  public:
    int DoModal(QDialog&) override { return 0; }
};

struct Window {
    MemorySettingsStore settings;
    ScriptedMessageBoxes messages;
    ScriptedFileDialogs files;
    NoDialogs dialogs;
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

const char* const kWords[] = {"会議", "資料", "売上", "契約", "報告", "予算",   "計画", "顧客",
                              "製品", "品質", "納期", "請求", "見積", "議事録", "担当", "確認"};

// Documents of a few hundred characters, each with a marker of its own; made once, kept.
std::vector<std::string> MakeDocuments(const fs::path& folder, int count) {
    fs::create_directories(folder);
    std::mt19937 random(7);
    std::vector<std::string> paths;
    for (int n = 0; n < count; ++n) {
        const fs::path path = folder / ("文書" + std::to_string(n) + ".txt");
        paths.push_back(path.string());
        if (fs::exists(path)) continue;
        std::ofstream out(path);
        for (int w = 0; w < 60; ++w) out << kWords[random() % std::size(kWords)] << "について。";
        out << "識別" << n << "番\n";
    }
    return paths;
}

double Percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1,
                           static_cast<std::size_t>(p * static_cast<double>(values.size())))];
}

}  // namespace
}  // namespace kantoria

int main(int argc, char** argv) {
    using namespace kantoria;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const int count = argc > 1 ? std::atoi(argv[1]) : 10000;
    const fs::path work = argc > 2 ? argv[2] : "/tmp/kantoria-content-window-bench";
    qputenv("XDG_CACHE_HOME", (work / "cache").string().c_str());
    qputenv("KANTORIA_EXTRACT", KANTORIA_EXTRACT_PROGRAM);
    fs::remove_all(work / "cache");
    QApplication qt(argc, argv);
    const std::vector<std::string> documents = MakeDocuments(work / "docs", count);

    Window w;
    w.app.NewDocument();
    MainWindow& frame = *w.app.MainFrame();
    frame.ShowAtSavedPlace();
    Catalogue& doc = w.app.Document()->Doc();
    for (std::size_t n = 0; n < documents.size(); ++n)
        doc.Entries().Append(documents[n], "文書" + std::to_string(n), "");
    doc.RebuildHolders();
    doc.UpdateAllViews(nullptr);
    ContentFind& content = *frame.ContentSearch();
    content.SetEnabled(true);
    // The window's first paint and file checks are not the index's doing.
    const auto settle = Clock::now();
    while (Clock::now() - settle < std::chrono::seconds(2)) QCoreApplication::processEvents();

    // The event loop's stalls: a timer that should fire every 5 ms, and how late it came.
    std::vector<double> stalls;
    auto last = Clock::now();
    QTimer tick;
    tick.setInterval(5);
    double longestAt = 0;  // seconds into the indexing
    auto started = Clock::now();
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        stalls.push_back(std::chrono::duration<double, std::milli>(now - last).count() - 5);
        if (stalls.back() >= *std::max_element(stalls.begin(), stalls.end()))
            longestAt = std::chrono::duration<double>(now - started).count();
        last = now;
    });
    QSignalSpy updated(&content, &ContentFind::IndexUpdated);
    started = Clock::now();
    last = started;
    tick.start();
    frame.SetDocumentPath((work / "bench.znl").string());
    while (updated.isEmpty()) updated.wait(600000);
    tick.stop();
    const double indexSeconds = std::chrono::duration<double>(Clock::now() - started).count();
    std::printf("indexed %d documents in the background: %.1f s\n", count, indexSeconds);
    std::printf(
        "event loop held while indexing: longest %.1f ms, 99th percentile %.1f ms "
        "(%zu ticks)\n",
        *std::max_element(stalls.begin(), stalls.end()), Percentile(stalls, 0.99), stalls.size());

    // Keystrokes: a marker of one document, words many hold, a title word with a text word.
    std::vector<double> keystrokes;
    std::mt19937 random(11);
    for (int q = 0; q < 60; ++q) {
        const int n = static_cast<int>(random() % static_cast<unsigned>(count));
        const std::string text =
            q % 3 == 0   ? "識別" + std::to_string(n) + "番"
            : q % 3 == 1 ? std::string(kWords[static_cast<std::size_t>(q) % std::size(kWords)])
                         : "文書" + std::to_string(n) + " 会議";
        QSignalSpy shown(&content, &ContentFind::AnswerShown);
        const auto typed = Clock::now();
        frame.FindField()->setText(QString::fromStdString(text));
        if (!shown.wait(10000)) std::printf("no answer for %s\n", text.c_str());
        keystrokes.push_back(
            std::chrono::duration<double, std::milli>(Clock::now() - typed).count());
    }
    std::printf(
        "keystroke to merged list over %d documents: median %.1f ms, 95th percentile "
        "%.1f ms, slowest %.1f ms\n",
        count, Percentile(keystrokes, 0.5), Percentile(keystrokes, 0.95),
        *std::max_element(keystrokes.begin(), keystrokes.end()));
    const auto slowest = std::max_element(keystrokes.begin(), keystrokes.end());
    std::printf("  the slowest was keystroke %td of %zu\n", slowest - keystrokes.begin() + 1,
                keystrokes.size());
    const char* const kinds[] = {"a marker of one document", "a word most documents hold",
                                 "a title word and a text word"};
    for (std::size_t kind = 0; kind < 3; ++kind) {
        std::vector<double> these;
        for (std::size_t q = kind; q < keystrokes.size(); q += 3) these.push_back(keystrokes[q]);
        std::printf("  %s: median %.1f ms, 95th percentile %.1f ms\n", kinds[kind],
                    Percentile(these, 0.5), Percentile(these, 0.95));
    }
    return 0;
}

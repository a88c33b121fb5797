// A path enters the catalogue only if the file will give it back: every way in refuses the
// same paths, and exactly those the reader would misread.
#include <gtest/gtest.h>

#include <string>

#include "core/app/entry_editing.h"
#include "core/catalogue/catalogue_csv.h"
#include "core/catalogue/catalogue_format.h"
#include "core/views/entry_commands_logic.h"
#include "core/views/holder_relocation.h"
#include "testing/core/file_types_memory.h"
#include "testing/core/icon_fakes.h"

namespace kantoria {
namespace {

using namespace std::string_literals;

class StringSink final : public ByteSink {
  public:
    explicit StringSink(std::string& bytes) : bytes_(bytes) {}
    bool Write(std::string_view bytes) override {
        bytes_ += bytes;
        return true;
    }
    const Status& status() const override { return status_; }

  private:
    std::string& bytes_;
    Status status_ = Status::Ok();
};

// Types "T" and OK once; counts the refusals.
class OnceEditor final : public EntryEditor {
  public:
    int refusals = 0;
    bool Edit(EntryFields& fields) override {
        fields.title = "T";
        return true;
    }
    void Refuse(std::string_view) override { ++refusals; }
};

struct PathCase {
    std::string path;
    bool storable;
};

const PathCase kPaths[] = {
    {"SELECTED=x", false},
    {"LASTHOLDER", false},
    {"TITLEWIDTH/a.txt", false},
    {"COMMENTWIDTH\\a", false},
    {"PATHWIDTHS.txt", false},
    {"/nn/a\0b.txt"s, false},
    {"/nn/a\tb.txt", false},
    {"/nn/a\nb.txt", false},
    // The reader matches the keys at the line's start, letter case counting.
    {"Selected.txt", true},
    {"/SELECTED/a.txt", true},
    {"C:\\LASTHOLDER.doc", true},
    {"xPATHWIDTH", true},
    {"SELECTE", true},
    {"/nn/a\x01\x7f b.txt", true},  // other control characters are legal in names
};

TEST(StorablePath, EveryWayInRefusesWhatTheFileCannotGiveBack) {
    for (const PathCase& c : kPaths) {
        SCOPED_TRACE(::testing::PrintToString(c.path));
        // The file itself: what is storable reads back as the one entry written.
        if (c.path.find('\0') == std::string::npos) {
            Catalogue written;
            written.Entries().Append(c.path, "T", "");
            std::string bytes;
            StringSink sink(bytes);
            ASSERT_TRUE(WriteCatalogue(written, Encoding::Utf8, sink).ok());
            Catalogue read;
            ReadCatalogue(read, bytes);
            const bool same =
                read.Entries().size() == 1 && read.Entries().begin()->Path() == c.path;
            EXPECT_EQ(same, c.storable);
        }
        Catalogue doc;
        const CsvImport imported = ImportCsv(doc, "path,title,comment\n\"" + c.path + "\",T,\n");
        EXPECT_EQ(imported.added.size(), c.storable ? 1u : 0u);

        MemoryFileTypes types;
        test::FakeIconFactory icons;
        test::MapEnvironment env{{}};
        const IconServices services{types, icons, env};
        OnceEditor adding;
        EXPECT_EQ(AddFile(doc, c.path, adding, services), c.storable);
        EXPECT_EQ(adding.refusals, c.storable ? 0 : 1);
        Catalogue pasteInto;
        pasteInto.SetClipPath("/c/x.txt");
        OnceEditor pasting;
        EXPECT_EQ(AddEntryAs(pasteInto, PasteProposal(pasteInto, c.path), pasting, services),
                  c.storable);
        EXPECT_EQ(pasting.refusals, c.storable ? 0 : 1);

        Catalogue moving;
        moving.Entries().Append("/keep/a.txt", "A", "");
        moving.RebuildHolders();
        const RelocationPlan plan = PlanRelocation(moving, "/keep", c.path, nullptr);
        EXPECT_EQ(plan.moves.size(), c.storable ? 1u : 0u);
    }
}

}  // namespace
}  // namespace kantoria

#include "core/icons/rebuild_icons.h"

#include <gtest/gtest.h>

#include "testing/core/file_types_memory.h"
#include "testing/core/icon_fakes.h"

namespace kantoria {
namespace {

using test::Images;
using Strings = std::vector<std::string>;

class RebuildIconsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(types_.LoadTable(KANTORIA_TEST_DATA "/file_types.txt").ok());
        icons_.icons = {"C:\\Windows\\system32\\imageres.dll@-102",
                        "C:\\Program Files\\Office\\WORDICON.EXE@1",
                        "C:\\Program Files\\Office\\WORDICON.EXE@13",
                        "C:\\Browser\\browser.exe@0",
                        "C:\\Windows\\notepad.exe@0",
                        "C:\\Icons\\set.dll@7"};
    }

    void Add(const std::string& path) { doc_.Entries().Append(path, path, ""); }

    void Rebuild() { RebuildIcons(doc_, {types_, icons_, env_}); }

    std::vector<int> ImageIndexes() const {
        std::vector<int> out;
        for (const Entry& e : doc_.Entries()) out.push_back(e.ImageIndex());
        return out;
    }

    // One image per extension in each list, in step with the extension list.
    Strings CheckedImages() const {
        EXPECT_EQ(Images(doc_.LargeImages()), Images(doc_.SmallImages()));
        EXPECT_EQ(Images(doc_.LargeImages()).size(), doc_.Extensions().size());
        return Images(doc_.LargeImages());
    }

    MemoryFileTypes types_;
    test::FakeIconFactory icons_;
    test::MapEnvironment env_{{{"SystemRoot", "C:\\Windows"}}};
    Catalogue doc_;
};

TEST_F(RebuildIconsTest, OneElementPerExtensionWithoutRegardToCase) {
    Add("C:\\a\\x.DOC");
    Add("C:\\b\\y.doc");
    Rebuild();
    EXPECT_EQ(doc_.Extensions(), Strings{".DOC"});
    EXPECT_EQ(ImageIndexes(), (std::vector<int>{0, 0}));
    EXPECT_EQ(CheckedImages(), Strings{"C:\\Program Files\\Office\\WORDICON.EXE@1"});
}

TEST_F(RebuildIconsTest, ExtensionsInOrderOfFirstAppearance) {
    Add("C:\\a\\1.txt");
    Add("C:\\a\\2.doc");
    Add("C:\\b\\3.TXT");
    Rebuild();
    EXPECT_EQ(doc_.Extensions(), (Strings{".txt", ".doc"}));
    EXPECT_EQ(ImageIndexes(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(CheckedImages(), (Strings{"C:\\Windows\\system32\\imageres.dll@-102",
                                        "C:\\Program Files\\Office\\WORDICON.EXE@1"}));
}

TEST_F(RebuildIconsTest, FallsBackToTheProgramThenToTheDefaultIcon) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"C:\\a.bmp", "default"},  // %ProgramFiles% unset: \Paint\paint.exe, no program
        {"C:\\a.html", "C:\\Browser\\browser.exe@0"},  // icon file missing
        {"C:\\a.jpg", "default"},                      // neither the icon nor the program's
        {"C:\\a.cfg", "default"},      // a program, but no icon value: the lookup failed
        {"C:\\a.noclass", "default"},  // the extension names no type
        {"C:\\a.unknown", "default"},  // nothing registered at all
        {"C:\\a.DOCX", "C:\\Program Files\\Office\\WORDICON.EXE@13"},  // unquoted
    };
    Strings expected;
    for (const auto& [path, image] : cases) {
        Add(path);
        expected.push_back(image);
    }
    Rebuild();
    EXPECT_EQ(CheckedImages(), expected);
}

TEST_F(RebuildIconsTest, FilesWithoutExtensionShareTheDefaultIcon) {
    Add("C:\\v1.2\\README");  // the lookup key would be ".2\README"
    Add("C:\\Docs\\Makefile");
    Add("C:\\Docs\\a.txt");
    Rebuild();
    EXPECT_EQ(doc_.Extensions(), (Strings{"", ".txt"}));
    EXPECT_EQ(ImageIndexes(), (std::vector<int>{0, 0, 1}));
    EXPECT_EQ(CheckedImages(), (Strings{"default", "C:\\Windows\\system32\\imageres.dll@-102"}));
}

// Passes lookups on and remembers which files they were about.
class RecordingTypes final : public FileTypeRegistry {
  public:
    explicit RecordingTypes(FileTypeRegistry& inner) : inner_(inner) {}
    std::vector<ExtensionType> Extensions() override { return inner_.Extensions(); }
    std::optional<std::string> TypeNameOf(std::string_view key) override {
        keys.emplace_back(key);
        return inner_.TypeNameOf(key);
    }
    std::optional<std::string> Description(std::string_view t) override {
        return inner_.Description(t);
    }
    std::optional<std::string> DefaultIcon(std::string_view t) override {
        return inner_.DefaultIcon(t);
    }
    std::string AssociatedProgram(std::string_view path) override {
        programsAskedFor.emplace_back(path);
        return inner_.AssociatedProgram(path);
    }
    Strings keys, programsAskedFor;

  private:
    FileTypeRegistry& inner_;
};

TEST_F(RebuildIconsTest, OneLookupPerExtensionThroughItsFirstFile) {
    Add("C:\\a.log");
    Add("C:\\b.LOG");
    Add("C:\\c.txt");
    Add("C:\\d.txt");
    RecordingTypes recording(types_);
    RebuildIcons(doc_, {recording, icons_, env_});
    EXPECT_EQ(recording.keys, (Strings{".log", ".txt"}));
    EXPECT_EQ(recording.programsAskedFor, (Strings{"C:\\a.log", "C:\\c.txt"}));
    EXPECT_EQ(CheckedImages().size(), 2u);
}

TEST_F(RebuildIconsTest, ExtensionsLongerThanFifteenBytesGetTheDefaultIcon) {
    // Both are registered with an icon that exists; the longer one is neither cut nor
    // merged with the shorter, and is not looked up.
    Add("C:\\a.abcdefghijklmno");
    Add("C:\\a.abcdefghijklmn");
    Add("C:\\b.abcdefghijklmno");
    Rebuild();
    EXPECT_EQ(doc_.Extensions(), (Strings{".abcdefghijklmno", ".abcdefghijklmn"}));
    EXPECT_EQ(ImageIndexes(), (std::vector<int>{0, 1, 0}));
    EXPECT_EQ(CheckedImages(), (Strings{"default", "C:\\Icons\\set.dll@7"}));
}

TEST_F(RebuildIconsTest, AnIconFileTooLongForAWindowsPathFallsBackToTheProgram) {
    types_.SetDefaultIcon("deepfile", "C:\\" + std::string(300, 'd') + "\\deep.dll,1");
    types_.SetProgram(".deep", "C:\\Windows\\notepad.exe");
    Add("C:\\a.deep");
    Rebuild();
    EXPECT_EQ(CheckedImages(), Strings{"C:\\Windows\\notepad.exe@0"});
}

TEST_F(RebuildIconsTest, EveryRebuildStartsAfresh) {
    Add("C:\\a.doc");
    const EntryRef txt = doc_.Entries().Append("C:\\a.txt", "t", "");
    Add("C:\\a.html");
    Rebuild();
    doc_.Entries().Remove(txt);
    icons_.icons.erase("C:\\Browser\\browser.exe@0");  // the system changed meanwhile
    Rebuild();
    EXPECT_EQ(doc_.Extensions(), (Strings{".doc", ".html"}));
    EXPECT_EQ(ImageIndexes(), (std::vector<int>{0, 1}));
    EXPECT_EQ(CheckedImages(), (Strings{"C:\\Program Files\\Office\\WORDICON.EXE@1", "default"}));

    doc_.Entries().Clear();
    Rebuild();
    EXPECT_TRUE(doc_.Extensions().empty());
    EXPECT_TRUE(CheckedImages().empty());  // the lists exist, empty
}

}  // namespace
}  // namespace kantoria

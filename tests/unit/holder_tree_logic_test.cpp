#include "core/views/holder_tree_logic.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "core/views/shown_holder.h"
#include "core/views/shown_tree.h"

namespace kantoria {
namespace {

std::list<Holder> Holders(const std::vector<std::string>& folders) {
    std::list<Holder> holders;
    for (const std::string& f : folders) holders.push_back(Holder{f});
    return holders;
}

// The tree as text: labels in display order, children in brackets, root "/" shown as "/".
std::string Render(const HolderTree& tree, const std::vector<int>& nodes) {
    std::string out;
    for (const int i : nodes) {
        if (!out.empty()) out += ",";
        out += tree.node(i).folder == "/" ? "/" : tree.node(i).label;
        if (!tree.node(i).children.empty()) out += "[" + Render(tree, tree.node(i).children) + "]";
    }
    return out;
}

int NodeOf(const HolderTree& tree, std::string_view folder) {
    for (std::size_t i = 0; i < tree.size(); ++i)
        if (tree.node(static_cast<int>(i)).folder == folder) return static_cast<int>(i);
    ADD_FAILURE() << "no node for " << folder;
    return kNoHolderNode;
}

TEST(HolderLabel, IsTheLastFolderName) {
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\", "C:"},
        {"C:\\Docs\\A\\", "A"},
        {"D:\\Work\\", "Work"},
        {"/home/u/docs/", "docs"},
        {"/", ""},
        {"", ""},
        {"C:", "C"},
        {"C:/Docs\\A/", "A"},
        {"\\\\server\\share\\", "share"},
        {"/srv/a\\b/", "a\\b"},  // a Linux folder name may hold a backslash
    };
    for (const auto& [folder, label] : cases) EXPECT_EQ(HolderLabel(folder), label) << folder;
}

struct TreeCase {
    std::vector<std::string> holders;  // in holder-list order
    std::string rendered;
};

TEST(HolderTree, NestsOrdersAndLabelsHolders) {
    const TreeCase cases[] = {
        {{"C:\\Docs\\", "C:\\Docs\\A\\", "D:\\Work\\"}, "Docs[A],Work"},
        {{"C:\\Docs\\", "C:\\"}, "C:[Docs]"},
        // A holder whose parent folder is no holder hangs under the nearest one that is.
        {{"C:\\Docs\\", "C:\\Docs\\X\\Y\\"}, "Docs[Y]"},
        {{"C:\\DOCS\\", "c:\\docs\\sub\\"}, "DOCS[sub]"},
        // A folder string that merely occurs inside another is no parent.
        {{"/x/a/b/", "/a/"}, "a,b"},
        {{"C:\\x\\Doc\\", "C:\\Docs\\"}, "Doc,Docs"},
        {{"/home/u/docs/", "/", "/home/"}, "/[home[docs]]"},
        // Siblings by label without regard to case.
        {{"C:\\", "C:\\b\\", "C:\\A\\", "C:\\c\\"}, "C:[A,b,c]"},
        // ... by the code page 932 bytes: common kanji in reading order.
        {{"C:\\報告書\\", "C:\\文書\\", "C:\\売上\\", "C:\\書類\\"}, "書類,売上,文書,報告書"},
        // Mixed separators still nest.
        {{"C:/Docs/", "C:\\Docs\\A\\"}, "Docs[A]"},
        // ... but in a "/" path a backslash belongs to the name.
        {{"/x/a/", "/x/a\\b/", "/x/a\\b/c/"}, "a,a\\b[c]"},
        {{}, ""},
    };
    for (const TreeCase& c : cases) {
        const HolderTree tree = HolderTree::Build(Holders(c.holders));
        EXPECT_EQ(Render(tree, tree.roots()), c.rendered) << ::testing::PrintToString(c.holders);
        EXPECT_EQ(tree.size(), c.holders.size());
    }
}

TEST(HolderTree, EqualLabelsKeepInsertionOrder) {
    // Shorter folder strings are inserted first; of equally long ones the later holder first.
    HolderTree tree = HolderTree::Build(Holders({"C:\\A\\Docs\\", "D:\\Docs\\"}));
    ASSERT_EQ(tree.roots().size(), 2u);
    EXPECT_EQ(tree.node(tree.roots()[0]).folder, "D:\\Docs\\");
    EXPECT_EQ(tree.node(tree.roots()[1]).folder, "C:\\A\\Docs\\");
    tree = HolderTree::Build(Holders({"X:\\b\\", "Y:\\B\\"}));
    EXPECT_EQ(tree.node(tree.roots()[0]).folder, "Y:\\B\\");
    EXPECT_EQ(tree.node(tree.roots()[0]).row, 0);
    EXPECT_EQ(tree.node(tree.roots()[1]).row, 1);
}

// Work (bytes hashed and compared, lookups) must grow with the keys' total length whatever their
// shape; comparing each candidate prefix anew grows with the square of a key's length.
TEST(HolderParentFinder, WorkIsLinearInTheKeys) {
    struct Shape {
        const char* name;
        std::vector<std::string> keys;  // shortest first, as the tree adds them
        std::vector<int> parents;
    };
    std::vector<Shape> shapes = {{"one long key", {"\\", std::string(100000, '\\')}, {-1, 0}},
                                 {"a deep chain", {}, {}},
                                 {"long siblings", {"c:\\"}, {-1}}};
    for (int depth = 1; depth <= 400; ++depth) {
        shapes[1].keys.push_back(shapes[1].keys.empty() ? "a\\" : shapes[1].keys.back() + "a\\");
        shapes[1].parents.push_back(depth - 2);
    }
    for (int i = 0; i < 50; ++i) {
        shapes[2].keys.push_back("c:\\" + std::string(2000, 'x') + "\\" + std::to_string(i) + "\\");
        shapes[2].parents.push_back(0);
    }
    for (const Shape& shape : shapes) {
        HolderParentFinder finder;
        std::size_t bytes = 0;
        for (std::size_t i = 0; i < shape.keys.size(); ++i) {
            bytes += shape.keys[i].size();
            EXPECT_EQ(finder.Add(shape.keys[i], static_cast<int>(i)), shape.parents[i])
                << shape.name << " " << i;
        }
        EXPECT_LE(finder.Work(), 3 * bytes) << shape.name;
    }
}

TEST(HolderTree, LabelPathJoinsTheLabelsFromTheTop) {
    const HolderTree tree = HolderTree::Build(
        Holders({"C:\\Docs\\", "C:\\Docs\\A\\", "C:\\", "/", "/home/u/docs/", "E:\\Docs\\"}));
    EXPECT_EQ(tree.LabelPath(NodeOf(tree, "C:\\Docs\\A\\")), "C:\\Docs\\A");
    EXPECT_EQ(tree.LabelPath(NodeOf(tree, "E:\\Docs\\")), "Docs");
    EXPECT_EQ(tree.LabelPath(NodeOf(tree, "/")), "");
    EXPECT_EQ(tree.LabelPath(NodeOf(tree, "/home/u/docs/")), "\\docs");
}

TEST(HolderTree, LabelPathWalkFindsTheStoredHolder) {
    const HolderTree tree = HolderTree::Build(
        Holders({"C:\\", "C:\\Data\\", "C:\\Data\\Data\\", "D:\\Work\\", "D:\\Work\\Sub\\"}));
    const std::pair<std::string, std::string> cases[] = {
        {"C:\\Data\\Data", "C:\\Data\\Data\\"},
        {"C:\\Data", "C:\\Data\\"},
        {"\\\\C:\\Data", "C:\\Data\\"},  // leading backslashes are dropped
        {"Work\\Sub", "D:\\Work\\Sub\\"},
        // Not found among the top-level items: the walk goes on under the last of them.
        {"Sub", "D:\\Work\\Sub\\"},
        {"C:\\Data\\", ""},  // a path that ends with a separator names nothing
        {"c:\\data", ""},    // components compare exactly
        {"C:\\Nothing", ""},
        {"", ""},
        {"D:\\Work", ""},  // "D:" is no holder
    };
    for (const auto& [path, folder] : cases) {
        const int found = tree.FindByLabelPath(path);
        EXPECT_EQ(found == kNoHolderNode ? "" : tree.node(found).folder, folder) << path;
    }
    EXPECT_EQ(HolderTree::Build({}).FindByLabelPath("C:"), kNoHolderNode);
}

TEST(HolderTree, PosixRootHasAnEmptyLabelAndItsChildrenAreFound) {
    const HolderTree tree = HolderTree::Build(
        Holders({"/home/u/", "/", "/home/u/docs/", "/srv/a/", "/srv/a\\b/", "/srv/a\\b/c\\d/"}));
    EXPECT_EQ(tree.FindByLabelPath(""), NodeOf(tree, "/"));
    // Labels joined by backslashes, some holding one: the labels decide, not the backslashes.
    EXPECT_EQ(tree.FindByLabelPath("\\a\\b\\c\\d"), NodeOf(tree, "/srv/a\\b/c\\d/"));
    for (const char* folder :
         {"/home/u/", "/home/u/docs/", "/srv/a/", "/srv/a\\b/", "/srv/a\\b/c\\d/"}) {
        const int node = NodeOf(tree, folder);
        EXPECT_EQ(tree.FindByLabelPath(tree.LabelPath(node)), node) << folder;
    }
}

TEST(ShownHolder, TheClickedItemOfEqualLabelPathsStaysShown) {
    Catalogue doc;
    const std::list<Holder> holders = Holders({"C:\\A\\Docs\\", "D:\\Docs\\"});
    const HolderTree tree = HolderTree::Build(holders);
    const int c = NodeOf(tree, "C:\\A\\Docs\\"), d = NodeOf(tree, "D:\\Docs\\");
    doc.SetLastHolder("Docs");
    EXPECT_EQ(ShownHolder(tree, doc), d);  // the walk meets D:\Docs\ first
    ChooseHolder(doc, tree, c);
    EXPECT_EQ(doc.LastHolder(), "Docs");
    EXPECT_EQ(ShownHolder(HolderTree::Build(holders), doc), c);
    // Once the path changes elsewhere (a file loaded, a new catalogue), the walk decides.
    doc.SetLastHolder("Other");
    EXPECT_EQ(ShownHolder(tree, doc), kNoHolderNode);
    doc.ResetHeader();
    EXPECT_FALSE(doc.LastHolderFolder().has_value());
}

}  // namespace
}  // namespace kantoria

namespace kantoria {
namespace {

// The shown tree as text, folder nodes in angle brackets.
std::string RenderShown(const ShownTree& tree, const std::vector<int>& nodes) {
    std::string out;
    for (const int i : nodes) {
        const ShownNode& n = tree.node(i);
        if (!out.empty()) out += ",";
        out += n.holder == kNoHolderNode ? "<" + n.label + ">" : (n.folder == "/" ? "/" : n.label);
        if (!n.children.empty()) out += "[" + RenderShown(tree, n.children) + "]";
    }
    return out;
}

// Top-level holders hang under the folders they share, a run of single folders shows as one
// node, a folder that leads to one holder alone shows none, and holders keep their numbers.
TEST(ShownTree, FolderNodesJoinTopLevelHolders) {
    const TreeCase cases[] = {
        {{"/usr/share/doc/a/", "/usr/share/doc/b/", "/usr/lib/x/", "/usr/lib/x/y/"},
         "</usr>[<share/doc>[a,b],x[y]]"},
        {{"C:\\Docs\\A\\", "c:/docs/B\\", "D:\\Work\\"}, "<C:\\Docs>[A,B],Work"},
        {{"/x/Docs/a/", "/x/docs/b/"}, "</x>[a,b]"},
        {{"/", "/a/"}, "/[a]"},
        {{"/a/one/", "/b/two/"}, "</>[one,two]"},
    };
    for (const TreeCase& c : cases) {
        const HolderTree holders = HolderTree::Build(Holders(c.holders));
        const ShownTree shown = ShownTree::Build(holders, true);
        EXPECT_EQ(RenderShown(shown, shown.roots()), c.rendered) << c.rendered;
        EXPECT_EQ(RenderShown(ShownTree::Build(holders, false), holders.roots()),
                  Render(holders, holders.roots()));
        for (std::size_t i = 0; i < holders.size(); ++i)
            EXPECT_EQ(shown.node(static_cast<int>(i)).holder, static_cast<int>(i));
    }
}

}  // namespace
}  // namespace kantoria

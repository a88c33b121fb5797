// A test window with a document and both panes side by side, and helpers to click them.
#pragma once

#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QListView>
#include <QTest>
#include <QTreeView>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "core/catalogue/catalogue.h"
#include "testing/core/desktop_shell_memory.h"
#include "testing/core/file_types_memory.h"
#include "testing/core/settings_memory.h"
#include "testing/core/stand_in_icons.h"
#include "testing/ui/entry_dialog_script.h"
#include "testing/ui/scripted_file_dialogs.h"
#include "testing/ui/scripted_message_boxes.h"
#include "ui/views/entry_list_view.h"
#include "ui/views/holder_tree_model.h"
#include "ui/views/holder_tree_view.h"

namespace kantoria::test {

struct TestEntry {
    std::string path, title, comment;
};

class ViewsTest : public ::testing::Test {
  protected:
    // Fills the document, opens the window and gives both panes their initial update.
    void Open(const std::vector<TestEntry>& entries) {
        for (const TestEntry& e : entries) doc.Entries().Append(e.path, e.title, e.comment);
        doc.RebuildHolders();
        window = std::make_unique<QWidget>();
        auto* layout = new QHBoxLayout(window.get());
        tree = new HolderTreeView(doc, shell, messages, window.get());
        list = new EntryListView(doc, services, window.get());
        tree->SetList(list);
        layout->addWidget(tree);
        layout->addWidget(list, 1);
        window->resize(900, 400);
        window->show();
        doc.UpdateAllViews(nullptr);
    }

    // The tree index of the holder with this folder, its ancestors expanded so it can be hit.
    QModelIndex TreeIndex(std::string_view folder) {
        const HolderTreeModel* model = tree->holderModel();
        const int node = model->tree().FindByFolder(folder);
        EXPECT_NE(node, kNoHolderNode) << folder;
        const QModelIndex index = model->IndexOf(node);
        for (QModelIndex up = index.parent(); up.isValid(); up = up.parent()) tree->expand(up);
        return index;
    }
    void ClickTree(QPoint at, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(tree->viewport(), button, {}, at);
    }
    // On the item's label.
    void ClickHolder(std::string_view folder, Qt::MouseButton button = Qt::LeftButton) {
        ClickTree(tree->visualRect(TreeIndex(folder)).center(), button);
    }
    std::string ShownFolder() {
        const QModelIndexList selected = tree->selectionModel()->selectedIndexes();
        if (selected.isEmpty()) return "(none)";
        return tree->holderModel()
            ->tree()
            .node(tree->holderModel()->NodeOf(selected.front()))
            .folder;
    }
    std::string HighlightedFolder() {
        const int node = tree->holderModel()->NodeOf(tree->currentIndex());
        return node == kNoHolderNode ? "(none)" : tree->holderModel()->tree().node(node).folder;
    }

    std::vector<std::string> ListedTitles() {
        std::vector<std::string> titles;
        const EntryListModel* model = list->entryModel();
        for (int row = 0; row < model->rowCount(); ++row)
            titles.push_back(model->index(row, 0).data().toString().toStdString());
        return titles;
    }
    int RowOf(std::string_view title) {
        const EntryListModel* model = list->entryModel();
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->TitleAt(row) == title) return row;
        ADD_FAILURE() << "not listed: " << title;
        return -1;
    }
    QModelIndex ListIndex(std::string_view title, int column = 0) {
        return list->entryModel()->index(RowOf(title), column);
    }
    void ClickListItem(std::string_view title) {
        QAbstractItemView* view = list->currentView();
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(ListIndex(title)).center());
    }
    std::string SelectedTitle() {
        const EntryRef entry = list->GetSelectedEntry();
        return entry ? std::string(entry->Title()) : "(none)";
    }

    Catalogue doc;
    RecordingDesktopShell shell;
    ScriptedMessageBoxes messages;
    MemorySettingsStore settings;
    ScriptedFileDialogs files;
    EntryDialogScript dialogs;
    MemoryFileTypes types;
    StandInIconFactory icons;
    NoVariables environment;
    EntryListServices services{settings, messages, files,
                               dialogs,  shell,    {types, icons, environment}};
    std::unique_ptr<QWidget> window;
    HolderTreeView* tree = nullptr;  // children of window
    EntryListView* list = nullptr;
};

}  // namespace kantoria::test

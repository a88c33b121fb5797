#include "app/placeholder_views.h"

#include <QListWidget>
#include <QSplitter>
#include <QTreeWidget>
#include <algorithm>
#include <array>

#include "app/qt_text.h"
#include "resources/command_ids.h"

namespace kantoria {
namespace {

class PlaceholderTreeView final : public QTreeWidget, public CView {
  public:
    PlaceholderTreeView(QWidget* parent, CMORKA2Doc& doc) : QTreeWidget(parent), doc_(doc) {
        setHeaderHidden(true);
        doc_.AddObserver(this);
    }
    ~PlaceholderTreeView() override { doc_.RemoveObserver(this); }

    QWidget* Widget() override { return this; }
    void OnUpdate(CDocObserver*) override {
        clear();
        for (const CHolder& holder : doc_.m_HolderList)
            addTopLevelItem(new QTreeWidgetItem(QStringList{ToQt(holder.m_strFolder)}));
    }
    bool QueryCommand(int id, CommandState&) override { return id == ID_HOLDER_EXPLORER; }
    void RunCommand(int) override {}

  private:
    CMORKA2Doc& doc_;
};

class PlaceholderListView final : public QListWidget, public CView {
  public:
    PlaceholderListView(QWidget* parent, CMORKA2Doc& doc) : QListWidget(parent), doc_(doc) {
        doc_.AddObserver(this);
    }
    ~PlaceholderListView() override { doc_.RemoveObserver(this); }

    QWidget* Widget() override { return this; }
    void OnUpdate(CDocObserver*) override {
        clear();
        for (const CDocEntry& entry : doc_.m_EntryList) addItem(ToQt(entry.m_strTitle));
    }
    bool QueryCommand(int id, CommandState& state) override {
        if (std::find(kModes.begin(), kModes.end(), id) != kModes.end()) {
            state.checked = id == mode_;
            return true;
        }
        return std::find(kEntryCommands.begin(), kEntryCommands.end(), id) != kEntryCommands.end();
    }
    void RunCommand(int id) override {
        if (std::find(kModes.begin(), kModes.end(), id) == kModes.end()) return;
        mode_ = id;
        setViewMode(id == ID_VIEW_LARGEICON ? QListView::IconMode : QListView::ListMode);
    }

  private:
    static constexpr std::array kModes = {ID_VIEW_LARGEICON, ID_VIEW_SMALLICON, ID_VIEW_LIST,
                                          ID_VIEW_DETAILS};
    static constexpr std::array kEntryCommands = {
        ID_EDIT_CUT,     ID_EDIT_COPY,  ID_EDIT_PASTE,     ID_ENTRY_ADD,       ID_ENTRY_UPDATE,
        ID_ENTRY_DELETE, ID_ENTRY_OPEN, ID_ENTRY_EXPLORER, ID_ENTRY_PROPERTIES};

    CMORKA2Doc& doc_;
    int mode_ = ID_VIEW_DETAILS;
};

}  // namespace

FrameViews MakePlaceholderViews(QSplitter& splitter, const ViewContext& context) {
    auto* tree = new PlaceholderTreeView(&splitter, context.doc);
    auto* list = new PlaceholderListView(&splitter, context.doc);
    splitter.addWidget(tree);
    splitter.addWidget(list);
    return {tree, list};
}

}  // namespace kantoria

#include "ui/dialogs/auto_search_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>

#include "core/app/document_session.h"
#include "core/resources/string_table.h"
#include "core/search/extension_list.h"
#include "platform/qt/qt_text.h"
#include "ui/dialogs/dialog_fields.h"

namespace kantoria {

using Answer = MbAnswer;
using Buttons = MbButtons;
using Icon = MbIcon;

// The running search's window onto the user: a progress window with Cancel once the walk
// takes longer than a moment, and the question about folders that cannot be read. Events are
// handled between reports, so the program keeps painting and Cancel can be pressed.
class AutoSearchDialog::Progress final : public SearchListener {
  public:
    Progress(AutoSearchDialog& dialog, std::chrono::milliseconds showAfter)
        : dialog_(dialog), showAfter_(showAfter) {
        clock_.start();
    }

    bool cancelled = false;
    // The user chose to skip every unreadable folder from here on without being asked.
    bool skipAll = false;

    bool OnProgress(const SearchProgress& p) override {
        if (!window_ && clock_.elapsed() >= showAfter_.count()) Show();
        if (window_) {
            window_->setLabelText(
                ToQt(LoadString(IDS_SEARCH_PROGRESS))
                    .arg(ToDisplayQt(p.currentFolder), QString::number(p.foldersVisited),
                         QString::number(p.filesVisited), QString::number(p.found)));
            window_->setValue(0);
        }
        QApplication::processEvents();
        if (window_ && window_->wasCanceled()) cancelled = true;
        return !cancelled;
    }

    UnlistableFolder OnUnlistableFolder(const std::string& folder, const Status& status) override {
        const QString name = ToDisplayQt(folder);
        const QString why = ToQt(SystemReason(status));
        if (folder == dialog_.folder) {
            dialog_.Ask(ToQt(LoadString(IDS_SEARCH_CANNOT_OPEN)).arg(name, why), Buttons::Ok,
                        Icon::Exclamation);
            return UnlistableFolder::Stop;
        }
        if (skipAll) return UnlistableFolder::Skip;
        switch (dialog_.Ask(ToQt(LoadString(IDS_SEARCH_SKIP_UNREADABLE)).arg(name, why),
                            Buttons::UnreadableFolder, Icon::Question)) {
            case Answer::SkipAll:
                skipAll = true;
                return UnlistableFolder::Skip;
            case Answer::Yes:
                return UnlistableFolder::Skip;
            default:
                return UnlistableFolder::Stop;
        }
    }

    QProgressDialog* Window() const { return window_.get(); }

  private:
    void Show() {
        window_ = std::make_unique<QProgressDialog>(&dialog_);
        window_->setWindowTitle(ToQt(LoadString(IDS_SEARCH_CAPTION)));
        window_->setCancelButtonText(ToQt(LoadString(IDS_BUTTON_CANCEL)));
        window_->setRange(0, 0);  // the number of files is not known beforehand
        window_->setMinimumDuration(0);
        window_->setWindowModality(Qt::WindowModal);
        window_->setMinimumWidth(420);
        window_->show();
    }

    AutoSearchDialog& dialog_;
    std::chrono::milliseconds showAfter_;
    QElapsedTimer clock_;
    std::unique_ptr<QProgressDialog> window_;
};

AutoSearchDialog::AutoSearchDialog(Catalogue& doc, FileTypeRegistry& types, FolderLister& lister,
                                   MessageBoxes& messages, FileDialogs& files, QWidget* parent)
    : QDialog(parent),
      doc_(&doc),
      types_(types),
      messages_(messages),
      files_(files),
      search_(doc, lister) {
    setWindowTitle(ToQt(LoadString(IDS_SEARCH_CAPTION)));
    folderEdit_ = new QLineEdit(this);
    extensionBox_ = new QComboBox(this);
    extensionBox_->setEditable(true);
    extensionBox_->setInsertPolicy(QComboBox::NoInsert);
    extensionBox_->setMaxVisibleItems(12);
    subFoldersCheck_ = new QCheckBox(ToQt(LoadString(IDS_SEARCH_SUBFOLDERS)), this);
    useExtCheck_ = new QCheckBox(ToQt(LoadString(IDS_SEARCH_USE_EXTENSION)), this);
    auto* browse = new QPushButton(ToQt(LoadString(IDS_SEARCH_BROWSE)), this);
    auto* ok = new QPushButton(ToQt(LoadString(IDS_BUTTON_OK)), this);
    auto* cancel = new QPushButton(ToQt(LoadString(IDS_BUTTON_CANCEL)), this);
    ok->setDefault(true);
    folderEdit_->setObjectName(QStringLiteral("folder"));
    extensionBox_->setObjectName(QStringLiteral("extensions"));
    subFoldersCheck_->setObjectName(QStringLiteral("subFolders"));
    useExtCheck_->setObjectName(QStringLiteral("useExt"));
    browse->setObjectName(QStringLiteral("browse"));
    ok->setObjectName(QStringLiteral("ok"));
    cancel->setObjectName(QStringLiteral("cancel"));
    connect(browse, &QPushButton::clicked, this, &AutoSearchDialog::OnBnClickedBrowse);
    connect(ok, &QPushButton::clicked, this, &AutoSearchDialog::OnBnClickedOk);
    connect(cancel, &QPushButton::clicked, this, &AutoSearchDialog::reject);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(ToQt(LoadString(IDS_SEARCH_FOLDER)), this), 0, 0);
    grid->addWidget(folderEdit_, 1, 0);
    grid->addWidget(browse, 1, 1);
    grid->addWidget(useExtCheck_, 2, 0);
    grid->addWidget(extensionBox_, 3, 0);
    grid->addWidget(ok, 3, 1);
    grid->addWidget(subFoldersCheck_, 4, 0);
    grid->addWidget(cancel, 4, 1);
    grid->setColumnMinimumWidth(0, fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
    // The order of the controls as the user tabs through them.
    setTabOrder(folderEdit_, extensionBox_);
    setTabOrder(extensionBox_, browse);
    setTabOrder(browse, ok);
    setTabOrder(ok, cancel);
    setTabOrder(cancel, subFoldersCheck_);
    setTabOrder(subFoldersCheck_, useExtCheck_);
}

AutoSearchDialog::~AutoSearchDialog() = default;

void AutoSearchDialog::SetProgressInterval(std::chrono::milliseconds interval) {
    search_.progressInterval = interval;
}

void AutoSearchDialog::OnInitDialog() {
    const ExtensionBox box = FillExtensionList(types_);
    extensionBox_->clear();
    for (const std::string& line : box.lines) extensionBox_->addItem(ToDisplayQt(line));
    extensionBox_->setCurrentIndex(box.selected ? static_cast<int>(*box.selected) : -1);
    subFolders = true;
    UpdateData(false);
    folderEdit_->setFocus();
}

void AutoSearchDialog::UpdateData(bool fromControls) {
    if (fromControls) {
        folder = FromQt(folderEdit_->text());
        subFolders = subFoldersCheck_->isChecked();
        useExt = useExtCheck_->isChecked();
    } else {
        folderEdit_->setText(ToDisplayQt(folder));
        subFoldersCheck_->setChecked(subFolders);
        useExtCheck_->setChecked(useExt);
    }
}

std::string AutoSearchDialog::ChosenExtension() const {
    // A chosen line shows in the field as it stands, so the field alone decides.
    return ExtensionOfBoxText(FromQt(extensionBox_->currentText())).value_or(std::string());
}

void AutoSearchDialog::OnBnClickedBrowse() {
    if (searching_) return;
    const std::optional<std::string> chosen =
        files_.BrowseForFolder(LoadString(IDS_SEARCH_BROWSE_CAPTION), folder);
    if (!chosen) return;
    UpdateData(true);
    folder = *chosen;
    UpdateData(false);
}

void AutoSearchDialog::OnBnClickedOk() {
    if (searching_) return;
    UpdateData(true);
    if (folder.empty()) return;
    found = 0;
    const std::string extension = ChosenExtension();
    if (useExt && extension.empty()) {
        Ask(ToQt(LoadString(IDS_SEARCH_PICK_EXTENSION)), Buttons::Ok, Icon::Exclamation);
        return;
    }
    search_.subFolders = subFolders;
    search_.useExt = useExt;
    search_.extension = extension;
    if (!RunSearch()) return;
    found = search_.found;
    TellUnreadableFolders();
    TellSkippedFiles();
    if (found == 0) {
        Ask(ToQt(LoadString(IDS_SEARCH_NONE_FOUND)), Buttons::Ok, Icon::Exclamation);
        return;
    }
    const QString question = ToQt(LoadString(IDS_SEARCH_FOUND)).arg(found);
    if (Ask(question, Buttons::OkCancel, Icon::Exclamation) == Answer::Ok) {
        QDialog::accept();
        return;
    }
    // Not adding them means taking them back out; the user may search again.
    search_.TakeBack();
    found = 0;
}

bool AutoSearchDialog::RunSearch() {
    searching_ = true;
    setEnabled(false);  // no second search and no edits while this one runs
    progress_ = std::make_unique<Progress>(*this, search_.progressInterval * 2);
    const SearchStatus status = search_.ScanFolder(folder, progress_.get());
    skippedAll_ = progress_->skipAll;
    progress_.reset();
    setEnabled(true);
    searching_ = false;
    return status == SearchStatus::Completed;
}

// Folders skipped without a question are named once the walk is over; then every folder
// skipped is, as the command line lists them.
void AutoSearchDialog::TellUnreadableFolders() {
    if (!skippedAll_ || search_.unlistable.empty()) return;
    constexpr std::size_t kListed = 10;
    QString list;
    const std::size_t shown = std::min(search_.unlistable.size(), kListed);
    for (std::size_t i = 0; i < shown; ++i) {
        const SkippedFolder& skipped = search_.unlistable[i];
        list += ToQt(LoadString(IDS_SEARCH_UNREADABLE_ROW))
                    .arg(ToDisplayQt(skipped.folder), ToQt(SystemReason(skipped.why))) +
                '\n';
    }
    if (shown < search_.unlistable.size())
        list += ToQt(LoadString(IDS_SEARCH_MORE_FILES)).arg(search_.unlistable.size() - shown);
    Ask(ToQt(LoadString(IDS_SEARCH_UNREADABLE_LIST)).arg(list), Buttons::Ok, Icon::Information);
}

void AutoSearchDialog::TellSkippedFiles() {
    if (search_.skipped.empty()) return;
    QString list;
    const std::size_t shown = std::min<std::size_t>(search_.skipped.size(), 10);
    for (std::size_t i = 0; i < shown; ++i) list += ToDisplayQt(search_.skipped[i]) + '\n';
    if (shown < search_.skipped.size())
        list += ToQt(LoadString(IDS_SEARCH_MORE_FILES)).arg(search_.skipped.size() - shown);
    Ask(ToQt(LoadString(IDS_SEARCH_NOT_STORABLE)).arg(list), Buttons::Ok, Icon::Information);
}

void AutoSearchDialog::reject() {
    // The close box or Esc while the walk runs asks it to stop rather than closing under it.
    if (searching_) {
        if (progress_) progress_->cancelled = true;
        return;
    }
    QDialog::reject();
}

MbAnswer AutoSearchDialog::Ask(const QString& text, Buttons buttons, Icon icon) {
    return AskUser(messages_, FromQt(text), buttons, icon);
}

int AutoSearchDialog::DoModal() {
    OnInitDialog();
    return exec();
}

}  // namespace kantoria

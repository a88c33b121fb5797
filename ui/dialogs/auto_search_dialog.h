// The automatic search dialog: the user names a folder, whether its subfolders are searched
// and whether only one extension is taken; OK walks the folder, appending an entry for every
// file not registered yet, and asks whether to keep what it found.
#pragma once

#include <QDialog>

#include <memory>
#include <string>

#include "core/catalogue/catalogue.h"
#include "core/os/folder_lister.h"
#include "core/ports/file_types.h"
#include "core/search/auto_search.h"
#include "ui/seams/file_dialogs.h"
#include "ui/seams/message_box.h"

class QCheckBox;
class QComboBox;
class QLineEdit;

namespace kantoria {

class AutoSearchDialog : public QDialog {
    Q_OBJECT
  public:
    // None of the references is owned; all must outlive the dialog.
    AutoSearchDialog(Catalogue& doc, FileTypeRegistry& types, FolderLister& lister,
                     MessageBoxes& messages, FileDialogs& files, QWidget* parent = nullptr);
    ~AutoSearchDialog() override;

    int DoModal();
    // Fills the extension box and sets the opening choices; DoModal does this itself.
    void OnInitDialog();

    // How often the walk reports progress; tests shorten it.
    void SetProgressInterval(std::chrono::milliseconds interval);
    bool IsSearching() const { return searching_; }
    // The catalogue's file, which the search leaves out with its saves' files.
    void SetCatalogue(std::string path) { search_.catalogue = std::move(path); }

    Catalogue* doc_;  // not owned
    int found = 0;
    std::string folder;
    bool subFolders = false;
    bool useExt = false;

  public slots:
    void OnBnClickedBrowse();
    void OnBnClickedOk();
    void reject() override;

  private:
    class Progress;

    void UpdateData(bool fromControls);
    // The extension the box's field names (a chosen line or a typed extension); empty when
    // it names none.
    std::string ChosenExtension() const;
    // Walks folder; false when the walk did not end (stopped, cancelled, unreadable).
    bool RunSearch();
    void TellUnreadableFolders();
    void TellSkippedFiles();
    MbAnswer Ask(const QString& text, MbButtons buttons, MbIcon icon);

    FileTypeRegistry& types_;
    MessageBoxes& messages_;
    FileDialogs& files_;
    AutoSearch search_;
    QLineEdit* folderEdit_;
    QComboBox* extensionBox_;
    QCheckBox* subFoldersCheck_;
    QCheckBox* useExtCheck_;
    bool searching_ = false;
    bool skippedAll_ = false;  // the last walk skipped unreadable folders without asking
    std::unique_ptr<Progress> progress_;
};

}  // namespace kantoria

#include "ui/frame/find_controller.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <QTimer>

#include "core/text/find_fold.h"
#include "platform/qt/qt_text.h"
#include "ui/views/entry_list_view.h"

namespace kantoria {
namespace {

// Up to this many entries a find follows every keystroke at once; above, it waits for a pause
// in typing so that filling the list does not hold up the next key.
constexpr std::size_t kInstantFindEntries = 50000;
constexpr int kFindPauseMs = 150;

}  // namespace

FindController::FindController(QLineEdit& field, Catalogue& doc,
                               std::function<EntryListView*()> list, QObject* parent)
    : QObject(parent), field_(field), doc_(doc), list_(std::move(list)), pause_(new QTimer(this)) {
    pause_->setSingleShot(true);
    pause_->setInterval(kFindPauseMs);
    connect(pause_, &QTimer::timeout, this, [this] { Apply(); });
    connect(&field_, &QLineEdit::textChanged, this, [this] { OnTextChanged(); });
}

void FindController::OnTextChanged() {
    const bool empty = FindWords(FromQt(field_.text())).empty();
    if (empty || doc_.Entries().size() <= kInstantFindEntries) {
        pause_->stop();
        Apply();
    } else {
        pause_->start();
    }
}

void FindController::Apply() {
    EntryListView* list = list_();
    if (list == nullptr) return;
    const std::string text = FromQt(field_.text());
    if (FindWords(text).empty()) {
        // Only a find of ours is taken back: the missing files the list shows stay.
        if (!findShown_ || list->Content().kind != ListContent::Kind::Find) return;
        list->Show({});
        findShown_ = false;
        if (listener_) listener_({});
    } else {
        list->Show({ListContent::Kind::Find, text});
        findShown_ = true;
        if (listener_) listener_(text);
    }
    doc_.UpdateAllViews(nullptr);
}

void FindController::CatalogueUpdated() {
    const EntryListView* list = list_();
    if (!findShown_ || (list != nullptr && list->Content().kind == ListContent::Kind::Find)) return;
    findShown_ = false;
    pause_->stop();
    const QSignalBlocker quiet(&field_);
    field_.clear();
}

}  // namespace kantoria

// The toolbar's find field: as the user types, the entry list shows every entry of the
// catalogue that holds all the words, at once for a catalogue of ordinary size and after a
// pause in typing for a large one, so that filling the list never holds up the next key.
#pragma once

#include <QObject>
#include <functional>
#include <string>

#include "core/catalogue/catalogue.h"

class QLineEdit;
class QTimer;

namespace kantoria {

class EntryListView;

class FindController final : public QObject {
  public:
    // field and doc must outlive the controller; list answers the entry list, or null while
    // there is none.
    FindController(QLineEdit& field, Catalogue& doc, std::function<EntryListView*()> list,
                   QObject* parent);

    // After every change of the catalogue: a click on a holder, or another catalogue, ended
    // the find, and the field says so.
    void CatalogueUpdated();
    // Told the find's text each time the list takes it (empty when the find ends).
    void SetFindListener(std::function<void(const std::string&)> listener) {
        listener_ = std::move(listener);
    }

  private:
    void OnTextChanged();
    void Apply();

    QLineEdit& field_;
    Catalogue& doc_;
    std::function<EntryListView*()> list_;
    std::function<void(const std::string&)> listener_;
    QTimer* pause_;           // a child of this controller
    bool findShown_ = false;  // the list shows this field's find
};

}  // namespace kantoria

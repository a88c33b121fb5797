// The pane beside the entry list that shows the selected entry's document: PDF pages, a
// picture fitted to the pane, or the document's text with the find field's words marked.
// Whatever may take long (looking at the file, reading a picture, extracting text) runs on a
// thread of its own; an answer for a selection that has since changed is dropped, so the
// window never waits for a document.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/views/preview_text.h"

class QLabel;
class QPdfDocument;
class QPdfView;
class QPlainTextEdit;
class QStackedWidget;
class QTimer;

namespace kantoria {

class PreviewImage;
struct PreviewLoad;
struct PreviewMailbox;

class PreviewPane final : public QWidget {
  public:
    enum class Showing { Message, Pdf, Image, Text };

    explicit PreviewPane(QWidget* parent = nullptr);
    ~PreviewPane() override;

    // The documents selected, as the file system spells their paths: one is shown; none or
    // several say so. The same paths again change nothing.
    void ShowFiles(const std::vector<std::string>& systemPaths);
    // The find field's text: its words are marked in a shown text.
    void SetFindText(const QString& text);
    // Where documents' text comes from; the extraction program by default.
    void SetTextSource(PreviewTextSource source);

    Showing Shown() const;
    // The message shown, when one is.
    QString Message() const;
    // Whether an answer is awaited.
    bool Loading() const { return awaited_.has_value(); }
    QPdfDocument* Pdf() const { return pdf_; }
    QImage Image() const;
    QPlainTextEdit* TextView() const { return text_; }
    // The marked places of the shown text, as QString positions and lengths.
    std::vector<std::pair<int, int>> Marks() const;

  private:
    void Start();
    void Receive(std::uint64_t generation, PreviewLoad& load);
    void Clear();
    void ShowMessage(const QString& text);
    void ShowPdf(const std::string& path);
    void MarkWords();

    std::shared_ptr<PreviewMailbox> mailbox_;
    PreviewTextSource source_;
    std::vector<std::string> paths_;
    std::uint64_t generation_ = 0;
    std::optional<std::uint64_t> awaited_;
    QTimer* pause_;
    QStackedWidget* stack_;
    QLabel* message_;
    QPdfDocument* pdf_;
    QPdfView* pdfView_;
    PreviewImage* image_;
    QPlainTextEdit* text_;
    std::string shownText_;
    std::unique_ptr<FoldedText> folded_;
    std::vector<std::string> words_;
};

}  // namespace kantoria

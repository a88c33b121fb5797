#include "ui/views/preview_pane.h"

#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPdfDocument>
#include <QPdfView>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>

#include "core/os/system_path.h"
#include "core/resources/string_table.h"
#include "core/text/find_fold.h"
#include "platform/qt/qt_text.h"
#ifdef KANTORIA_CONTENT
#include "core/content/extraction.h"
#endif

namespace kantoria {

// A picture drawn whole in the middle of the pane: shrunk to fit, never enlarged.
class PreviewImage final : public QWidget {
  public:
    using QWidget::QWidget;
    void SetImage(QImage image) {
        image_ = std::move(image);
        update();
    }
    const QImage& Image() const { return image_; }

  protected:
    void paintEvent(QPaintEvent*) override {
        if (image_.isNull()) return;
        QSize size = image_.size();
        if (size.width() > width() || size.height() > height())
            size.scale(this->size(), Qt::KeepAspectRatio);
        QRect target(QPoint(), size);
        target.moveCenter(rect().center());
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, image_);
    }

  private:
    QImage image_;
};

// What a worker found out about one document.
struct PreviewLoad {
    enum class Outcome { Missing, Failed, Pdf, Image, Text };
    Outcome outcome = Outcome::Failed;
    std::string path;
    std::string reason;
    QImage image;
    QString text;
    std::string shownText;
    std::unique_ptr<FoldedText> folded;
};

// Where a worker hands its answer: to the pane while it lives, to no one after. A worker is
// never waited for (one may be stuck on a mount that does not answer), so it must not reach a
// pane that has gone.
struct PreviewMailbox {
    std::mutex mutex;
    QObject* receiver = nullptr;
    std::function<void(std::uint64_t, std::shared_ptr<PreviewLoad>)> deliver;
};

namespace {

constexpr int kPauseMs = 120;     // selection moving with the keys starts no work per row
constexpr int kImageSide = 4096;  // larger pictures are read scaled down

QString FileName(const std::string& systemPath) {
    return QFile::decodeName(QByteArray::fromStdString(systemPath));
}

const std::vector<std::string>& ImageSuffixes() {
    static const std::vector<std::string> suffixes = [] {
        std::vector<std::string> list;
        for (const QByteArray& format : QImageReader::supportedImageFormats())
            list.push_back(format.toLower().toStdString());
        list.erase(std::remove(list.begin(), list.end(), "pdf"), list.end());
        return list;
    }();
    return suffixes;
}

PreviewLoad Failed(std::string reason) {
    PreviewLoad load;
    load.reason = std::move(reason);
    return load;
}

PreviewLoad ReadImage(const std::string& path) {
    QImageReader reader(FileName(path));
    reader.setAutoTransform(true);
    const QSize size = reader.size();
    if (size.isValid() && (size.width() > kImageSide || size.height() > kImageSide))
        reader.setScaledSize(size.scaled(kImageSide, kImageSide, Qt::KeepAspectRatio));
    PreviewLoad load;
    load.image = reader.read();
    if (load.image.isNull()) return Failed(std::string(LoadString(IDS_PREVIEW_DAMAGED)));
    load.outcome = PreviewLoad::Outcome::Image;
    return load;
}

PreviewLoad ReadText(const std::string& path, const PreviewTextSource& source) {
    PreviewText found = source(path);
    if (!found.ok) return Failed(std::move(found.reason));
    PreviewLoad load;
    load.outcome = PreviewLoad::Outcome::Text;
    // Through QString once, so that the bytes marked and the characters shown agree even where
    // the text was not well-formed UTF-8.
    load.text = ToQt(PreviewShownText(std::move(found.text)));
    load.shownText = load.text.toStdString();
    load.folded = std::make_unique<FoldedText>(load.shownText);
    return load;
}

PreviewLoad LoadDocument(const std::string& path, const PreviewTextSource& source) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(SystemPath(path), error);
    if (status.type() == std::filesystem::file_type::not_found) {
        PreviewLoad load;
        load.outcome = PreviewLoad::Outcome::Missing;
        return load;
    }
    if (error) return Failed(error.message());
    switch (PreviewKindOf(path, ImageSuffixes())) {
        case PreviewKind::Pdf: {
            PreviewLoad load;
            load.outcome = PreviewLoad::Outcome::Pdf;
            load.path = path;
            return load;
        }
        case PreviewKind::Image:
            return ReadImage(path);
        case PreviewKind::Text:
            break;
    }
    return ReadText(path, source);
}

PreviewText ExtractedText(const std::string& systemPath) {
#ifdef KANTORIA_CONTENT
    ExtractionResult result = ExtractText(DefaultExtractor(), systemPath, RunLimits{});
    if (result.kind == Extracted::Text) return {true, std::move(result.text), {}};
    return {false, {}, std::move(result.reason)};
#else
    (void)systemPath;
    return {false, {}, std::string(LoadString(IDS_PREVIEW_DAMAGED))};
#endif
}

void Post(const std::shared_ptr<PreviewMailbox>& mailbox, std::uint64_t generation,
          PreviewLoad load) {
    auto shared = std::make_shared<PreviewLoad>(std::move(load));
    const std::lock_guard lock(mailbox->mutex);
    if (mailbox->receiver == nullptr) return;
    QMetaObject::invokeMethod(
        mailbox->receiver,
        [deliver = mailbox->deliver, generation, shared] { deliver(generation, shared); },
        Qt::QueuedConnection);
}

}  // namespace

PreviewPane::PreviewPane(QWidget* parent)
    : QWidget(parent),
      mailbox_(std::make_shared<PreviewMailbox>()),
      source_(&ExtractedText),
      pause_(new QTimer(this)),
      stack_(new QStackedWidget(this)),
      message_(new QLabel(stack_)),
      pdf_(new QPdfDocument(this)),
      pdfView_(new QPdfView(stack_)),
      image_(new PreviewImage(stack_)),
      text_(new QPlainTextEdit(stack_)) {
    setAccessibleName(ToQt(LoadString(IDS_NAME_PREVIEW)));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(stack_);
    message_->setAlignment(Qt::AlignCenter);
    message_->setWordWrap(true);
    message_->setMargin(12);
    message_->setTextFormat(Qt::PlainText);
    pdfView_->setDocument(pdf_);
    pdfView_->setPageMode(QPdfView::PageMode::MultiPage);
    pdfView_->setZoomMode(QPdfView::ZoomMode::FitToWidth);
    // Fitted to the width, the pages would make the vertical scroll bar come and go with it at
    // some widths, each change fitting them again, for ever: the bar stays, the width holds.
    pdfView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    pdfView_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setReadOnly(true);
    for (QWidget* page : std::initializer_list<QWidget*>{message_, pdfView_, image_, text_})
        stack_->addWidget(page);
    pause_->setSingleShot(true);
    pause_->setInterval(kPauseMs);
    connect(pause_, &QTimer::timeout, this, [this] { Start(); });
    mailbox_->receiver = this;
    mailbox_->deliver = [this](std::uint64_t generation, std::shared_ptr<PreviewLoad> load) {
        Receive(generation, *load);
    };
    ShowMessage(ToQt(LoadString(IDS_PREVIEW_NONE)));
}

PreviewPane::~PreviewPane() {
    const std::lock_guard lock(mailbox_->mutex);
    mailbox_->receiver = nullptr;
}

void PreviewPane::SetTextSource(PreviewTextSource source) {
    source_ = source ? std::move(source) : PreviewTextSource(&ExtractedText);
}

void PreviewPane::ShowFiles(const std::vector<std::string>& systemPaths) {
    if (systemPaths == paths_ && generation_ != 0) return;
    paths_ = systemPaths;
    ++generation_;
    pause_->stop();
    awaited_.reset();
    if (paths_.empty()) {
        ShowMessage(ToQt(LoadString(IDS_PREVIEW_NONE)));
    } else if (paths_.size() > 1) {
        ShowMessage(ToQt(FormatString(IDS_PREVIEW_MANY, {std::to_string(paths_.size())})));
    } else {
        awaited_ = generation_;
        pause_->start();
    }
}

void PreviewPane::Start() {
    if (awaited_ != generation_ || paths_.size() != 1) return;
    ShowMessage(ToQt(LoadString(IDS_PREVIEW_LOADING)));
    try {
        std::thread([mailbox = mailbox_, generation = generation_, path = paths_.front(),
                     source = source_] {
            Post(mailbox, generation, LoadDocument(path, source));
        }).detach();
    } catch (const std::system_error& error) {
        awaited_.reset();
        ShowMessage(ToQt(FormatString(IDS_PREVIEW_UNREADABLE, {error.what()})));
    }
}

void PreviewPane::Receive(std::uint64_t generation, PreviewLoad& load) {
    if (awaited_ != generation) return;  // for a selection that has changed since
    awaited_.reset();
    switch (load.outcome) {
        case PreviewLoad::Outcome::Missing:
            ShowMessage(ToQt(FormatString(IDS_PREVIEW_MISSING, {paths_.front()})));
            break;
        case PreviewLoad::Outcome::Failed:
            ShowMessage(ToQt(FormatString(IDS_PREVIEW_UNREADABLE, {load.reason})));
            break;
        case PreviewLoad::Outcome::Pdf:
            ShowPdf(load.path);
            break;
        case PreviewLoad::Outcome::Image:
            Clear();
            image_->SetImage(std::move(load.image));
            stack_->setCurrentWidget(image_);
            break;
        case PreviewLoad::Outcome::Text:
            Clear();
            shownText_ = std::move(load.shownText);
            folded_ = std::move(load.folded);
            text_->setPlainText(load.text);
            MarkWords();
            stack_->setCurrentWidget(text_);
            break;
    }
}

void PreviewPane::Clear() {
    if (pdf_->status() != QPdfDocument::Status::Null) pdf_->close();
    image_->SetImage({});
    text_->clear();
    shownText_.clear();
    folded_.reset();
}

void PreviewPane::ShowMessage(const QString& text) {
    Clear();
    message_->setText(text);
    stack_->setCurrentWidget(message_);
}

void PreviewPane::ShowPdf(const std::string& path) {
    Clear();
    const QPdfDocument::Error error = pdf_->load(FileName(path));
    if (error == QPdfDocument::Error::None) {
        stack_->setCurrentWidget(pdfView_);
        return;
    }
    const bool locked = error == QPdfDocument::Error::IncorrectPassword ||
                        error == QPdfDocument::Error::UnsupportedSecurityScheme;
    ShowMessage(ToQt(FormatString(
        IDS_PREVIEW_UNREADABLE, {LoadString(locked ? IDS_PREVIEW_LOCKED : IDS_PREVIEW_DAMAGED)})));
}

void PreviewPane::SetFindText(const QString& text) {
    std::vector<std::string> words = FindWords(FromQt(text));
    if (words == words_) return;
    words_ = std::move(words);
    MarkWords();
}

void PreviewPane::MarkWords() {
    QList<QTextEdit::ExtraSelection> marks;
    if (folded_ != nullptr) {
        QTextCharFormat format;
        format.setBackground(QColor(255, 225, 0));
        format.setForeground(QColor(Qt::black));
        // QString positions, counted from the text's bytes as the marks go.
        std::size_t byte = 0;
        int position = 0;
        const auto length = [this](std::size_t from, std::size_t to) {
            return static_cast<int>(
                QString::fromUtf8(shownText_.data() + from, static_cast<qsizetype>(to - from))
                    .size());
        };
        for (const TextRange& range : folded_->Ranges(words_)) {
            position += length(byte, range.begin);
            byte = range.begin;
            QTextCursor cursor(text_->document());
            cursor.setPosition(position);
            cursor.setPosition(position + length(range.begin, range.end), QTextCursor::KeepAnchor);
            marks.append({cursor, format});
        }
    }
    text_->setExtraSelections(marks);
}

PreviewPane::Showing PreviewPane::Shown() const {
    QWidget* current = stack_->currentWidget();
    if (current == pdfView_) return Showing::Pdf;
    if (current == image_) return Showing::Image;
    if (current == text_) return Showing::Text;
    return Showing::Message;
}

QString PreviewPane::Message() const {
    return Shown() == Showing::Message ? message_->text() : QString();
}

QImage PreviewPane::Image() const {
    return image_->Image();
}

std::vector<std::pair<int, int>> PreviewPane::Marks() const {
    std::vector<std::pair<int, int>> marks;
    for (const QTextEdit::ExtraSelection& mark : text_->extraSelections()) {
        const int start = mark.cursor.selectionStart();
        marks.emplace_back(start, mark.cursor.selectionEnd() - start);
    }
    return marks;
}

}  // namespace kantoria

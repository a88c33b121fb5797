#include "platform/qt/qt_icon_factory.h"

#include <QFileInfo>
#include <QIcon>
#include <QImageReader>
#include <QMimeDatabase>
#include <QMimeType>
#include <QPainter>
#include <QPainterPath>

#include "platform/freedesktop/default_application.h"

#include "platform/qt/qt_text.h"

namespace kantoria {
namespace {

// A file type's themed icon, or its generic one when the theme has no picture of its own
// (themes draw "x-office-spreadsheet", seldom "application-vnd.ms-excel"). The type's icon
// name is its MIME type with the first '/' written as '-'.
QIcon ThemedIcon(const QString& name) {
    if (QIcon::hasThemeIcon(name)) return QIcon::fromTheme(name);
    const qsizetype dash = name.indexOf(u'-');
    if (dash <= 0) return {};
    const QMimeType type =
        QMimeDatabase().mimeTypeForName(name.left(dash) + u'/' + name.mid(dash + 1));
    if (!type.isValid() || !QIcon::hasThemeIcon(type.genericIconName())) return {};
    return QIcon::fromTheme(type.genericIconName());
}

// A themed icon name or an image file.
QIcon PictureOf(const QString& source) {
    if (source.isEmpty()) return {};
    if (!QFileInfo(source).isAbsolute()) return ThemedIcon(source);
    if (!QFileInfo(source).isFile() || QImageReader::imageFormat(source).isEmpty()) return {};
    return QIcon(source);
}

// A themed icon name, an image file, or a program whose desktop entry names its icon.
QIcon IconOf(const QString& source) {
    const QIcon picture = PictureOf(source);
    if (!picture.isNull() || !QFileInfo(source).isExecutable()) return picture;
    return IconOfProgram(FromQt(source));
}

class QtIconListBuilder final : public IconListBuilder {
  public:
    bool AppendFileIcon(std::string_view file, int index) override {
        // Pictures on this desktop hold one icon each; resource numbers mean nothing here.
        if (index != 0) return false;
        const QIcon icon = IconOf(ToQt(file));
        if (icon.isNull()) return false;
        QPixmap large = icon.pixmap(kLargeIconSize);
        QPixmap small = icon.pixmap(kSmallIconSize);
        if (large.isNull() || small.isNull()) return false;
        Append(std::move(large), std::move(small));
        return true;
    }

    void AppendDefaultIcon() override {
        Append(BlankPagePicture(kLargeIconSize), BlankPagePicture(kSmallIconSize));
    }

    std::unique_ptr<ImageList> TakeLargeList() override { return std::move(large_); }
    std::unique_ptr<ImageList> TakeSmallList() override { return std::move(small_); }

  private:
    void Append(QPixmap large, QPixmap small) {
        large_->images.push_back(std::move(large));
        small_->images.push_back(std::move(small));
    }

    std::unique_ptr<QtImageList> large_ = std::make_unique<QtImageList>();
    std::unique_ptr<QtImageList> small_ = std::make_unique<QtImageList>();
};

}  // namespace

QIcon IconOfProgram(const std::string& program) {
    if (program.empty()) return {};
    return PictureOf(ToQt(ApplicationIconName(program)));
}

void ChooseIconTheme() {
    // Outside a desktop session Qt knows no theme; the desktop's own is the best guess.
    if (QIcon::hasThemeIcon(QStringLiteral("text-x-generic"))) return;
    for (const QString& theme : {QStringLiteral("Adwaita"), QStringLiteral("breeze")}) {
        QIcon::setThemeName(theme);
        if (QIcon::hasThemeIcon(QStringLiteral("text-x-generic"))) return;
    }
    QIcon::setThemeName(QString());
}

const std::vector<QPixmap>& ImagesOf(const ImageList* list) {
    static const std::vector<QPixmap> none;
    const auto* images = dynamic_cast<const QtImageList*>(list);
    return images ? images->images : none;
}

QPixmap BlankPagePicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing, size > kSmallIconSize);
    // A sheet a little narrower than tall, with its top right corner folded down.
    const qreal left = size * 0.1875, right = size * 0.8125 - 1, top = 0.5, bottom = size - 0.5;
    const qreal fold = size * 0.25;
    QPainterPath sheet;
    sheet.moveTo(left + 0.5, top);
    sheet.lineTo(right - fold + 0.5, top);
    sheet.lineTo(right + 0.5, top + fold);
    sheet.lineTo(right + 0.5, bottom);
    sheet.lineTo(left + 0.5, bottom);
    sheet.closeSubpath();
    painter.setPen(QPen(QColor(96, 96, 96), 1));
    painter.setBrush(Qt::white);
    painter.drawPath(sheet);
    QPainterPath corner;
    corner.moveTo(right - fold + 0.5, top);
    corner.lineTo(right - fold + 0.5, top + fold);
    corner.lineTo(right + 0.5, top + fold);
    painter.setBrush(QColor(224, 224, 224));
    painter.drawPath(corner);
    return picture;
}

std::unique_ptr<IconListBuilder> QtIconFactory::NewLists() {
    return std::make_unique<QtIconListBuilder>();
}

}  // namespace kantoria

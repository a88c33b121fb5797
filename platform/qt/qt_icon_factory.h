// Image lists of Qt pictures for the entry list: each file type's icon at 32 x 32 and 16 x 16,
// found as the desktop finds them (a themed icon name, an image file, or the icon of the
// program that opens the type), and a blank page for types without one.
#pragma once

#include <QIcon>
#include <QPixmap>

#include <memory>
#include <string>
#include <vector>

#include "core/ports/icon_factory.h"

namespace kantoria {

inline constexpr int kLargeIconSize = 32;
inline constexpr int kSmallIconSize = 16;

class QtImageList final : public ImageList {
  public:
    std::vector<QPixmap> images;
};

// The pictures of a list the document holds; empty when there is no list.
const std::vector<QPixmap>& ImagesOf(const ImageList* list);

// Makes sure themed icon names find pictures: when the session names no icon theme that has
// file-type pictures, the first installed desktop theme is used.
void ChooseIconTheme();

// The picture an installed program's desktop entry names (a themed icon or an image file); a
// null icon when no installed application runs program (a full path) or it names none.
QIcon IconOfProgram(const std::string& program);

// The program's own picture of a page without a type, drawn at size x size.
QPixmap BlankPagePicture(int size);

class QtIconFactory final : public IconFactory {
  public:
    std::unique_ptr<IconListBuilder> NewLists() override;
};

}  // namespace kantoria

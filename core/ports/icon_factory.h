// The seam between the icon rules, which are decided in the core, and the platform that reads
// icon files and draws them.
#pragma once

#include <memory>
#include <string_view>

namespace kantoria {

// An image list of the platform's making; the catalogue only owns it.
class ImageList {
  public:
    virtual ~ImageList() = default;
};

// Fills one pair of image lists, large (32 x 32) and small (16 x 16), an image at a time.
// Each call appends exactly one image to each list or, when it fails, none.
class IconListBuilder {
  public:
    virtual ~IconListBuilder() = default;

    // Appends icon index of file (a negative index names a resource id); false when the file
    // cannot be read or holds no such icon.
    virtual bool AppendFileIcon(std::string_view file, int index) = 0;
    // Appends the program's default icon: a blank page.
    virtual void AppendDefaultIcon() = 0;

    virtual std::unique_ptr<ImageList> TakeLargeList() = 0;
    virtual std::unique_ptr<ImageList> TakeSmallList() = 0;
};

class IconFactory {
  public:
    virtual ~IconFactory() = default;
    // A builder with two new, empty lists.
    virtual std::unique_ptr<IconListBuilder> NewLists() = 0;
};

}  // namespace kantoria

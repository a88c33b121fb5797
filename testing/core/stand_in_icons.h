// An icon factory that keeps no pictures, only their number: for tests and benchmarks, where the
// icon rules should run on every open without reading the desktop's icon theme.
#pragma once

#include <memory>

#include "core/ports/icon_factory.h"

namespace kantoria {

class CountedImageList final : public ImageList {
  public:
    int count = 0;
};

class StandInIconFactory final : public IconFactory {
  public:
    std::unique_ptr<IconListBuilder> NewLists() override { return std::make_unique<Builder>(); }

  private:
    class Builder final : public IconListBuilder {
      public:
        bool AppendFileIcon(std::string_view, int) override {
            AppendDefaultIcon();
            return true;
        }
        void AppendDefaultIcon() override {
            ++large_->count;
            ++small_->count;
        }
        std::unique_ptr<ImageList> TakeLargeList() override { return std::move(large_); }
        std::unique_ptr<ImageList> TakeSmallList() override { return std::move(small_); }

      private:
        std::unique_ptr<CountedImageList> large_ = std::make_unique<CountedImageList>();
        std::unique_ptr<CountedImageList> small_ = std::make_unique<CountedImageList>();
    };
};

}  // namespace kantoria

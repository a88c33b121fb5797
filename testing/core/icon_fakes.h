// Stand-ins for the platform in tests of the icon rules: an environment from a table and an
// icon factory whose "files" hold the icons a test names.
#pragma once

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "core/os/environment.h"
#include "core/ports/icon_factory.h"

namespace kantoria::test {

class MapEnvironment final : public Environment {
  public:
    MapEnvironment(std::map<std::string, std::string, std::less<>> vars) : vars_(std::move(vars)) {}
    std::optional<std::string> Get(std::string_view name) const override {
        const auto it = vars_.find(name);
        if (it == vars_.end()) return std::nullopt;
        return it->second;
    }

  private:
    std::map<std::string, std::string, std::less<>> vars_;
};

// An image list that records what was put in it: "file@index" or "default".
class FakeImageList final : public ImageList {
  public:
    std::vector<std::string> images;
};

inline const std::vector<std::string>& Images(const ImageList* list) {
    return dynamic_cast<const FakeImageList&>(*list).images;
}

class FakeIconFactory final : public IconFactory {
  public:
    // The icons that can be extracted, as "file@index".
    std::set<std::string> icons;

    std::unique_ptr<IconListBuilder> NewLists() override {
        return std::make_unique<Builder>(icons);
    }

  private:
    class Builder final : public IconListBuilder {
      public:
        explicit Builder(const std::set<std::string>& icons) : icons_(icons) {}
        bool AppendFileIcon(std::string_view file, int index) override {
            const std::string name = std::string(file) + "@" + std::to_string(index);
            if (icons_.count(name) == 0) return false;
            Append(name);
            return true;
        }
        void AppendDefaultIcon() override { Append("default"); }
        std::unique_ptr<ImageList> TakeLargeList() override { return std::move(large_); }
        std::unique_ptr<ImageList> TakeSmallList() override { return std::move(small_); }

      private:
        void Append(const std::string& name) {
            large_->images.push_back(name);
            small_->images.push_back(name);
        }
        const std::set<std::string>& icons_;
        std::unique_ptr<FakeImageList> large_ = std::make_unique<FakeImageList>();
        std::unique_ptr<FakeImageList> small_ = std::make_unique<FakeImageList>();
    };
};

}  // namespace kantoria::test

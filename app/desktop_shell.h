// Handing a document or a web address to the desktop, through a seam tests can watch.
#pragma once

#include <string>

namespace kantoria {

class DesktopShell {
  public:
    virtual ~DesktopShell() = default;
    // Opens url (a file:// address or a web address) with the desktop's program for it; false
    // when nothing could open it.
    virtual bool OpenUrl(const std::string& url) = 0;
};

class QtDesktopShell final : public DesktopShell {
  public:
    bool OpenUrl(const std::string& url) override;
};

}  // namespace kantoria

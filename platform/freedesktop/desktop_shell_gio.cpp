#include <gio/gio.h>

#include <memory>

#include "core/text/text_codec.h"
#include "platform/system_desktop_shell.h"

namespace kantoria {
namespace {

struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};

StatusCode CodeOf(const GError* error) {
    if (error == nullptr || error->domain != G_IO_ERROR) return StatusCode::Other;
    switch (error->code) {
        case G_IO_ERROR_NOT_FOUND:
            return StatusCode::NotFound;
        case G_IO_ERROR_PERMISSION_DENIED:
            return StatusCode::PermissionDenied;
        case G_IO_ERROR_NOT_SUPPORTED:
            return StatusCode::NoProgram;
        default:
            return StatusCode::Other;
    }
}

Status Failure(GError* error) {
    Status status = Status::Failed(CodeOf(error), error ? error->message : "unknown failure");
    if (error) g_error_free(error);
    return status;
}

// Hands path to the desktop's default handler for its type; GIO starts that program itself.
Status Launch(std::string_view path, GFileTest mustBe, const char* missing) {
    const std::string name = ToSystemName(path);
    GError* error = nullptr;
    const std::unique_ptr<gchar, GFree> uri(g_filename_to_uri(name.c_str(), nullptr, &error));
    if (!uri) return Failure(error);
    // The handler would start and complain on its own; a missing target is our failure.
    if (!g_file_test(name.c_str(), mustBe)) return Status::Failed(StatusCode::NotFound, missing);
    if (!g_app_info_launch_default_for_uri(uri.get(), nullptr, &error)) return Failure(error);
    return Status::Ok();
}

class GioDesktopShell final : public DesktopShell {
  public:
    Status OpenFolder(std::string_view folder) override {
        return Launch(folder, G_FILE_TEST_IS_DIR, "no such folder");
    }
    Status OpenFile(std::string_view file) override {
        return Launch(file, G_FILE_TEST_EXISTS, "no such file");
    }
    Status OpenUrl(std::string_view url) override {
        GError* error = nullptr;
        const std::string text(url);
        if (!g_app_info_launch_default_for_uri(text.c_str(), nullptr, &error))
            return Failure(error);
        return Status::Ok();
    }
};

}  // namespace

std::unique_ptr<DesktopShell> CreateDesktopShell() {
    return std::make_unique<GioDesktopShell>();
}

}  // namespace kantoria

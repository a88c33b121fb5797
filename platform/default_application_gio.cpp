#include "platform/default_application.h"

#include <gio/gio.h>

#include <memory>

#include "platform/text_codec.h"

namespace kantoria {
namespace {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};

}  // namespace

std::string DefaultApplicationExecutable(const std::string& mimeType) {
    const std::unique_ptr<gchar, GFree> contentType(
        g_content_type_from_mime_type(mimeType.c_str()));
    if (!contentType) return {};
    const std::unique_ptr<GAppInfo, GObjectUnref> app(
        g_app_info_get_default_for_type(contentType.get(), FALSE));
    if (!app) return {};
    const char* executable = g_app_info_get_executable(app.get());
    if (executable == nullptr || *executable == '\0') return {};
    // Like the shell's answer on Windows: a full path, when the program can be found.
    const std::unique_ptr<gchar, GFree> fullPath(g_find_program_in_path(executable));
    return FromSystemName(fullPath ? fullPath.get() : executable);
}

}  // namespace kantoria

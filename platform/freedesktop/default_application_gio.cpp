#include "platform/freedesktop/default_application.h"

#include <gio/gio.h>

#include <memory>

#include "core/text/text_codec.h"

namespace kantoria {
namespace {

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
struct GFree {
    void operator()(gpointer memory) const { g_free(memory); }
};

// The executable of app as a full path when it can be found on PATH.
std::string FullExecutable(GAppInfo* app) {
    const char* executable = g_app_info_get_executable(app);
    if (executable == nullptr || *executable == '\0') return {};
    const std::unique_ptr<gchar, GFree> fullPath(g_find_program_in_path(executable));
    return FromSystemName(fullPath ? fullPath.get() : executable);
}

std::string IconNameOf(GAppInfo* app) {
    GIcon* icon = g_app_info_get_icon(app);  // owned by app
    if (icon == nullptr) return {};
    if (G_IS_THEMED_ICON(icon)) {
        const gchar* const* names = g_themed_icon_get_names(G_THEMED_ICON(icon));
        return names != nullptr && names[0] != nullptr ? std::string(names[0]) : std::string();
    }
    if (G_IS_FILE_ICON(icon)) {
        const std::unique_ptr<gchar, GFree> path(
            g_file_get_path(g_file_icon_get_file(G_FILE_ICON(icon))));
        return path ? FromSystemName(path.get()) : std::string();
    }
    return {};
}

}  // namespace

std::string ApplicationIconName(const std::string& program) {
    if (program.empty()) return {};
    GList* apps = g_app_info_get_all();
    std::string name;
    for (GList* item = apps; item != nullptr; item = item->next) {
        auto* app = static_cast<GAppInfo*>(item->data);
        if (name.empty() && FullExecutable(app) == program) name = IconNameOf(app);
    }
    g_list_free_full(apps, g_object_unref);
    return name;
}

std::string DefaultApplicationExecutable(const std::string& mimeType) {
    const std::unique_ptr<gchar, GFree> contentType(
        g_content_type_from_mime_type(mimeType.c_str()));
    if (!contentType) return {};
    const std::unique_ptr<GAppInfo, GObjectUnref> app(
        g_app_info_get_default_for_type(contentType.get(), FALSE));
    if (!app) return {};
    // Like the shell's answer on Windows: a full path, when the program can be found.
    return FullExecutable(app.get());
}

}  // namespace kantoria

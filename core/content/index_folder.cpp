#include "core/content/index_folder.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "core/os/atomic_file.h"
#include "core/os/environment.h"

namespace kantoria {
namespace {

namespace fs = std::filesystem;

constexpr const char* kNamingFile = "catalogue";

std::string Hash(const std::string& text) {
    std::uint64_t hash = 14695981039346656037ull;  // FNV-1a
    for (const char c : text) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
    char hex[17];
    std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
    return hex;
}

std::string CacheRoot() {
    const ProcessEnvironment environment;
    if (const auto cache = environment.Get("XDG_CACHE_HOME"); cache && !cache->empty())
        return *cache;
    const auto home = environment.Get("HOME");
    return (home ? *home : std::string("/tmp")) + "/.cache";
}

}  // namespace

IndexFolder IndexFolderOf(const std::string& systemPath, const std::string& cacheRoot) {
    std::error_code error;
    fs::path absolute = fs::absolute(systemPath, error);
    if (error) absolute = systemPath;
    const std::string catalogue = absolute.lexically_normal().string();
    const fs::path folder = fs::path(cacheRoot.empty() ? CacheRoot() : cacheRoot) / "kantoria" /
                            "index" / Hash(catalogue);
    return {folder.string(), (folder / "db").string(), catalogue};
}

bool NamesCatalogue(const IndexFolder& index) {
    std::ifstream in(fs::path(index.folder) / kNamingFile, std::ios::binary);
    std::ostringstream named;
    named << in.rdbuf();
    return in && named.str() == index.catalogue + "\n";
}

Status MakeIndexFolder(const IndexFolder& index) {
    std::error_code error;
    fs::create_directories(index.folder, error);
    if (error) return Status::FromErrno(error.value());
    Status status = Status::Ok();
    const auto file = AtomicFile::Create((fs::path(index.folder) / kNamingFile).string(), status);
    if (!file) return status;
    if (!file->Write(index.catalogue + "\n")) return file->status();
    return file->Commit();
}

std::string SetAside(const IndexFolder& index) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                             std::chrono::system_clock::now().time_since_epoch())
                             .count();
    std::string aside = index.folder + ".set-aside-" + std::to_string(seconds);
    std::error_code error;
    for (int n = 2; fs::exists(aside, error); ++n)
        aside = index.folder + ".set-aside-" + std::to_string(seconds) + "-" + std::to_string(n);
    fs::rename(index.folder, aside, error);
    return error ? std::string() : aside;
}

}  // namespace kantoria

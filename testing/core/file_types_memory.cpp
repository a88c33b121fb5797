#include "testing/core/file_types_memory.h"

#include "core/os/file_read.h"
#include "core/text/path_split.h"

namespace kantoria {
namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        const size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

std::optional<std::string> OptionalField(const std::vector<std::string_view>& fields, size_t i) {
    if (i >= fields.size()) return std::nullopt;
    return std::string(fields[i]);
}

}  // namespace

void MemoryFileTypes::AddExtension(std::string extension, std::optional<std::string> typeName) {
    auto [it, added] = extensions_.try_emplace(extension, std::move(typeName));
    if (!added) return;
    order_.push_back(std::move(extension));
}

void MemoryFileTypes::AddType(std::string typeName, std::optional<std::string> description) {
    types_[std::move(typeName)].description = std::move(description);
}

void MemoryFileTypes::SetDefaultIcon(std::string_view typeName, std::string value) {
    types_[std::string(typeName)].defaultIcon = std::move(value);
}

void MemoryFileTypes::SetProgram(std::string extension, std::string program) {
    programs_[std::move(extension)] = std::move(program);
}

Status MemoryFileTypes::AddLine(const std::vector<std::string_view>& fields) {
    const std::string_view kind = fields[0];
    if (fields.size() < 2)
        return Status::Failed(StatusCode::Other, "'" + std::string(kind) + "' without a key");
    if (fields.size() > 3) return Status::Failed(StatusCode::Other, "more than three fields");
    const std::string key(fields[1]);
    if (kind == "ext") {
        AddExtension(key, OptionalField(fields, 2));
    } else if (kind == "type") {
        AddType(key, OptionalField(fields, 2));
    } else if (kind == "icon" && fields.size() == 3) {
        SetDefaultIcon(key, std::string(fields[2]));
    } else if (kind == "program" && fields.size() == 3) {
        SetProgram(key, std::string(fields[2]));
    } else {
        return Status::Failed(StatusCode::Other,
                              "unknown or incomplete line '" + std::string(kind) + "'");
    }
    return Status::Ok();
}

Status MemoryFileTypes::AddTable(std::string_view table) {
    size_t start = 0;
    for (int number = 1; start < table.size(); ++number) {
        size_t end = table.find('\n', start);
        if (end == std::string_view::npos) end = table.size();
        std::string_view line = table.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        const Status status = AddLine(SplitFields(line));
        if (!status)
            return Status::Failed(StatusCode::Other,
                                  "line " + std::to_string(number) + ": " + status.reason());
    }
    return Status::Ok();
}

Status MemoryFileTypes::LoadTable(const std::string& path) {
    std::string bytes;
    const Status status = ReadWholeFile(path, bytes);
    if (!status) return status;
    return AddTable(bytes);
}

std::vector<ExtensionType> MemoryFileTypes::Extensions() {
    std::vector<ExtensionType> out;
    out.reserve(order_.size());
    for (const std::string& ext : order_)
        out.push_back({ext, extensions_.find(ext)->second.value_or("")});
    return out;
}

std::optional<std::string> MemoryFileTypes::TypeNameOf(std::string_view key) {
    const auto it = extensions_.find(key);
    if (it == extensions_.end()) return std::nullopt;
    return it->second;
}

std::optional<std::string> MemoryFileTypes::Description(std::string_view typeName) {
    const auto it = types_.find(typeName);
    if (it == types_.end()) return std::nullopt;
    return it->second.description;
}

std::optional<std::string> MemoryFileTypes::DefaultIcon(std::string_view typeName) {
    const auto it = types_.find(typeName);
    if (it == types_.end()) return std::nullopt;
    return it->second.defaultIcon;
}

std::string MemoryFileTypes::AssociatedProgram(std::string_view path) {
    const auto it = programs_.find(SplitPath(path).extension);
    return it == programs_.end() ? std::string() : it->second;
}

}  // namespace kantoria

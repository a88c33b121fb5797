// File types on Windows: the associations under HKEY_CLASSES_ROOT and the shell's
// FindExecutable, read through the wide calls: the narrow ones would give the ANSI code page's
// rendering, which loses every name outside it. The program holds UTF-8.
#include <windows.h>
// The shell's header needs the types windows.h declares.
#include <shellapi.h>

#include <cwchar>
#include <optional>
#include <string>

#include "core/os/win32/wide.h"
#include "platform/system_file_types.h"

namespace kantoria {
namespace {

constexpr DWORD kNameChars = 256;
constexpr DWORD kEnumDataBytes = 256;
constexpr DWORD kValueBytes = 512;

// size counts wide characters; the text ends at the first NUL within it.
std::string FromRegistry(const wchar_t* text, size_t size) {
    return win32::Narrow(std::wstring_view(text, wcsnlen(text, size)));
}

std::wstring ToRegistry(std::string_view text) {
    return win32::Wide(text);
}

// A key under HKEY_CLASSES_ROOT, open for reading while the object lives.
class ClassesKey {
  public:
    explicit ClassesKey(std::string_view name) {
        if (RegOpenKeyExW(HKEY_CLASSES_ROOT, ToRegistry(name).c_str(), 0, KEY_READ, &key_) !=
            ERROR_SUCCESS)
            key_ = nullptr;
    }
    ~ClassesKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    ClassesKey(const ClassesKey&) = delete;
    ClassesKey& operator=(const ClassesKey&) = delete;

    bool IsOpen() const { return key_ != nullptr; }

    // The data of the first value with an empty name, walking the values by index.
    std::optional<std::string> EnumeratedDefault() const {
        for (DWORD i = 0;; ++i) {
            wchar_t name[kNameChars];
            DWORD nameSize = kNameChars;
            wchar_t data[kEnumDataBytes / sizeof(wchar_t)];
            DWORD dataSize = kEnumDataBytes;
            if (RegEnumValueW(key_, i, name, &nameSize, nullptr, nullptr,
                              reinterpret_cast<BYTE*>(data), &dataSize) != ERROR_SUCCESS)
                return std::nullopt;
            if (nameSize == 0) return FromRegistry(data, dataSize / sizeof(wchar_t));
        }
    }

    // The default value, when it fits the buffer.
    std::optional<std::string> QueriedDefault() const {
        wchar_t data[kValueBytes / sizeof(wchar_t)];
        DWORD dataSize = kValueBytes;
        if (RegQueryValueExW(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(data),
                             &dataSize) != ERROR_SUCCESS)
            return std::nullopt;
        return FromRegistry(data, dataSize / sizeof(wchar_t));
    }

  private:
    HKEY key_ = nullptr;
};

class RegistryFileTypes final : public FileTypeRegistry {
  public:
    std::vector<ExtensionType> Extensions() override {
        std::vector<ExtensionType> list;
        for (DWORD i = 0;; ++i) {
            wchar_t name[kNameChars];
            if (RegEnumKeyW(HKEY_CLASSES_ROOT, i, name, kNameChars) != ERROR_SUCCESS) break;
            if (name[0] != L'.') continue;
            const std::string extension = FromRegistry(name, kNameChars);
            const ClassesKey key(extension);
            std::string typeName;
            if (key.IsOpen()) typeName = key.EnumeratedDefault().value_or("");
            list.push_back({extension, typeName});
        }
        return list;
    }

    std::optional<std::string> TypeNameOf(std::string_view extension) override {
        const ClassesKey key(extension);
        if (!key.IsOpen()) return std::nullopt;
        return key.QueriedDefault();
    }

    std::optional<std::string> Description(std::string_view typeName) override {
        const ClassesKey key(typeName);
        if (!key.IsOpen()) return std::nullopt;
        return key.EnumeratedDefault();
    }

    std::optional<std::string> DefaultIcon(std::string_view typeName) override {
        const ClassesKey key(std::string(typeName) + "\\DefaultIcon");
        if (!key.IsOpen()) return std::nullopt;
        return key.QueriedDefault();
    }

    std::string AssociatedProgram(std::string_view path) override {
        wchar_t program[MAX_PATH] = {};
        const auto result =
            reinterpret_cast<INT_PTR>(FindExecutableW(ToRegistry(path).c_str(), L"", program));
        if (result <= 32) return {};
        return FromRegistry(program, MAX_PATH);
    }
};

}  // namespace

std::unique_ptr<FileTypeRegistry> MakeSystemFileTypes() {
    return std::make_unique<RegistryFileTypes>();
}

}  // namespace kantoria

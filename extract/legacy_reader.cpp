#include "extract/legacy_reader.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "extract/charset.h"
#include "extract/html_text.h"

extern char** environ;

namespace kantoria {
namespace {

// The descriptor the converter finds the document on, named to it as /dev/fd/3.
constexpr int kDocumentFd = 3;

struct Converter {
    std::string_view extension;
    std::string_view program;
    std::vector<std::string_view> options;
    bool html = false;  // the output is HTML (unrtf's text output loses every non-ASCII letter)
};

const std::vector<Converter>& Converters() {
    static const std::vector<Converter> all = {
        {"doc", "antiword", {"-m", "UTF-8.txt"}}, {"doc", "catdoc", {"-d", "utf-8"}},
        {"xls", "xls2csv", {"-d", "utf-8"}},      {"ppt", "catppt", {"-d", "utf-8"}},
        {"rtf", "unrtf", {"--html"}, true},
    };
    return all;
}

struct Child {
    pid_t pid = -1;
    int output = -1;
};

Child Spawn(const std::string& program, const Converter& converter, int fd) {
    int pipeFds[2];
    Child child;
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return child;
    // dup2 onto the same number would leave close-on-exec set: move the file out of the way.
    const int document = fd == kDocumentFd ? fcntl(fd, F_DUPFD_CLOEXEC, 10) : fd;
    std::vector<std::string> args = {program};
    for (const std::string_view option : converter.options) args.emplace_back(option);
    args.push_back("/dev/fd/" + std::to_string(kDocumentFd));
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, document, kDocumentFd);
    if (posix_spawn(&child.pid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0)
        child.pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    if (document != fd && document >= 0) close(document);
    close(pipeFds[1]);
    if (child.pid < 0) {
        close(pipeFds[0]);
        return child;
    }
    child.output = pipeFds[0];
    return child;
}

// Reads the child's output up to limit bytes, then ends it; true when it exited with 0.
bool Collect(Child child, size_t limit, std::string& out) {
    char piece[65536];
    for (;;) {
        const ssize_t n = read(child.output, piece, sizeof piece);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        out.append(piece, static_cast<size_t>(n));
        if (out.size() >= limit) {
            kill(child.pid, SIGKILL);
            break;
        }
    }
    close(child.output);
    int status = 0;
    while (waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
    }
    return out.size() >= limit || (WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

}  // namespace

bool IsLegacyExtension(std::string_view extension) {
    for (const Converter& converter : Converters())
        if (converter.extension == extension) return true;
    return false;
}

std::string FindOnPath(std::string_view name) {
    const char* path = std::getenv("PATH");
    const std::string_view folders = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        const size_t end = std::min(folders.find(':', start), folders.size());
        const std::string_view folder = folders.substr(start, end - start);
        const std::string candidate =
            std::string(folder.empty() ? "." : folder) + "/" + std::string(name);
        if (access(candidate.c_str(), X_OK) == 0) return candidate;
        start = end + 1;
    }
    return {};
}

Extracted ReadLegacy(std::string_view extension, int fd, TextSink& sink) {
    for (const Converter& converter : Converters()) {
        if (converter.extension != extension) continue;
        const std::string program = FindOnPath(converter.program);
        if (program.empty()) continue;
        const Child child = Spawn(program, converter, fd);
        if (child.pid < 0) return Extracted::Fail("could not start " + program);
        std::string output;
        // Room for the text cap in any encoding and markup the converter adds.
        if (!Collect(child, size_t{64} << 20, output))
            return Extracted::Fail(std::string(converter.program) + " could not read it");
        if (converter.html) {
            HtmlText(DecodeHtml(output), sink);
        } else {
            sink.Add(DecodeText(output));
        }
        return Extracted::Fine();
    }
    return Extracted::Unsupported("no converter for ." + std::string(extension) + " installed");
}

}  // namespace kantoria

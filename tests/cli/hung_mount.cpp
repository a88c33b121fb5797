// A FUSE file system that never answers: it takes every request from the kernel and answers
// only the opening handshake, so that a look under its mount point blocks inside the kernel
// beyond the reach of signals, as under a network mount whose server is gone. Prints "ready"
// once mounted and runs until killed; the kernel then fails the looks it held.
// Usage: hung_mount FOLDER
#include <fcntl.h>
#include <linux/fuse.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const int fd = ::open("/dev/fuse", O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        std::perror("/dev/fuse");
        return 77;
    }
    const std::string options = "fd=" + std::to_string(fd) +
                                ",rootmode=40000,user_id=" + std::to_string(::getuid()) +
                                ",group_id=" + std::to_string(::getgid());
    if (::mount("hung", argv[1], "fuse.hung", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        std::perror("mount");
        return 77;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    std::vector<char> request(FUSE_MIN_READ_BUFFER + (1 << 20));
    for (;;) {
        const ssize_t got = ::read(fd, request.data(), request.size());
        if (got < 0 && (errno == EINTR || errno == ENOENT)) continue;
        if (got < static_cast<ssize_t>(sizeof(fuse_in_header))) return 0;  // unmounted
        fuse_in_header header;
        std::memcpy(&header, request.data(), sizeof header);
        if (header.opcode != FUSE_INIT) continue;  // taken, never answered
        fuse_init_in init;
        std::memcpy(&init, request.data() + sizeof header, sizeof init);
        struct {
            fuse_out_header header;
            fuse_init_out init;
        } reply{};
        reply.header.len = sizeof reply;
        reply.header.unique = header.unique;
        reply.init.major = FUSE_KERNEL_VERSION;
        reply.init.minor = FUSE_KERNEL_MINOR_VERSION;
        reply.init.max_readahead = init.max_readahead;
        reply.init.max_write = 4096;
        if (::write(fd, &reply, sizeof reply) < 0) return 1;
    }
}

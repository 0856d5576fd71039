#include "FuzzInput.h"

#include <cstdio>
#include <cstdlib>
#include <sys/mman.h>
#include <unistd.h>

#include "core/import/JetReader.h"

namespace n4fuzz {

MemoryFile::MemoryFile() : fd_(memfd_create("n4-fuzz-input", MFD_CLOEXEC)) {
    if (fd_ < 0) broken("memfd_create failed");
    // Named through this process's id, so that the Jet reader's process, a
    // program of its own, opens this same file.
    path_ = "/proc/" + std::to_string(getpid()) + "/fd/" + std::to_string(fd_);
}

MemoryFile::~MemoryFile() {
    close(fd_);
}

const std::string& MemoryFile::hold(const uint8_t* data, size_t size) {
    if (ftruncate(fd_, 0) != 0) broken("ftruncate failed");
    for (size_t done = 0; done < size;) {
        const ssize_t n = pwrite(fd_, data + done, size - done, static_cast<off_t>(done));
        if (n <= 0) broken("pwrite failed");
        done += static_cast<size_t>(n);
    }
    return path_;
}

} // namespace n4fuzz

// Every target can meet a Jet file, whose reader runs this program anew.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    n4::becomeJetReaderIfAsked(*argc, *argv);
    return 0;
}

namespace n4fuzz {

void broken(const char* what) {
    std::fprintf(stderr, "fuzz target: %s\n", what);
    std::abort();
}

} // namespace n4fuzz

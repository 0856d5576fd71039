#pragma once
// The fuzzer's bytes as a file the readers open by name, kept in memory
// (a memfd named through /proc/PID/fd): no disk traffic per run.
#include <cstddef>
#include <cstdint>
#include <string>

namespace n4fuzz {

class MemoryFile {
  public:
    MemoryFile();
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // Replaces the contents; returns the name to open.
    const std::string& hold(const uint8_t* data, size_t size);

  private:
    int fd_;
    std::string path_;
};

// Stops the run with a message: libFuzzer saves the input that did it.
[[noreturn]] void broken(const char* what);

} // namespace n4fuzz

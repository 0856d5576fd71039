#pragma once
// Collects output in a buffer of a few tens of kilobytes and hands it to the
// stream whenever it is full, so that a long export reaches the stream in
// large writes instead of one per cell.
#include <ostream>
#include <string>

namespace n4 {

class StreamWriter {
  public:
    explicit StreamWriter(std::ostream& out) : out_(out) { buf_.reserve(kFlushAt + 4096); }
    ~StreamWriter() { flush(); }
    StreamWriter(const StreamWriter&) = delete;
    StreamWriter& operator=(const StreamWriter&) = delete;

    StreamWriter& operator<<(char c) {
        buf_ += c;
        return *this;
    }
    StreamWriter& operator<<(const char* text) {
        buf_ += text;
        return *this;
    }
    StreamWriter& operator<<(const std::string& text) {
        buf_ += text;
        return *this;
    }
    // Call between cells: the buffer only ever grows by one cell past the mark.
    void maybeFlush() {
        if (buf_.size() >= kFlushAt) flush();
    }
    void flush() {
        out_.write(buf_.data(), static_cast<std::streamsize>(buf_.size()));
        buf_.clear();
    }
    std::string& buffer() { return buf_; }

  private:
    static constexpr std::size_t kFlushAt = 64 * 1024;
    std::ostream& out_;
    std::string buf_;
};

} // namespace n4

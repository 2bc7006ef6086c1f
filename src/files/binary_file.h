#pragma once

// Files read and written as raw bytes, opened by Shift_JIS path.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velnora::files {

class InputFile {
  public:
    InputFile() = default;
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    bool Open(std::string_view path, std::string* error = nullptr);
    bool IsOpen() const { return fd_ >= 0; }
    // Bytes read; 0 at the end of the file or on a read error (see Failed).
    std::size_t Read(char* buffer, std::size_t size);
    bool Seek(std::uint64_t offset);
    bool SeekRelative(std::int64_t delta);
    bool Failed() const { return failed_; }
    void Close();

  private:
    int fd_ = -1;
    bool failed_ = false;
};

class OutputFile {
  public:
    enum class Mode { kTruncate, kAppend };

    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    bool Open(std::string_view path, Mode mode = Mode::kTruncate, std::string* error = nullptr);
    bool IsOpen() const { return fd_ >= 0; }
    // Writes every byte (a partial write is continued); false on an error.
    bool Write(std::string_view bytes);
    bool Close();

  private:
    int fd_ = -1;
};

// Writes every byte to an open descriptor, continuing partial writes; false on an error.
bool WriteAll(int fd, std::string_view bytes);

}  // namespace velnora::files

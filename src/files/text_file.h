#pragma once

// Text files as the stored formats have them: lines end in CR LF on disk and in a bare line feed
// in memory. Writing turns every line feed into CR LF; reading turns every CR LF back into a line
// feed (a CR on its own stays as it is). No byte marks the end of a file.

#include <cstddef>
#include <string>
#include <string_view>

#include "files/binary_file.h"

namespace velnora::files {

// Line buffers of the program's readers: 65,536 bytes of text and the terminating zero.
inline constexpr std::size_t kLineBufferSize = 65537;

class TextReader {
  public:
    bool Open(std::string_view path, std::string* error = nullptr);
    bool IsOpen() const { return file_.IsOpen(); }

    // Reads the next line, its line feed included when it has one, and at most buffer_size - 1
    // bytes: a longer physical line comes back in pieces. False at the end of the file.
    bool ReadLine(std::string& line, std::size_t buffer_size = kLineBufferSize);

    void Close() { file_.Close(); }

  private:
    bool Fill();

    InputFile file_;
    std::string buffer_;
    std::size_t position_ = 0;
    bool end_ = false;
};

class TextWriter {
  public:
    ~TextWriter();

    bool Open(std::string_view path, OutputFile::Mode mode = OutputFile::Mode::kTruncate,
              std::string* error = nullptr);
    bool IsOpen() const { return file_.IsOpen(); }
    bool Write(std::string_view text);
    bool Flush();
    bool Close();

  private:
    OutputFile file_;
    std::string pending_;
    bool failed_ = false;
};

}  // namespace velnora::files

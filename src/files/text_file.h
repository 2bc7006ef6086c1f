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
    // False, with the reason, when the file is missing, unreadable or not a regular file.
    [[nodiscard]] bool Open(std::string_view path, std::string* error = nullptr);
    bool IsOpen() const { return file_.IsOpen(); }

    // Reads the next line, its line feed included when it has one, and at most buffer_size - 1
    // bytes: a longer physical line comes back in pieces. False at the end of the file.
    bool ReadLine(std::string& line, std::size_t buffer_size = kLineBufferSize);

    // Whether a read failed (ReadLine then ended as at the end of the file).
    bool Failed() const { return file_.Failed(); }
    void Close() { file_.Close(); }

  private:
    bool Fill();

    InputFile file_;
    std::string buffer_;
    std::size_t position_ = 0;
    bool end_ = false;
};

// Writes a text file whole: the text goes to a temporary file beside it, which takes the file's
// place on Commit. Until then the old file stays as it was, so a failure or a kill at any moment
// never leaves a file cut short; a writer that is not committed leaves nothing behind.
class TextWriter {
  public:
    [[nodiscard]] bool Open(std::string_view path, std::string* error = nullptr);
    bool IsOpen() const { return file_.IsOpen(); }
    // False once anything failed (the reason stays in error()).
    [[nodiscard]] bool Write(std::string_view text);
    [[nodiscard]] bool Commit(Durability durability = Durability::kCached);
    void Abandon();
    const std::string& error() const { return file_.error(); }

  private:
    bool Flush();

    FileReplacement file_;
    std::string pending_;
};

}  // namespace velnora::files

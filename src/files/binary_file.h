#pragma once

// Files read and written as raw bytes, opened by Shift_JIS path.
//
// Only regular files are opened: a FIFO, a device or a directory where a file is expected is
// refused at once (it would block a read or pass for an empty file). Files the program writes
// are never reached through a symbolic link: a link where a file is expected is refused, never
// written through.

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

    // False, with the reason in *error, when the file is missing, unreadable or not a regular
    // file.
    [[nodiscard]] bool Open(std::string_view path, std::string* error = nullptr);
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

// A file written in place: created, truncated or appended to.
class OutputFile {
  public:
    enum class Mode { kTruncate, kAppend };

    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    [[nodiscard]] bool Open(std::string_view path, Mode mode = Mode::kTruncate,
                            std::string* error = nullptr);
    bool IsOpen() const { return fd_ >= 0; }
    // Writes every byte (a partial write is continued); false on an error, with the reason in
    // error().
    [[nodiscard]] bool Write(std::string_view bytes);
    [[nodiscard]] bool Close();
    const std::string& error() const { return error_; }

  private:
    int fd_ = -1;
    std::string error_;
};

// Whether a replacement is flushed to the disk before it takes the old file's place.
enum class Durability {
    kCached,  // left to the system: survives the program's end, not a power cut
    kSynced,  // on the disk before the rename, and the rename itself flushed
};

// Permissions that say: those of the file replaced (those of a new file, less the umask, when
// there is none).
inline constexpr unsigned kKeepPermissions = ~0u;

// How a replacement takes the old file's place.
struct ReplacementRules {
    // The new file's permissions, less the umask; kKeepPermissions keeps the old file's own (a
    // site.ini the user closed to others stays closed).
    unsigned permissions = kKeepPermissions;
    // A symbolic link in the file's place is refused and reported, or, for a file whose place
    // the user chose, replaced by the file. It is never written through.
    bool replaces_link = false;
};

// A file written whole and put in place in one step: the bytes go to a new temporary file beside
// it, which Commit renames over the old file. Until then (and when anything fails) the old file
// stays exactly as it was; a replacement that is not committed is removed.
class FileReplacement {
  public:
    FileReplacement() = default;
    ~FileReplacement();
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Refused when the name is held by anything but a regular file (a directory, a FIFO, and a
    // symbolic link unless the rules let it be replaced): that is reported, not replaced.
    [[nodiscard]] bool Open(std::string_view path, std::string* error = nullptr,
                            ReplacementRules rules = {});
    bool IsOpen() const { return fd_ >= 0; }
    // False once any write failed; the first failure's reason stays in error().
    [[nodiscard]] bool Write(std::string_view bytes);
    // Puts the new file in place.
    [[nodiscard]] bool Commit(Durability durability = Durability::kCached);
    // Removes the temporary file; the old file stays.
    void Abandon();
    const std::string& error() const { return error_; }

  private:
    bool Fail(std::string_view what);

    int fd_ = -1;
    std::string target_;     // UTF-8
    std::string temporary_;  // UTF-8
    std::string error_;
};

// Writes every byte to an open descriptor, continuing partial writes; false on an error.
[[nodiscard]] bool WriteAll(int fd, std::string_view bytes);

}  // namespace velnora::files

#pragma once

// INI files with the semantics of the Windows private-profile functions, so that files written
// by either read the same with both.
//
// - A section line holds the section name in square brackets; a key line holds the key, an
//   equals sign and the value. Section and key names match without regard to ASCII letter case.
// - Blanks around a key and around a value do not count. A value enclosed in a pair of double
//   quotes or of apostrophes is read without them.
// - A text read is cut to the buffer size less one byte; an integer read is the leading decimal
//   number of the value (0 when there is none), and an empty value reads as the default.
// - A write replaces the value of an existing key in place, or adds the key at the end of its
//   section, creating the section (at the end of the file) and the file when needed. Every
//   other line stays exactly as it was. Lines end in CR LF.
// - A save never leaves a half-written file: it writes a temporary file, flushes it to the disk
//   (unless told otherwise) and renames it.
// - Only a regular file of at most kMaxIniFileSize bytes is read. Anything else where the file
//   should be (a larger file, a FIFO, a directory) is refused with a reason, reads as empty and
//   is never saved over: a file that could not be read whole must not be replaced.
//
// IniFile holds one file in memory for a group of reads and writes; the free functions below
// read or write one key, as the profile functions do.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "files/binary_file.h"

namespace velnora::ini {

// The largest settings file that is read: far beyond any file the program writes (a page's
// site.ini is under 5 KB), small enough to read at once.
inline constexpr std::uint64_t kMaxIniFileSize = 1048576;

class IniFile {
  public:
    IniFile() = default;

    // Loads the file; a missing file loads as empty (every read gives its default). False, with
    // the reason in *error, when the file exists but cannot be read or is refused: it then also
    // loads as empty, and Save refuses to replace it.
    bool Load(std::string_view path, std::string* error = nullptr);
    // Parses bytes as the content of a file.
    void Parse(std::string_view bytes);

    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view default_value, std::size_t buffer_size) const;
    int GetInt(std::string_view section, std::string_view key, int default_value) const;

    // A line break in the value is written as a blank. A key that cannot stand on a line of its
    // own is not written: one with a line break, or one beginning with "[" (with a "]" in the
    // value its line would read as a section, and the keys after it would be lost to theirs).
    void SetString(std::string_view section, std::string_view key, std::string_view value);
    void SetInt(std::string_view section, std::string_view key, int value);
    // Removes the key (every line of it in sections of that name), as the profile functions do
    // when a key is written without a value; a later read gives the default. False when there
    // was no such key.
    bool RemoveKey(std::string_view section, std::string_view key);

    // The file's bytes as they would be saved.
    std::string Serialize() const;
    // False, with the reason, when the file could not be written, or when it was loaded from a
    // file that could not be read (that file is left as it is).
    [[nodiscard]] bool Save(std::string_view path, std::string* error = nullptr,
                            files::Durability durability = files::Durability::kSynced) const;

  private:
    // Index of the value line of a key, or npos.
    std::size_t FindKey(std::string_view section, std::string_view key) const;

    std::vector<std::string> lines_;
    std::string load_error_;  // why the last Load failed; empty when it did not
};

std::string GetProfileString(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view default_value, std::size_t buffer_size);
int GetProfileInt(std::string_view file, std::string_view section, std::string_view key,
                  int default_value);
[[nodiscard]] bool WriteProfileString(std::string_view file, std::string_view section,
                                      std::string_view key, std::string_view value,
                                      std::string* error = nullptr);

// The leading decimal number of a text, as the profile functions read integers: blanks, an
// optional sign, digits; wraps at 32 bits as they do, so that unsigned counters read back.
int ParseLeadingInt(std::string_view text);

}  // namespace velnora::ini

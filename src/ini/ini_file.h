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
// - A save never leaves a half-written file: it writes a temporary file and renames it.
//
// IniFile holds one file in memory for a group of reads and writes; the free functions below
// read or write one key, as the profile functions do.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velnora::ini {

class IniFile {
  public:
    IniFile() = default;

    // Loads the file; a missing file loads as empty (every read gives its default). False when
    // the file exists but cannot be read: it then also loads as empty, but must not be saved.
    bool Load(std::string_view path);
    // Parses bytes as the content of a file.
    void Parse(std::string_view bytes);

    std::string GetString(std::string_view section, std::string_view key,
                          std::string_view default_value, std::size_t buffer_size) const;
    int GetInt(std::string_view section, std::string_view key, int default_value) const;

    // A line break in the value is written as a blank.
    void SetString(std::string_view section, std::string_view key, std::string_view value);
    void SetInt(std::string_view section, std::string_view key, int value);
    // Removes the key (every line of it in sections of that name), as the profile functions do
    // when a key is written without a value; a later read gives the default. False when there
    // was no such key.
    bool RemoveKey(std::string_view section, std::string_view key);

    // The file's bytes as they would be saved.
    std::string Serialize() const;
    bool Save(std::string_view path, std::string* error = nullptr) const;

  private:
    // Index of the value line of a key, or npos.
    std::size_t FindKey(std::string_view section, std::string_view key) const;

    std::vector<std::string> lines_;
};

std::string GetProfileString(std::string_view file, std::string_view section, std::string_view key,
                             std::string_view default_value, std::size_t buffer_size);
int GetProfileInt(std::string_view file, std::string_view section, std::string_view key,
                  int default_value);
bool WriteProfileString(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value);

// The leading decimal number of a text, as the profile functions read integers: blanks, an
// optional sign, digits; wraps at 32 bits as they do, so that unsigned counters read back.
int ParseLeadingInt(std::string_view text);

}  // namespace velnora::ini

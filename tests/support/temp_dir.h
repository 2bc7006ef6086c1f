#pragma once

#include <string>
#include <string_view>

namespace velnora::test {

// A fresh directory under the system's temporary directory, removed with everything in it when
// the object goes. path() is ASCII, so it is the same in Shift_JIS and UTF-8.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() followed by "/" and the relative name.
    std::string operator/(std::string_view relative) const;

  private:
    std::string path_;
};

// Writes and reads raw bytes by Shift_JIS path (through the program's own file layer).
void WriteBytes(std::string_view path, std::string_view bytes);
std::string ReadBytes(std::string_view path);
bool Exists(std::string_view path);
void MakeDir(std::string_view path);

}  // namespace velnora::test

#pragma once

// A page file that a check could not read or write, with the system's reason. It ends the check
// of that page with an error line; the page's history stays as it was.

#include <string>
#include <string_view>

namespace velnora::processing {

struct FileFailure {
    enum class Kind {
        kRead,   // the file exists but cannot be read (or is no regular file)
        kWrite,  // the file could not be written or put in place
    };
    Kind kind = Kind::kWrite;
    std::string path;
    std::string reason;
};

// The error line's text: "ファイル読み込み失敗 (" or "ファイル書き込み失敗 (", the file's name, ":
// ", the reason and ")".
std::string FileFailureMessage(const FileFailure& failure);

}  // namespace velnora::processing

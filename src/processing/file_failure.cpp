#include "processing/file_failure.h"

#include "files/file_names.h"
#include "text/shift_jis.h"

namespace velnora::processing {

namespace {

// ファイル読み込み失敗 (
constexpr std::string_view kReadFailedPrefix =
    "\x83\x74\x83@\x83\x43\x83\x8B\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x8E\xB8\x94\x73 (";
// ファイル書き込み失敗 (
constexpr std::string_view kWriteFailedPrefix =
    "\x83\x74\x83@\x83\x43\x83\x8B\x8F\x91\x82\xAB\x8D\x9E\x82\xDD\x8E\xB8\x94\x73 (";

}  // namespace

std::string FileFailureMessage(const FileFailure& failure) {
    std::string_view name = failure.path;
    std::size_t separator = text::FindLastByte(name, files::kSeparator);
    if (separator != std::string_view::npos) {
        name.remove_prefix(separator + 1);
    }
    std::string message(failure.kind == FileFailure::Kind::kRead ? kReadFailedPrefix
                                                                 : kWriteFailedPrefix);
    message.append(name);
    message.append(": ");
    message.append(failure.reason);
    message.append(")");
    return message;
}

}  // namespace velnora::processing

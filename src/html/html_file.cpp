#include "html/html_file.h"

#include "files/file_system.h"

namespace velnora::html {

std::string WithCrLf(std::string_view text) {
    std::string bytes;
    bytes.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n') {
            bytes.push_back('\r');
        }
        bytes.push_back(c);
    }
    return bytes;
}

bool WriteHtmlFile(std::string_view path, std::string_view text, unsigned permissions,
                   std::string* error) {
    // The user chose the file's place: a link there is replaced by the file.
    return files::WriteFileAtomically(path, WithCrLf(text), error, files::Durability::kSynced,
                                      files::ReplacementRules{permissions, true});
}

}  // namespace velnora::html

#include "fetch/response_head.h"

#include <algorithm>

#include "files/binary_file.h"
#include "processing/page_extraction.h"
#include "text/shift_jis.h"

namespace velnora::fetch {

namespace {

// The line starting at `start` without its line end; `next` is where the following one starts.
std::string_view LineAt(std::string_view text, std::size_t start, std::size_t& next) {
    std::size_t end = text.find('\n', start);
    next = end == std::string_view::npos ? text.size() : end + 1;
    std::string_view line =
        text.substr(start, (end == std::string_view::npos ? text.size() : end) - start);
    if (!line.empty() && line.back() == '\r') {
        line.remove_suffix(1);
    }
    return line;
}

}  // namespace

std::string ReadResponseHead(std::string_view path) {
    files::InputFile file;
    if (!file.Open(path)) {
        return {};
    }
    std::string head;
    char block[4096];
    while (head.size() < kResponseHeadLimit) {
        std::size_t n = file.Read(block, std::min(sizeof block, kResponseHeadLimit - head.size()));
        if (n == 0) {
            break;
        }
        std::size_t searched_from = head.size() < 3 ? 0 : head.size() - 3;
        head.append(block, n);
        std::size_t end = head.find("\n\r\n", searched_from);
        std::size_t bare = head.find("\n\n", searched_from);
        if (end != std::string::npos || bare != std::string::npos) {
            std::size_t cut = std::min(end == std::string::npos ? head.size() : end + 3,
                                       bare == std::string::npos ? head.size() : bare + 2);
            head.resize(cut);
            break;
        }
    }
    return head;
}

int HeadStatus(std::string_view head) {
    std::size_t next = 0;
    return processing::ParseStatusCode(LineAt(head, 0, next));
}

std::optional<std::string> HeadField(std::string_view head, std::string_view name) {
    std::size_t next = 0;
    LineAt(head, 0, next);  // the status line
    while (next < head.size()) {
        std::string_view line = LineAt(head, next, next);
        if (line.empty()) {
            break;
        }
        std::size_t colon = line.find(':');
        if (colon == std::string_view::npos) {
            continue;
        }
        if (text::EqualNoCase(text::TrimBlanks(line.substr(0, colon)), name)) {
            return std::string(text::TrimBlanks(line.substr(colon + 1)));
        }
    }
    return std::nullopt;
}

}  // namespace velnora::fetch

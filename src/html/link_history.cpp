#include "html/link_history.h"

#include <cstdio>

#include "files/file_names.h"
#include "files/file_system.h"
#include "html/escape.h"
#include "html/html_file.h"
#include "html/texts.h"

namespace velnora::html {

namespace {

// The closing line of every history file, as stored.
constexpr std::string_view kClosingLine = "</body></html>\r\n";

std::string HistoryHead(const std::tm& now) {
    char date[64];
    std::snprintf(date, sizeof date, " (%04d/%02d/%02d)</title>\n", now.tm_year + 1900,
                  now.tm_mon + 1, now.tm_mday);
    std::string head = "<html lang=\"ja\">\n<head>\n<title>";
    head.append(kHistoryTitle).append(date);
    head.append(
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n"
        "<style type=\"text/css\">\n"
        "<!--\n"
        "body { font-size: 10pt; line-height: 170%; }\n"
        "a { text-decoration: none; }\n"
        "a:link { color : black }\n"
        "a:visited { color: blue }\n"
        "//-->\n"
        "</style>\n"
        "</head>\n"
        "<body>\n");
    return head;
}

void AppendDocumentLink(std::string& out, const results::ResultDocument& document,
                        const results::LinkRecord& link) {
    AppendLink(out, link.target, document.TextRange(link.start, link.start + link.length));
}

// The entry of a link: the link, and the header link of its block in brackets unless it is
// that header itself (or has none).
std::string HistoryEntry(const results::ResultDocument& document, std::size_t index) {
    const std::vector<results::LinkRecord>& links = document.Links();
    const results::LinkRecord& link = links[index];
    std::string entry;
    AppendDocumentLink(entry, document, link);
    int header = link.header_index;
    if (header == results::kNoLink || static_cast<std::size_t>(header) == index ||
        static_cast<std::size_t>(header) >= links.size()) {
        entry.append("<br>\n");
        return entry;
    }
    entry.append("&nbsp;&nbsp;").append(kPageOpening);
    AppendDocumentLink(entry, document, links[static_cast<std::size_t>(header)]);
    entry.append(kPageClosing).append("<br>\n");
    return entry;
}

}  // namespace

std::string HistoryFilePath(std::string_view home_directory, const std::tm& now) {
    char name[64];
    std::snprintf(name, sizeof name, "history-%04d-%02d-%02d.html", now.tm_year + 1900,
                  now.tm_mon + 1, now.tm_mday);
    std::string path(home_directory);
    path.append(kHistoryDirectory).append(files::kSeparatorText).append(name);
    return path;
}

bool AppendLinkToHistory(std::string_view home_directory, const results::ResultDocument& document,
                         std::size_t link, const std::tm& now, std::string* error) {
    if (link >= document.Links().size()) {
        return false;
    }
    std::string directory(home_directory);
    directory.append(kHistoryDirectory);
    if (!files::MakeDirectories(directory, error)) {
        return false;
    }
    std::string path = HistoryFilePath(home_directory, now);
    std::string bytes;
    if (files::PathExists(path) && !files::ReadWholeFile(path, bytes, error)) {
        return false;  // what cannot be read is not replaced
    }
    if (bytes.empty()) {
        bytes = WithCrLf(HistoryHead(now));
    } else if (bytes.ends_with(kClosingLine)) {
        bytes.resize(bytes.size() - kClosingLine.size());
    } else if (!bytes.ends_with("\n")) {
        bytes.append("\r\n");
    }
    bytes.append(WithCrLf(HistoryEntry(document, link)));
    bytes.append(kClosingLine);
    return files::WriteFileAtomically(path, bytes, error);
}

}  // namespace velnora::html

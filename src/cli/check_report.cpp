#include "cli/check_report.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <unordered_map>

#include "cli/workspace.h"
#include "files/text_file.h"
#include "results/plain_text.h"
#include "store/log_index.h"
#include "store/page_files.h"
#include "store/settings_files.h"
#include "text/cp932.h"

namespace velnora::cli {

namespace {

// A JSON string of Shift_JIS text: UTF-8, with quotes, backslashes and control characters
// escaped.
std::string JsonString(std::string_view sjis) {
    std::string utf8 = text::ShiftJisToUtf8(sjis);
    std::string json = "\"";
    static constexpr char kHex[] = "0123456789abcdef";
    for (char c : utf8) {
        auto b = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                json += "\\\"";
                break;
            case '\\':
                json += "\\\\";
                break;
            case '\n':
                json += "\\n";
                break;
            case '\r':
                json += "\\r";
                break;
            case '\t':
                json += "\\t";
                break;
            default:
                if (b < 0x20 || b == 0x7F) {
                    json += "\\u00";
                    json += kHex[b >> 4];
                    json += kHex[b & 0x0F];
                } else {
                    json += c;
                }
        }
    }
    return json + "\"";
}

std::string_view ResultName(const std::optional<processing::CheckOutcome>& outcome, bool error) {
    if (error || !outcome) {
        return "error";
    }
    switch (*outcome) {
        case processing::CheckOutcome::NoChange:
            return "no_change";
        case processing::CheckOutcome::NotModified:
            return "not_modified";
        case processing::CheckOutcome::Updated:
            return "updated";
        case processing::CheckOutcome::FirstCheck:
            return "first_check";
        default:
            return "error";
    }
}

// A field of a notify line: tabs and line ends would split it.
std::string OneField(std::string_view sjis) {
    std::string utf8 = text::ShiftJisToUtf8(sjis);
    for (char& c : utf8) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    return utf8;
}

}  // namespace

CheckReport::Entry& CheckReport::EntryOf(const store::ItemRecord& page) {
    for (Entry& entry : entries_) {
        if (entry.page.node.item == page.node.item) {
            return entry;
        }
    }
    entries_.push_back(Entry{page, std::nullopt, std::nullopt});
    return entries_.back();
}

void CheckReport::ErrorLine(const store::ItemRecord& page, std::string_view message) {
    TerminalPane::ErrorLine(page, message);
    EntryOf(page).error = std::string(message);
}

void CheckReport::PageOutcome(const store::ItemRecord& page, processing::CheckOutcome outcome) {
    Entry& entry = EntryOf(page);
    entry.page = page;
    entry.outcome = outcome;
}

void CheckReport::PageDone(const store::ItemRecord& page) {
    EntryOf(page);
}

std::vector<std::string> CheckReport::NewLines(const store::ItemRecord& page) const {
    std::vector<std::string> lines;
    auto path =
        store::PagePath(page.node.path, store::UpdateFileName(store::ReadLogIndex(page.node.path)));
    files::TextReader reader;
    if (!path || !reader.Open(*path)) {
        return lines;
    }
    results::ResultDocument rendered;
    results::ResultDisplay display(rendered);
    display.SetSettings(display_settings());
    std::string line;
    while (reader.ReadLine(line)) {
        display.ShowStoredLine(page, line);
    }
    std::string text = results::PlainText(rendered);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<const CheckReport::Entry*> CheckReport::InTreeOrder() const {
    std::unordered_map<store::ItemId, std::size_t> position;
    std::vector<store::ItemId> pending{tree().root()};
    while (!pending.empty()) {
        store::ItemId item = pending.back();
        pending.pop_back();
        position.emplace(item, position.size());
        const store::PageTree::Node* node = tree().Find(item);
        for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) {
            pending.push_back(*it);
        }
    }
    std::vector<const Entry*> ordered;
    for (const Entry& entry : entries_) {
        ordered.push_back(&entry);
    }
    auto at = [&](const Entry* entry) {
        auto found = position.find(entry->page.node.item);
        return found == position.end() ? position.size() : found->second;
    };
    std::stable_sort(ordered.begin(), ordered.end(),
                     [&](const Entry* a, const Entry* b) { return at(a) < at(b); });
    return ordered;
}

void CheckReport::WriteJsonLines(std::ostream& out) const {
    for (const Entry* in_order : InTreeOrder()) {
        const Entry& entry = *in_order;
        const store::ItemRecord& page = entry.page;
        std::string_view result = ResultName(entry.outcome, entry.error.has_value());
        out << "{\"name\":" << JsonString(page.node.name)
            << ",\"path\":" << JsonString(TreePath(tree(), page.node.item))
            << ",\"url\":" << JsonString(page.settings.url)
            << ",\"code\":" << store::ReadResultCode(page.node.path) << ",\"result\":\"" << result
            << "\",\"lines\":[";
        if (result == "updated") {
            bool first = true;
            for (const std::string& line : NewLines(page)) {
                out << (first ? "" : ",") << JsonString(line);
                first = false;
            }
        }
        out << "],\"error\":" << (entry.error ? JsonString(*entry.error) : std::string("null"))
            << "}\n";
    }
    out.flush();
}

std::string CheckReport::UpdatedPages() const {
    std::string lines;
    for (const Entry* in_order : InTreeOrder()) {
        const Entry& entry = *in_order;
        if (entry.error || entry.outcome != processing::CheckOutcome::Updated) {
            continue;
        }
        lines += OneField(TreePath(tree(), entry.page.node.item)) + "\t" +
                 OneField(entry.page.settings.url) + "\t" +
                 std::to_string(NewLines(entry.page).size()) + "\n";
    }
    return lines;
}

void RunNotifyCommand(const std::string& command, const std::string& input, bool quiet_stdout) {
    int feed[2];
    if (::pipe2(feed, O_CLOEXEC) != 0) {
        return;
    }
    pid_t child = ::fork();
    if (child < 0) {
        ::close(feed[0]);
        ::close(feed[1]);
        return;
    }
    if (child == 0) {
        ::dup2(feed[0], STDIN_FILENO);
        if (quiet_stdout) {
            ::dup2(STDERR_FILENO, STDOUT_FILENO);
        }
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(feed[0]);
    // A command that does not read its input must not end this program with SIGPIPE.
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    ::sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGPIPE, &ignore, &previous);
    std::size_t written = 0;
    while (written < input.size()) {
        ssize_t n = ::write(feed[1], input.data() + written, input.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        written += static_cast<std::size_t>(n);
    }
    ::close(feed[1]);
    ::sigaction(SIGPIPE, &previous, nullptr);
    while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace velnora::cli

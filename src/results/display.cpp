#include "results/display.h"

#include <algorithm>

#include "files/file_system.h"
#include "files/text_file.h"
#include "results/header_line.h"
#include "results/highlight.h"
#include "results/pane_limits.h"
#include "results/render_line.h"
#include "results/texts.h"
#include "store/log_index.h"
#include "store/page_files.h"
#include "store/result_texts.h"
#include "store/settings_files.h"
#include "text/yield.h"

namespace velnora::results {

namespace {

// The message of a status line for a result code other than RESULT_UPDATED; empty for none.
std::string_view ResultMessage(int code) {
    switch (code) {
        case store::RESULT_NO_CHANGE:
            return store::kNoChangeText;
        case store::RESULT_NOT_MODIFIED:
            return store::kNotModifiedText;
        case store::RESULT_ERROR:
            return store::kErrorResultText;
        default:
            return {};
    }
}

}  // namespace

ResultDisplay::ResultDisplay(ResultDocument& document, StatusSink* status)
    : document_(document), status_(status) {}

bool ResultDisplay::ShowUpdateText(const store::ItemRecord& page, int log_index) {
    auto path = store::PagePath(page.node.path, store::UpdateFileName(log_index));
    return path && ShowFile(page, *path, true);
}

bool ResultDisplay::ShowCurrentText(const store::ItemRecord& page, int log_index) {
    auto path = store::PagePath(page.node.path, store::kNewFile);
    if (path && ShowFile(page, *path, false)) {
        return true;
    }
    path = store::PagePath(page.node.path, store::LogFileName(log_index));
    return path && ShowFile(page, *path, false);
}

bool ResultDisplay::ShowFile(const store::ItemRecord& page, const std::string& path,
                             bool limit_lines) {
    files::TextReader reader;
    if (!reader.Open(path)) {
        return false;
    }
    std::optional<std::time_t> file_time = files::ModificationTime(path);

    document_.BeginBatch();
    std::size_t block_start = document_.Length();
    int count = 0;
    std::string line;
    while (reader.ReadLine(line)) {
        ++count;
        if (limit_lines && count > settings_.max_disp_line) {
            document_.AppendText(kTooLongOpening);
            document_.AppendLink(page.settings.url, page.node.name, true);
            document_.AppendText(kTooLongClosing);
            break;
        }
        if (count >= kProgressFromLine && count % kProgressEveryLines == 0) {
            std::string progress(kShowingLinesOpening);
            progress.append(std::to_string(count)).append(kShowingLinesClosing);
            SetStatus(progress);
        }
        if (count == 1) {
            document_.AddBlockStart(document_.Length());
            HeaderLine(page, file_time);
        }
        ShowStoredLine(page, line);
        text::Yield(0);
    }
    reader.Close();
    if (count > 0) {
        document_.AppendText("\n");
    }

    if (settings_.use_highlight != 0) {
        for (const std::string& keyword : settings_.highlights) {
            HighlightKeyword(document_, block_start, keyword);
        }
        document_.SortHighlights();
    }
    document_.EndBatch();
    if (count >= kProgressFromLine) {
        SetStatus({});
    }
    return true;
}

void ResultDisplay::ShowResultsAfterCheck(store::ItemRecord& page, int count) {
    if (count <= 0) {
        int code = store::ReadResultCode(page.node.path);
        if (code != store::RESULT_UPDATED) {
            std::string_view message = ResultMessage(code);
            if (settings_.nochange_msg != 0 && !message.empty()) {
                StatusLine(page, message);
            }
            return;
        }
        count = 1;
    }
    // Once round the ring at most: a larger count would show the same texts again.
    count = std::min(count, store::kLogSlots);
    store::ReadPageSettings(page.node.path, page.settings);
    int index = store::ReadLogIndex(page.node.path);
    for (int j = 0; j < count; ++j) {
        ShowUpdateText(page, store::SlotBefore(index, j));
    }
}

void ResultDisplay::StatusLine(const store::ItemRecord& page, std::string_view message) {
    PageLine(page, kStatusSeparator, message);
}

void ResultDisplay::ErrorLine(const store::ItemRecord& page, std::string_view message) {
    PageLine(page, kErrorSeparator, message);
}

void ResultDisplay::PageLine(const store::ItemRecord& page, std::string_view separator,
                             std::string_view message) {
    document_.BeginBatch();
    document_.AppendText(kLineMark);
    document_.AppendLink(page.settings.url, page.node.name, true);
    std::string rest(separator);
    rest.append(message).append("\n");
    document_.AppendText(rest);
    document_.EndBatch();
    SetStatus(message);
}

void ResultDisplay::HeaderLine(const store::ItemRecord& page,
                               std::optional<std::time_t> file_time) {
    AppendHeaderLine(document_, settings_.header, page, file_time);
}

void ResultDisplay::ShowStoredLine(const store::ItemRecord& page, std::string_view line) {
    if (!line.empty() && line.back() == '\n') {
        line.remove_suffix(1);
    }
    // A line of a stored text ends at its first NUL byte.
    line = line.substr(0, line.find('\0'));
    if (page.settings.as_text != 0) {
        std::string text(line);
        text.push_back('\n');
        document_.AppendText(text);
    } else {
        RenderLine(line);
    }
}

void ResultDisplay::RenderLine(std::string_view line) {
    results::RenderLine(document_, line, settings_);
}

void ResultDisplay::SetStatus(std::string_view text) {
    if (status_ != nullptr) {
        status_->SetStatusText(text);
    }
}

}  // namespace velnora::results

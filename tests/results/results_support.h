#pragma once

// Helpers of the result document tests: a readable form of a document, a listener and a status
// bar that record what they are told, page directories with their files, and the display
// settings a first start gives.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "results/display_settings.h"
#include "results/document.h"
#include "results/link_targets.h"
#include "results/status_sink.h"
#include "settings/app_settings.h"
#include "settings/settings_views.h"
#include "store/records.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::results::test {

using velnora::test::Sjis;
using velnora::test::Utf8;

// The document's text with each link as "{text|target}" (a settings link's target as "#" and
// the item number), so that one string shows both the text and where it links.
inline std::string Markup(const ResultDocument& document) {
    std::string out;
    for (const TextRun& run : document.Runs()) {
        if (run.link == kNoLink) {
            out.append(document.RunText(run));
            continue;
        }
        const std::string& target = document.Links()[run.link].target;
        out.append("{").append(document.RunText(run)).append("|");
        if (IsSettingsTarget(target)) {
            out.append("#").append(target.substr(1));
        } else {
            out.append(target);
        }
        out.append("}");
    }
    return out;
}

// The display settings of a first start.
inline DisplaySettings DefaultDisplaySettings() {
    return settings::DisplaySettingsFrom(settings::AppSettings{});
}

// Markup in UTF-8, for comparisons that read as text.
inline std::string MarkupUtf8(const ResultDocument& document) {
    return Utf8(Markup(document));
}

class RecordingListener : public DocumentListener {
  public:
    void OnCleared() override { events.push_back("cleared"); }
    void OnRunsAppended(const ResultDocument& document, std::size_t first,
                        std::size_t count) override {
        std::string event = "runs";
        for (std::size_t i = first; i < first + count; ++i) {
            event.append(" [").append(document.RunText(document.Runs()[i])).append("]");
        }
        events.push_back(event);
        runs_reported += count;
    }
    void OnHighlighted(std::size_t start, std::size_t end) override {
        ++highlighted;
        last_highlight = {start, end};
    }
    void OnBatchBegun(BatchView view) override {
        events.push_back(view == BatchView::kRestore ? "begin" : "begin text");
    }
    void OnBatchEnded(BatchView view) override {
        events.push_back(view == BatchView::kRestore ? "end" : "end text");
    }

    std::vector<std::string> events;
    std::size_t runs_reported = 0;
    std::size_t highlighted = 0;
    HighlightHit last_highlight;
};

class RecordingStatus : public StatusSink {
  public:
    void SetStatusText(std::string_view text) override { texts.emplace_back(Utf8(text)); }
    std::vector<std::string> texts;
};

// Extracted text as the pipeline stores it: Shift_JIS lines joined by CR LF, the last one
// without a line end. The lines are given in UTF-8.
inline std::string StoredText(std::initializer_list<std::string_view> lines) {
    std::string bytes;
    bool first = true;
    for (std::string_view line : lines) {
        if (!first) {
            bytes += "\r\n";
        }
        bytes += Sjis(line);
        first = false;
    }
    return bytes;
}

// A page directory "<temp>/data/<name>.dat" and its record.
inline store::ItemRecord MakePage(const velnora::test::TempDir& temp, std::string_view name,
                                  std::string_view url, store::ItemId item = 7) {
    store::ItemRecord page;
    page.node.item = item;
    page.node.kind = store::KIND_PAGE;
    page.node.parent_directory = temp / "data";
    page.node.name = std::string(name);
    page.node.path = page.node.parent_directory + "/" + std::string(name) + ".dat";
    page.settings.url = std::string(url);
    velnora::test::MakeDir(page.node.path);
    return page;
}

inline std::string PageFile(const store::ItemRecord& page, std::string_view file) {
    return page.node.path + "/" + std::string(file);
}

}  // namespace velnora::results::test

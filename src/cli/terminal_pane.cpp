#include "cli/terminal_pane.h"

#include "cli/cli_support.h"
#include "store/log_index.h"
#include "viewer/link_targets.h"

namespace velnora::cli {

TerminalPane::TerminalPane(std::ostream& out, store::PageTree& tree,
                           const viewer::DisplaySettings& settings)
    : out_(out), tree_(tree), display_(document_, this) {
    display_.SetSettings(settings);
    document_.SetListener(this);
}

void TerminalPane::StatusLine(const store::ItemRecord& page, std::string_view message) {
    display_.StatusLine(page, message);
}

void TerminalPane::ErrorLine(const store::ItemRecord& page, std::string_view message) {
    display_.ErrorLine(page, message);
}

void TerminalPane::ShowResultsAfterCheck(store::ItemRecord& page, int count) {
    display_.ShowResultsAfterCheck(page, count);
}

void TerminalPane::ShowCurrentText(store::ItemRecord& page) {
    display_.ShowCurrentText(page, store::ReadLogIndex(page.node.path));
}

void TerminalPane::OnRunsAppended(const viewer::ResultDocument& document, std::size_t first,
                                  std::size_t count) {
    for (std::size_t i = first; i < first + count; ++i) {
        const viewer::TextRun& run = document.Runs()[i];
        out_ << ToTerminal(document.RunText(run));
        if (run.link != viewer::kNoLink) {
            const std::string& target = document.Links()[run.link].target;
            if (!viewer::IsSettingsTarget(target)) {
                out_ << " <" << ToTerminal(target) << ">";
            }
        }
    }
}

}  // namespace velnora::cli

#include "cli/terminal_pane.h"

#include "cli/cli_support.h"
#include "results/link_targets.h"

namespace velnora::cli {

TerminalPane::TerminalPane(std::ostream& out, store::PageTree& tree,
                           const results::DisplaySettings& settings)
    : DisplayCheckObserver(pane_display_), out_(out), tree_(tree), pane_display_(document_, this) {
    pane_display_.SetSettings(settings);
    document_.SetListener(this);
}

void TerminalPane::OnRunsAppended(const results::ResultDocument& document, std::size_t first,
                                  std::size_t count) {
    for (std::size_t i = first; i < first + count; ++i) {
        const results::TextRun& run = document.Runs()[i];
        out_ << ToTerminal(document.RunText(run));
        if (run.link != results::kNoLink) {
            const std::string& target = document.Links()[run.link].target;
            if (!results::IsSettingsTarget(target)) {
                out_ << " <" << ToTerminal(target) << ">";
            }
        }
    }
}

}  // namespace velnora::cli

#pragma once

// What velnora-cli check tells besides the pane it prints: a record of each page the check
// took up (its outcome, its error line), given at the end as JSON Lines (--json) and to a
// command on its standard input (--notify-command).

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/terminal_pane.h"
#include "processing/page_check.h"

namespace velnora::cli {

class CheckReport : public TerminalPane {
  public:
    using TerminalPane::TerminalPane;

    void ErrorLine(const store::ItemRecord& page, std::string_view message) override;
    void PageOutcome(const store::ItemRecord& page, processing::CheckOutcome outcome) override;
    void PageDone(const store::ItemRecord& page) override;

    // One JSON object per page, a line each, in the order of the tree: name, path
    // (in the tree), url, code (result.ini's), result ("no_change", "not_modified", "updated",
    // "first_check" or "error"), lines (the new lines as the pane renders them) and error (the
    // error line's text, or null). Text is UTF-8.
    void WriteJsonLines(std::ostream& out) const;

    // The updated pages, a line each: the path in the tree, a tab, the address, a tab and the
    // number of new lines (UTF-8). Empty when no page was updated.
    std::string UpdatedPages() const;

  private:
    struct Entry {
        store::ItemRecord page;
        std::optional<processing::CheckOutcome> outcome;
        std::optional<std::string> error;  // Shift_JIS
    };
    Entry& EntryOf(const store::ItemRecord& page);
    // The entries in the order of the tree (a check's walk).
    std::vector<const Entry*> InTreeOrder() const;
    // The rendered lines of the page's newest update text.
    std::vector<std::string> NewLines(const store::ItemRecord& page) const;

    std::vector<Entry> entries_;
};

// Runs `/bin/sh -c command` once with the text on its standard input, and waits for it; its
// exit status is not looked at. With quiet_stdout its standard output goes to standard error.
void RunNotifyCommand(const std::string& command, const std::string& input, bool quiet_stdout);

}  // namespace velnora::cli

#include "search/hit_display.h"

#include "search/texts.h"

namespace velnora::search {

void ShowPageHits(results::ResultDisplay& display, const store::ItemRecord& page,
                  const std::vector<std::string>& lines) {
    results::ResultDocument& document = display.document();
    document.BeginBatch(results::BatchView::kTextOnly);
    display.HeaderLine(page, std::nullopt);
    for (const std::string& line : lines) {
        display.RenderLine(line);
    }
    document.AppendText("\n");
    document.EndBatch();
}

void ShowNotFound(results::ResultDocument& document, std::string_view search_text) {
    std::string line(kNotFoundOpening);
    line.append(search_text).append(kNotFoundClosing).append("\n");
    document.BeginBatch(results::BatchView::kTextOnly);
    document.AppendText(line);
    document.EndBatch();
}

}  // namespace velnora::search

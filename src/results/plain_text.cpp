#include "results/plain_text.h"

#include "results/link_targets.h"

namespace velnora::results {

std::string PlainText(const ResultDocument& document) {
    std::string out;
    out.reserve(document.Text().size());
    for (const TextRun& run : document.Runs()) {
        out.append(document.RunText(run));
        if (run.link == kNoLink) {
            continue;
        }
        const std::string& target = document.Links()[run.link].target;
        if (!IsSettingsTarget(target)) {
            out.append(" <").append(target).append(">");
        }
    }
    return out;
}

}  // namespace velnora::results

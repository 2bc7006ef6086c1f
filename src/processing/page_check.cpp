#include "processing/page_check.h"

namespace velnora::processing {

std::string_view CheckOutcomeName(CheckOutcome outcome) {
    switch (outcome) {
        case CheckOutcome::NoChange:
            return "NoChange";
        case CheckOutcome::Updated:
            return "Updated";
        case CheckOutcome::FirstCheck:
            return "FirstCheck";
        case CheckOutcome::HttpError:
            return "HttpError";
        case CheckOutcome::NotModified:
            return "NotModified";
    }
    return "Unknown";
}

CheckOutcome RunPageCheck(const PageCheckInput&, PipelineObserver&, const std::atomic<bool>&) {
    return CheckOutcome::NoChange;
}

}  // namespace velnora::processing

#include "window/update_notice.h"

#include "fetch/messages.h"
#include "window/notice_texts.h"

namespace velnora::window {

UpdateNotice ComposeUpdateNotice(const std::vector<std::string>& page_names) {
    UpdateNotice notice;
    notice.summary =
        std::to_string(page_names.size()) + std::string(fetch::messages::kUpdatesFoundSuffix);
    for (std::size_t i = 0; i < page_names.size() && i < kNoticeNames; ++i) {
        if (i > 0) {
            notice.body += notice_texts::kNameSeparator;
        }
        notice.body += page_names[i];
    }
    if (page_names.size() > kNoticeNames) {
        notice.body += std::string(notice_texts::kOthersPrefix) +
                       std::to_string(page_names.size() - kNoticeNames) +
                       std::string(notice_texts::kOthersSuffix);
    }
    return notice;
}

}  // namespace velnora::window

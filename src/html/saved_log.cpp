#include "html/saved_log.h"

#include <cstdio>

#include "html/document_head.h"
#include "html/document_html.h"

namespace velnora::html {

std::string SavedLogHtml(const results::ResultDocument& document,
                         const results::PaneAppearance& appearance, const std::tm& now) {
    std::string html = DocumentHead(appearance, now);
    AppendDocumentHtml(html, document, ImageForm::kAsText);
    html.append(kDocumentClosing);
    return html;
}

std::string DefaultSavedLogName(const std::tm& now) {
    char name[64];
    std::snprintf(name, sizeof name, "%04d%02d%02d-%02d%02d%02d.html", now.tm_year + 1900,
                  now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min, now.tm_sec);
    return name;
}

}  // namespace velnora::html

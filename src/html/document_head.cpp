#include "html/document_head.h"

#include <cstdio>

#include "html/texts.h"

namespace velnora::html {

std::string HtmlColor(results::ColorRef color) {
    unsigned red = color & 0xFF;
    unsigned green = (color >> 8) & 0xFF;
    unsigned blue = (color >> 16) & 0xFF;
    char text[8];
    std::snprintf(text, sizeof text, "#%06X", red << 16 | green << 8 | blue);
    return text;
}

std::string DocumentHead(const results::PaneAppearance& appearance, const std::tm& now) {
    char title[96];
    std::snprintf(title, sizeof title, " (%04d/%02d/%02d %02d:%02d.%02d)</title>\n",
                  now.tm_year + 1900, now.tm_mon + 1, now.tm_mday, now.tm_hour, now.tm_min,
                  now.tm_sec);
    std::string head =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n"
        "<html lang=\"ja\">\n"
        "<head>\n"
        "<title>";
    head.append(kResultsTitle).append(title);
    head.append(
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">\n"
        "<meta http-equiv=\"Content-Style-Type\" content=\"text/css\">\n"
        "<style type=\"text/css\">\n"
        "<!--\n"
        "body {\n");
    head.append(" background-color: ").append(HtmlColor(appearance.back_color)).append(";\n");
    head.append(" color: ").append(HtmlColor(appearance.color)).append(";\n");
    head.append(" font-size: ").append(std::to_string(appearance.point)).append("pt;\n");
    head.append(" line-height: ").append(std::to_string(appearance.line_height)).append("%;\n");
    head.append(
        "}\n"
        "-->\n"
        "</style>\n"
        "<link rel=\"stylesheet\" type=\"text/css\" href=\"default.css\">\n"
        "</head>\n"
        "<body>\n");
    return head;
}

std::tm LocalNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

}  // namespace velnora::html

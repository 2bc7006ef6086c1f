#include "window/print_layout.h"

namespace velnora::window {

namespace {

bool EndsLine(QChar c) {
    return c == QLatin1Char('\n') || c == QChar::ParagraphSeparator || c == QChar::LineSeparator;
}

// Characters that stand for nothing printable: a carriage return before a line feed, the
// placeholder of an image.
bool Skipped(QChar c) {
    return c == QLatin1Char('\r') || c == QChar::ObjectReplacementCharacter;
}

}  // namespace

std::vector<PrintPage> LayOutPrintPages(const QString& text, const PrintMeasures& measures,
                                        const std::function<qreal(const QString&)>& width) {
    std::vector<PrintPage> pages(1);
    qreal x = 0;
    qreal y = 0;
    auto next_line = [&] {
        x = 0;
        y += measures.line_height;
        if (y + measures.line_height > measures.page_height) {
            pages.emplace_back();
            y = 0;
        }
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        QChar c = text[i];
        if (EndsLine(c)) {
            next_line();
            continue;
        }
        if (Skipped(c)) {
            continue;
        }
        QString character(c);
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            character += text[++i];
        }
        qreal advance = width(character);
        // At the start of a line even a character wider than the page stands: wrapping first
        // would only leave an empty line.
        if (x > 0 && x + advance > measures.page_width) {
            next_line();
        }
        pages.back().push_back({x, y, character});
        x += advance;
    }
    // Empty lines at the end print no empty sheets.
    while (!pages.empty() && pages.back().empty()) {
        pages.pop_back();
    }
    return pages;
}

}  // namespace velnora::window

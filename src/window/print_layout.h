#pragma once

// Where printing puts each character of a text, page by page: character after character from
// the top left, a line feed starting the next line, a character that would pass the page's
// right edge starting the next line first (a character is never split), a line that would pass
// the bottom edge starting the next page. Lines are the given height apart, so a page holds the
// page height divided by the line height lines, rounded down. A run of empty lines crossing a
// page's end leaves that page empty; empty pages at the end are not printed.

#include <QString>
#include <functional>
#include <vector>

namespace velnora::window {

struct PrintMeasures {
    qreal page_width = 0;
    qreal page_height = 0;
    qreal line_height = 0;  // more than 0
};

struct PlacedCharacter {
    qreal x = 0;
    qreal y = 0;   // the top of its line
    QString text;  // one character (a surrogate pair stays together)
};

using PrintPage = std::vector<PlacedCharacter>;

// width: the advance of one character on the page.
std::vector<PrintPage> LayOutPrintPages(const QString& text, const PrintMeasures& measures,
                                        const std::function<qreal(const QString&)>& width);

}  // namespace velnora::window

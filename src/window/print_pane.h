#pragma once

// Printing the result pane's text: the print dialog (collated copies offered and chosen, no
// selection to print), then the text character by character in the pane's face and point size,
// with the display's line height, under a cancel dialog. Printing to a PDF file is one of the
// dialog's printers.

#include <QFont>
#include <QPrinter>
#include <QString>
#include <QWidget>
#include <functional>

namespace velnora::window {

struct PrintJob {
    QString text;
    QFont font;                   // the pane's font: its face (or the Japanese fallback) and size
    int line_height_percent = 0;  // LINE_HEIGHT: per cent of the font's height
    QString document_name;
};

enum class PrintResult {
    kPrinted,    // to the end
    kCancelled,  // stopped by the user after the current character
    kFailed,     // the printer could not be used or a page could not be started
};

// Prints the job on the printer as it is set up (copies, collation, output file). cancelled is
// asked after every character.
PrintResult PrintText(QPrinter& printer, const PrintJob& job,
                      const std::function<bool()>& cancelled);

// The print command: the dialog, then the printing with its cancel dialog. Nothing is printed
// when the dialog is cancelled or the text is empty.
PrintResult PrintWithDialog(QWidget* window, const PrintJob& job);

// For tests: the next print dialog is not shown; the function sets the printer up (a PDF file,
// copies) and answers whether it was accepted.
void SetNextPrintDialogAnswer(std::function<bool(QPrinter&)> answer);

}  // namespace velnora::window

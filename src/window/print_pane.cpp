#include "window/print_pane.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>
#include <deque>

#include "window/print_layout.h"

namespace velnora::window {

namespace {

// Answers given in advance by tests; only the user-interface thread uses them.
std::deque<std::function<bool(QPrinter&)>> next_answers;

// Events are handled while printing every this many characters, so that the cancel button
// and the window's painting respond without slowing the printing down.
constexpr int kCharactersBetweenEvents = 16;

// A small window with one button that stops the printing. It takes the input from the main
// window while it shows.
class CancelDialog : public QDialog {
  public:
    explicit CancelDialog(QWidget* window) : QDialog(window) {
        setObjectName("PrintCancelDialog");
        setWindowTitle(QString::fromUtf16(u"印刷"));
        setWindowModality(Qt::ApplicationModal);
        // Only the button closes it.
        setWindowFlags((windowFlags() | Qt::CustomizeWindowHint) & ~Qt::WindowCloseButtonHint);
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(new QLabel(QString::fromUtf16(u"印刷しています..."), this));
        auto* button = new QPushButton(QString::fromUtf16(u"キャンセル"), this);
        button->setObjectName("CancelPrinting");
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, [this] {
            cancelled_ = true;
            hide();
        });
    }
    bool cancelled() const { return cancelled_; }

  protected:
    void reject() override {}  // Esc does not close it without cancelling

  private:
    bool cancelled_ = false;
};

qreal LineHeight(const QFontMetricsF& metrics, int percent) {
    qreal height = std::floor(metrics.height() * percent / 100);
    // A height of nothing would print every line on top of the one before.
    return height >= 1 ? height : metrics.height();
}

}  // namespace

void SetNextPrintDialogAnswer(std::function<bool(QPrinter&)> answer) {
    next_answers.push_back(std::move(answer));
}

PrintResult PrintText(QPrinter& printer, const PrintJob& job,
                      const std::function<bool()>& cancelled) {
    printer.setDocName(job.document_name);
    QFontMetricsF metrics(job.font, &printer);
    QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    PrintMeasures measures{page.width(), page.height(),
                           LineHeight(metrics, job.line_height_percent)};
    std::vector<PrintPage> pages = LayOutPrintPages(
        job.text, measures, [&](const QString& c) { return metrics.horizontalAdvance(c); });
    if (pages.empty()) {
        return PrintResult::kPrinted;
    }
    // A printer that makes the copies itself gets the text once; otherwise the copies are
    // printed here: the whole text again and again when collated, each page again and again
    // otherwise.
    int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    std::vector<const PrintPage*> order;
    if (printer.collateCopies()) {
        for (int copy = 0; copy < copies; ++copy) {
            for (const PrintPage& one : pages) {
                order.push_back(&one);
            }
        }
    } else {
        for (const PrintPage& one : pages) {
            order.insert(order.end(), static_cast<std::size_t>(copies), &one);
        }
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        return PrintResult::kFailed;
    }
    painter.setFont(job.font);
    painter.setPen(Qt::black);
    qreal ascent = metrics.ascent();
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            painter.end();
            return PrintResult::kFailed;
        }
        for (const PlacedCharacter& c : *order[i]) {
            painter.drawText(QPointF(c.x, c.y + ascent), c.text);
            if (cancelled()) {
                printer.abort();
                painter.end();
                return PrintResult::kCancelled;
            }
        }
    }
    return painter.end() ? PrintResult::kPrinted : PrintResult::kFailed;
}

PrintResult PrintWithDialog(QWidget* window, const PrintJob& job) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setCollateCopies(true);
    printer.setCopyCount(1);
    bool accepted = false;
    if (!next_answers.empty()) {
        accepted = next_answers.front()(printer);
        next_answers.pop_front();
    } else {
        QPrintDialog dialog(&printer, window);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
        dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
        accepted = dialog.exec() == QDialog::Accepted;
    }
    if (!accepted || job.text.isEmpty()) {
        return PrintResult::kPrinted;
    }
    CancelDialog cancel(window);
    cancel.show();
    int count = 0;
    PrintResult result = PrintText(printer, job, [&] {
        if (++count % kCharactersBetweenEvents == 0) {
            QApplication::processEvents();
        }
        return cancel.cancelled();
    });
    cancel.hide();
    return result;
}

}  // namespace velnora::window

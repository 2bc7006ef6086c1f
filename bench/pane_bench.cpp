// The result pane showing a long update text: 2,000 lines of Japanese text with a link on every
// line and an image on every tenth, from the moment the display starts appending to the document
// until the widget has laid all of the text out and painted its view. The goal is under 300 ms.

#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QTextDocument>
#include <filesystem>
#include <fstream>
#include <string>

#include "pane/result_pane.h"
#include "results/display.h"
#include "results/document.h"
#include "settings/app_settings.h"
#include "settings/settings_views.h"
#include "store/records.h"
#include "text/cp932.h"

namespace {

using namespace velnora;
namespace fs = std::filesystem;

constexpr int kLines = 2000;

// add0.txt of a page directory under the temporary directory, as the check stores it.
store::ItemRecord MakePage(const fs::path& dir) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::string text;
    for (int i = 0; i < kLines; ++i) {
        std::string n = std::to_string(i);
        std::string line = "2026/12/07 新着のお知らせ " + n +
                           " <a href=\"http://example.com/news/" + n + ".html\">第" + n +
                           "回 更新情報とキーワード</a> 本文の一部がここに続きます";
        if (i % 10 == 0) {
            line += " <img src=\"http://example.com/img/" + n + ".png\" alt=\"写真\">";
        }
        text += text::Utf8ToShiftJis(line) + "\r\n";
    }
    std::ofstream(dir / "add0.txt", std::ios::binary) << text;
    store::ItemRecord page;
    page.node.item = 1;
    page.node.kind = store::KIND_PAGE;
    page.node.name = "bench";
    page.node.path = dir.string();
    page.node.parent_directory = dir.parent_path().string();
    page.settings.url = "http://example.com/";
    return page;
}

void ShowUpdateText(benchmark::State& state, bool highlight) {
    fs::path dir = fs::temp_directory_path() / "velnora-pane-bench.dat";
    store::ItemRecord page = MakePage(dir);
    results::ResultDocument document;
    results::ResultDisplay display(document);
    results::DisplaySettings settings;
    settings.max_disp_line = kLines;
    settings.use_highlight = highlight ? 1 : 0;
    settings.highlights[0] = text::Utf8ToShiftJis("キーワード");
    display.SetSettings(settings);
    pane::ResultPane pane(document, settings::PaneAppearanceFrom(settings::AppSettings{}));
    pane.resize(800, 600);
    pane.show();
    QApplication::processEvents();

    for (auto _ : state) {
        state.PauseTiming();
        document.Clear();
        QApplication::processEvents();
        state.ResumeTiming();

        display.ShowUpdateText(page, 0);
        pane.document()->documentLayout()->documentSize();  // every line laid out
        pane.viewport()->repaint();
    }
    state.counters["lines"] = static_cast<double>(kLines);
    fs::remove_all(dir);
}
BENCHMARK_CAPTURE(ShowUpdateText, Plain, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ShowUpdateText, Highlighted, true)->Unit(benchmark::kMillisecond);

}  // namespace

// The page check pipeline's hot paths: extraction of a stored response in each encoding, and the
// comparison of a new text with the page's past log.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "processing/extracted_text_writer.h"
#include "processing/latest_log_comparison.h"
#include "processing/page_check.h"
#include "processing/page_extraction.h"
#include "processing/update_filter.h"
#include "store/records.h"

namespace {

using namespace velnora;

std::string ReadFile(const std::string& name) {
    std::ifstream in(std::string(VELNORA_BENCH_DATA) + "/" + name, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class DiscardingOutput : public processing::TextOutput {
  public:
    void Write(std::string_view text) override { benchmark::DoNotOptimize(text.data()); }
};

// The response after its first line, fed in the driver's blocks of 99,999 bytes.
void BM_Extract(benchmark::State& state, const char* file) {
    std::string response = ReadFile(file);
    std::string_view body(response);
    body.remove_prefix(body.find('\n') + 1);
    store::PageSettings settings;
    settings.url = "http://example.com/";
    for (auto _ : state) {
        DiscardingOutput output;
        processing::ResponseExtractor extractor(settings, output);
        for (std::size_t pos = 0; pos < body.size(); pos += 99999) {
            extractor.Feed(body.substr(pos, 99999));
        }
        extractor.Finish();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(response.size()));
}
BENCHMARK_CAPTURE(BM_Extract, ShiftJis, "page-sjis.txt")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Extract, Utf8, "page-utf8.txt")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Extract, EucJp, "page-eucjp.txt")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_Extract, ChunkedGzip, "page-gzip-chunked.txt")->Unit(benchmark::kMicrosecond);

// Two texts of 2,000 lines, every tenth line of the new one changed; both passes of the
// comparison, with the latest past log searched again by the second.
void BM_Compare2000Lines(benchmark::State& state) {
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "velnora-bench-compare";
    fs::create_directories(dir);
    std::string old_text;
    std::string new_text;
    for (int i = 0; i < 2000; ++i) {
        std::string line = "<a href=\"http://example.com/news/" + std::to_string(i) +
                           ".html\">headline number " + std::to_string(i) + "</a> 2026/12/07";
        old_text += line + "\r\n";
        new_text += (i % 10 == 0 ? line + " (changed)" : line) + "\r\n";
    }
    std::ofstream(dir / "log1.txt", std::ios::binary) << old_text;
    std::ofstream(dir / "new.txt", std::ios::binary) << new_text;
    store::PageSettings settings;
    processing::SilentObserver observer;
    std::atomic<bool> closing{false};
    processing::ComparisonContext context{settings, dir.string(), 1, observer, closing};
    std::string log = (dir / "log1.txt").string();
    std::string fresh = (dir / "new.txt").string();
    std::string add = (dir / "add.txt").string();
    for (auto _ : state) {
        if (processing::CompareWithLatestLog(log, fresh, add, context).failure ||
            processing::FilterUpdateLines(add, 1, context)) {
            state.SkipWithError("the comparison could not write add.txt");
            break;
        }
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_Compare2000Lines)->Unit(benchmark::kMillisecond);

}  // namespace

namespace {

// A whole page check of a changed page: the stored response of the sample page with a few new
// headlines and every twentieth row rewritten, against the log of the unchanged page.
void BM_PageCheckChanged(benchmark::State& state) {
    namespace fs = std::filesystem;
    std::string response = ReadFile("page-sjis.txt");
    std::string changed = response;
    std::size_t body = changed.find("\r\n\r\n") + 4;
    changed.insert(body, "<p>new headline 1</p><p>new headline 2</p>\n");
    int row = 0;
    for (std::size_t at = changed.find("<tr>", body); at != std::string::npos;
         at = changed.find("<tr>", at + 4)) {
        if (++row % 20 == 0) {
            changed.insert(at + 4, "<td>rewritten " + std::to_string(row) + "</td>");
        }
    }
    fs::path dir = fs::temp_directory_path() / "velnora-bench-page.dat";
    fs::remove_all(dir);
    fs::create_directories(dir);
    std::ofstream(dir / "site.ini", std::ios::binary)
        << "[CONFIG]\r\nURL=http://example.com/\r\nUSE_OLD_LOG=1\r\n";
    processing::PageCheckInput input;
    input.page_directory = dir.string();
    input.settings.url = "http://example.com/";
    processing::SilentObserver observer;
    std::atomic<bool> closing{false};
    // The first check makes the log the changed page is compared with.
    std::ofstream(dir / "htmltmp.txt", std::ios::binary) << response;
    processing::RunPageCheck(input, observer, closing);
    fs::copy_file(dir / "log1.txt", dir / "base-log.txt");
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* name : {"log2.txt", "add2.txt", "new.txt", "add.txt"}) {
            fs::remove(dir / name);
        }
        fs::copy_file(dir / "base-log.txt", dir / "log1.txt", fs::copy_options::overwrite_existing);
        std::ofstream(dir / "index.txt", std::ios::binary) << "1";
        std::ofstream(dir / "htmltmp.txt", std::ios::binary) << changed;
        state.ResumeTiming();
        processing::RunPageCheck(input, observer, closing);
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_PageCheckChanged)->Unit(benchmark::kMicrosecond);

}  // namespace
BENCHMARK_MAIN();

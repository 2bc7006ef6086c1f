// The page check pipeline's hot paths: extraction of a stored response in each encoding, and the
// comparison of a new text with the page's past log.

#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "processing/comparison.h"
#include "processing/extracted_text_writer.h"
#include "processing/page_extraction.h"
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
        processing::CompareWithLatestLog(log, fresh, add, context);
        processing::FilterUpdateLines(add, 1, context);
    }
    fs::remove_all(dir);
}
BENCHMARK(BM_Compare2000Lines)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

// The past-log search over 1,000 pages, each with 25 update texts of 200 lines (goal: under 2 s,
// a user waits for it). The pages are written once into a temporary directory, outside the timed
// region; every line is read, folded and searched.

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <string>

#include "search/past_log_search.h"
#include "store/page_tree.h"
#include "text/cp932.h"

namespace {

constexpr int kPages = 1000;
constexpr int kTexts = 25;
constexpr int kLines = 200;

class NoObserver : public velnora::search::SearchObserver {
  public:
    void SearchingPage(const velnora::store::ItemRecord&) override {}
    void PageHits(const velnora::store::ItemRecord&, std::vector<std::string> lines) override {
        hits += lines.size();
    }
    std::size_t hits = 0;
};

// A home with the pages, made once for all the benchmarks.
class Pages {
  public:
    Pages() {
        char pattern[] = "/tmp/velnora-search-bench-XXXXXX";
        directory_ = ::mkdtemp(pattern);
        std::string data = directory_ + "/data";
        std::filesystem::create_directory(data);
        // A typical update line: a date, Japanese text, a number and a link (about 110 bytes).
        std::string format = velnora::text::Utf8ToShiftJis(
            "2024/05/%02d 新着情報：製品番号 %d の価格を改定しました "
            "<a href=\"http://example.com/news/%d.html\">詳細はこちら</a>\r\n");
        char line[512];
        for (int page = 0; page < kPages; ++page) {
            std::string dir = data + "/Page" + std::to_string(page) + ".dat";
            std::filesystem::create_directory(dir);
            Write(dir + "/site.ini", "[CONFIG]\r\nURL=http://example.com/\r\n");
            Write(dir + "/index.txt", "0");
            for (int text = 0; text < kTexts; ++text) {
                std::string bytes;
                for (int i = 0; i < kLines; ++i) {
                    int n = (page * kTexts + text) * kLines + i;
                    std::snprintf(line, sizeof line, format.c_str(), 1 + i % 28, n, n);
                    bytes += line;
                }
                Write(dir + "/add" + std::to_string(text) + ".txt", bytes);
            }
        }
        tree_ = velnora::store::PageTree(directory_ + "/");
        velnora::store::PopulateTree(tree_);
    }
    ~Pages() { std::filesystem::remove_all(directory_); }

    const velnora::store::PageTree& tree() const { return tree_; }

  private:
    static void Write(const std::string& path, const std::string& bytes) {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }

    std::string directory_;
    velnora::store::PageTree tree_;
};

const Pages& SharedPages() {
    static Pages pages;
    return pages;
}

void Search(benchmark::State& state, const char* text_utf8) {
    const Pages& pages = SharedPages();
    std::string text = velnora::text::Utf8ToShiftJis(text_utf8);
    std::atomic<bool> cancel{false};
    std::size_t hits = 0;
    for (auto _ : state) {
        NoObserver observer;
        velnora::search::SearchPastLogs(pages.tree(), pages.tree().root(), text, cancel, observer);
        hits = observer.hits;
    }
    state.counters["hits"] = static_cast<double>(hits);
    state.counters["lines"] = kPages * kTexts * kLines;
}

// Found nowhere: every line is searched to its end.
void BM_PastLogSearchNoHit(benchmark::State& state) {
    Search(state, "見つからない語");
}
BENCHMARK(BM_PastLogSearchNoHit)->Unit(benchmark::kMillisecond)->Iterations(3);

// Found in one line of 10,000 (full-width digits find the half-width ones).
void BM_PastLogSearchRareHit(benchmark::State& state) {
    Search(state, "製品番号 ４２００");
}
BENCHMARK(BM_PastLogSearchRareHit)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();

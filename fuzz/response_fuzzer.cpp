// Any byte sequence as a stored response: the extraction must end, without a crash, an
// undefined operation or unbounded growth. The first bytes choose the page settings that steer
// the extraction and where the response is split into blocks.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "processing/extracted_text_writer.h"
#include "processing/page_extraction.h"

namespace {

// Keeps only the size of the text, so that a long run does not fill memory.
class CountingOutput : public velnora::processing::TextOutput {
  public:
    void Write(std::string_view text) override { size += text.size(); }
    std::size_t size = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velnora;
    if (size < 4) {
        return 0;
    }
    store::PageSettings settings;
    settings.url = "http://example.com/dir/page.html";
    settings.charset_sel = data[0] % 5;
    settings.as_text = (data[1] & 1) != 0;
    settings.table_setting = data[1] >> 1 & 3;
    std::size_t split = 1 + data[2] % 64;
    std::string_view rest(reinterpret_cast<const char*>(data + 3), size - 3);

    std::size_t line_end = rest.find('\n');
    std::string_view first_line =
        rest.substr(0, line_end == rest.npos ? rest.size() : line_end + 1);
    (void)processing::ParseStatusCode(first_line);
    rest.remove_prefix(first_line.size());

    CountingOutput output;
    processing::ResponseExtractor extractor(settings, output);
    while (!rest.empty()) {
        std::size_t n = rest.size() < split ? rest.size() : split;
        extractor.Feed(rest.substr(0, n));
        rest.remove_prefix(n);
    }
    extractor.Finish();
    return 0;
}

#include "processing/html_tokenizer.h"

namespace velnora::processing {

struct HtmlTokenizer::State {};

HtmlTokenizer::HtmlTokenizer(TextAccumulator&, ExtractedTextWriter&, EncodingSelector&,
                             ExtractionOptions)
    : state_(std::make_unique<State>()) {}
HtmlTokenizer::~HtmlTokenizer() = default;
void HtmlTokenizer::Reset() {}
void HtmlTokenizer::BeginBody(bool) {}
std::size_t HtmlTokenizer::Take(std::string_view bytes) {
    return bytes.size();
}
void HtmlTokenizer::EndBody() {}

}  // namespace velnora::processing

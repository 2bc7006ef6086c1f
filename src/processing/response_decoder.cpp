#include "processing/response_decoder.h"

namespace velnora::processing {

ResponseDecoder::ResponseDecoder(TextAccumulator& accumulator, ResponseEvents& events,
                                 int charset_sel)
    : accumulator_(accumulator),
      events_(events),
      charset_sel_(charset_sel),
      inflater_([this](std::string_view bytes) { events_.OnBody(bytes); }) {}

void ResponseDecoder::Reset() {}
void ResponseDecoder::Feed(std::string_view) {}
void ResponseDecoder::Finish() {}

}  // namespace velnora::processing

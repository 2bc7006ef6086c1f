#include "processing/gzip_inflater.h"

namespace velnora::processing {

struct GzipInflater::Impl {
    Output output;
};

GzipInflater::GzipInflater(Output output) : impl_(std::make_unique<Impl>()) {
    impl_->output = std::move(output);
}
GzipInflater::~GzipInflater() = default;
void GzipInflater::Reset() {}
void GzipInflater::Feed(std::string_view) {}
void GzipInflater::Finish() {}
bool GzipInflater::stopped() const {
    return true;
}
std::size_t GzipInflater::inflated_bytes() const {
    return 0;
}

}  // namespace velnora::processing

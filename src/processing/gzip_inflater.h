#pragma once

// Inflates a gzip body as it streams in, with zlib. Concatenated members are read in turn;
// anything after a complete member that does not begin with the gzip magic bytes is ignored; a
// body that does not begin with them at all is passed through unchanged. A damaged or truncated
// stream ends the inflation and keeps every byte inflated before the damage (cut_short tells a
// stream that ended inside a member from a whole one). Inflated output stops after
// kMaxInflatedBytes (a body passed through unchanged is not inflation and has no such limit).

#include <cstddef>
#include <functional>
#include <memory>
#include <string_view>

namespace velnora::processing {

class GzipInflater {
  public:
    using Output = std::function<void(std::string_view)>;

    explicit GzipInflater(Output output);
    ~GzipInflater();
    GzipInflater(const GzipInflater&) = delete;
    GzipInflater& operator=(const GzipInflater&) = delete;

    void Reset();
    void Feed(std::string_view compressed);
    // The compressed input has ended.
    void Finish();
    // True once nothing more will be output (damage, the limit, trailing data, or Finish).
    bool stopped() const;
    // After Finish: the input ended inside a gzip member, before its end.
    bool cut_short() const;
    // Bytes inflated and handed on so far.
    std::size_t inflated_bytes() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace velnora::processing

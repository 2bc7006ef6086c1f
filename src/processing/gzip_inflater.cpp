#include "processing/gzip_inflater.h"

#include <zlib.h>

#include <algorithm>
#include <array>

#include "processing/limits.h"

namespace velnora::processing {
namespace {

constexpr unsigned char kMagic0 = 0x1F;
constexpr unsigned char kMagic1 = 0x8B;
// Input handed to zlib per call (its counts are 32-bit).
constexpr std::size_t kMaxZlibInput = std::size_t{1} << 30;

}  // namespace

struct GzipInflater::Impl {
    // What the inflater does with the next input byte.
    enum class Mode {
        kMagic,        // reading the two bytes that must begin a member
        kInflate,      // inside a member
        kPassThrough,  // the body is not gzip: bytes go on unchanged
        kStopped,      // nothing more is output
    };

    Output output;
    z_stream stream{};
    bool stream_ready = false;
    Mode mode = Mode::kMagic;
    bool first_member = true;
    std::array<unsigned char, 2> magic{};
    std::size_t magic_length = 0;
    std::size_t inflated = 0;
    bool cut_short = false;
    std::array<unsigned char, kInflateBufferSize> buffer{};

    void Start() {
        mode = stream_ready ? Mode::kMagic : Mode::kStopped;
        first_member = true;
        magic_length = 0;
        inflated = 0;
        cut_short = false;
    }

    void Emit(const unsigned char* bytes, std::size_t n) {
        if (n != 0) {
            output({reinterpret_cast<const char*>(bytes), n});
        }
    }

    // Reads the magic bytes of a member; returns how many input bytes it used.
    std::size_t ReadMagic(std::string_view in) {
        std::size_t used = 0;
        while (magic_length < 2 && used < in.size()) {
            magic[magic_length++] = static_cast<unsigned char>(in[used++]);
        }
        if (magic_length < 2) {
            return used;
        }
        magic_length = 0;
        if (magic[0] == kMagic0 && magic[1] == kMagic1) {
            inflateReset(&stream);
            mode = Mode::kInflate;
            Inflate({reinterpret_cast<const char*>(magic.data()), 2});
        } else if (first_member) {
            mode = Mode::kPassThrough;
            Emit(magic.data(), 2);
        } else {
            mode = Mode::kStopped;  // trailing bytes after the last member
        }
        return used;
    }

    // Inflates input of the current member; returns how many input bytes it used.
    std::size_t Inflate(std::string_view in) {
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
        stream.avail_in = static_cast<uInt>(in.size());
        do {
            stream.next_out = buffer.data();
            stream.avail_out = static_cast<uInt>(buffer.size());
            int result = inflate(&stream, Z_NO_FLUSH);
            std::size_t produced = buffer.size() - stream.avail_out;
            std::size_t room = kMaxInflatedBytes - inflated;
            if (produced >= room) {
                Emit(buffer.data(), room);
                inflated += room;
                mode = Mode::kStopped;
                break;
            }
            Emit(buffer.data(), produced);
            inflated += produced;
            if (result == Z_STREAM_END) {
                mode = Mode::kMagic;  // another member may follow
                first_member = false;
                break;
            }
            if (result == Z_BUF_ERROR) {
                break;  // needs more input
            }
            if (result != Z_OK) {
                mode = Mode::kStopped;  // damaged: keep what came before
                break;
            }
        } while (stream.avail_in > 0 || stream.avail_out == 0);
        return in.size() - stream.avail_in;
    }
};

GzipInflater::GzipInflater(Output output) : impl_(std::make_unique<Impl>()) {
    impl_->output = std::move(output);
    impl_->stream_ready = inflateInit2(&impl_->stream, 16 + MAX_WBITS) == Z_OK;
    impl_->Start();
}

GzipInflater::~GzipInflater() {
    if (impl_->stream_ready) {
        inflateEnd(&impl_->stream);
    }
}

void GzipInflater::Reset() {
    if (impl_->stream_ready) {
        inflateReset(&impl_->stream);
    }
    impl_->Start();
}

void GzipInflater::Feed(std::string_view compressed) {
    Impl& d = *impl_;
    while (!compressed.empty()) {
        std::size_t used = 0;
        switch (d.mode) {
            case Impl::Mode::kMagic:
                used = d.ReadMagic(compressed);
                break;
            case Impl::Mode::kInflate:
                used = d.Inflate(compressed.substr(0, kMaxZlibInput));
                break;
            case Impl::Mode::kPassThrough:
                d.Emit(reinterpret_cast<const unsigned char*>(compressed.data()),
                       compressed.size());
                return;
            case Impl::Mode::kStopped:
                return;
        }
        compressed.remove_prefix(used);
    }
}

void GzipInflater::Finish() {
    Impl& d = *impl_;
    // A body of one byte cannot be a gzip stream: it goes on unchanged.
    if (d.mode == Impl::Mode::kMagic && d.first_member && d.magic_length == 1) {
        d.Emit(d.magic.data(), 1);
    }
    if (d.mode == Impl::Mode::kInflate) {
        d.cut_short = true;
    }
    d.mode = Impl::Mode::kStopped;
}

bool GzipInflater::cut_short() const {
    return impl_->cut_short;
}

bool GzipInflater::stopped() const {
    return impl_->mode == Impl::Mode::kStopped;
}

std::size_t GzipInflater::inflated_bytes() const {
    return impl_->inflated;
}

}  // namespace velnora::processing

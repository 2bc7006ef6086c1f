#include "files/text_file.h"

#include <cstring>

namespace velnora::files {

namespace {

constexpr std::size_t kBlockSize = 65536;

// The length of the run before the first CR or LF in the bytes (size when there is none).
std::size_t LineEndIn(const char* bytes, std::size_t size) {
    const void* lf = std::memchr(bytes, '\n', size);
    std::size_t end = lf == nullptr ? size : static_cast<const char*>(lf) - bytes;
    const void* cr = std::memchr(bytes, '\r', end);
    return cr == nullptr ? end : static_cast<const char*>(cr) - bytes;
}

}  // namespace

bool TextReader::Open(std::string_view path, std::string* error) {
    buffer_.clear();
    position_ = 0;
    end_ = false;
    return file_.Open(path, error);
}

// Moves unread bytes to the front and reads one more block; false when nothing more came.
bool TextReader::Fill() {
    if (end_) {
        return false;
    }
    buffer_.erase(0, position_);
    position_ = 0;
    std::size_t old_size = buffer_.size();
    buffer_.resize(old_size + kBlockSize);
    std::size_t n = file_.Read(buffer_.data() + old_size, kBlockSize);
    buffer_.resize(old_size + n);
    if (n == 0) {
        end_ = true;
    }
    return n != 0;
}

bool TextReader::ReadLine(std::string& line, std::size_t buffer_size) {
    line.clear();
    if (!file_.IsOpen() || buffer_size < 2) {
        return false;
    }
    std::size_t limit = buffer_size - 1;
    for (;;) {
        if (position_ >= buffer_.size() && !Fill()) {
            return !line.empty();
        }
        char c = buffer_[position_];
        if (c == '\r') {
            // A CR needs the byte after it: CR LF is one line feed.
            if (position_ + 1 >= buffer_.size()) {
                Fill();
            }
            if (position_ + 1 < buffer_.size() && buffer_[position_ + 1] == '\n') {
                position_ += 2;
                line.push_back('\n');
                return true;
            }
            ++position_;
            line.push_back('\r');
        } else {
            // Copy up to the next CR or LF in one piece.
            std::size_t room = limit - line.size();
            std::size_t available = buffer_.size() - position_;
            std::size_t span = available < room ? available : room;
            const char* start = buffer_.data() + position_;
            std::size_t run = LineEndIn(start, span);
            if (run < span && start[run] == '\n') {
                line.append(start, run + 1);
                position_ += run + 1;
                return true;
            }
            line.append(start, run);
            position_ += run;
        }
        if (line.size() >= limit) {
            return true;
        }
    }
}

bool TextWriter::Open(std::string_view path, std::string* error) {
    pending_.clear();
    return file_.Open(path, error);
}

bool TextWriter::Write(std::string_view text) {
    if (!file_.IsOpen()) {
        return false;
    }
    std::size_t start = 0;
    for (;;) {
        std::size_t lf = text.find('\n', start);
        if (lf == std::string_view::npos) {
            pending_.append(text.substr(start));
            break;
        }
        pending_.append(text.substr(start, lf - start));
        pending_.append("\r\n");
        start = lf + 1;
    }
    if (pending_.size() >= kBlockSize) {
        return Flush();
    }
    return file_.error().empty();
}

bool TextWriter::Flush() {
    bool ok = file_.Write(pending_);
    pending_.clear();
    return ok;
}

bool TextWriter::Commit(Durability durability) {
    if (!file_.IsOpen()) {
        return false;
    }
    bool flushed = Flush();
    return file_.Commit(durability) && flushed;
}

void TextWriter::Abandon() {
    pending_.clear();
    file_.Abandon();
}

}  // namespace velnora::files

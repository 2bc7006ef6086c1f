#include "processing/extracted_text_writer.h"

#include <thread>

#include "text/shift_jis.h"

namespace velnora::processing {

ExtractedTextWriter::ExtractedTextWriter(TextOutput& output) : output_(output) {
    buffer_.reserve(kWriterBufferSize);
}

std::string_view ExtractedTextWriter::Admit(std::string_view text) {
    if (cut_) {
        return {};
    }
    if (text.size() > kMaxExtractedTextBytes - total_) {
        text = text.substr(0, text::CharacterBoundary(text, kMaxExtractedTextBytes - total_));
        cut_ = true;
    }
    total_ += text.size();
    return text;
}

void ExtractedTextWriter::WriteText(std::string_view whole) {
    std::string_view text = Admit(whole);
    if (text.empty()) {
        return;
    }
    if (buffer_.size() + text.size() + 1 >= kWriterBufferSize) {
        FlushText();
    }
    if (text.size() + 1 >= kWriterBufferSize) {
        output_.Write(text);  // larger than the buffer itself: straight through
        return;
    }
    buffer_.append(text);
}

void ExtractedTextWriter::WriteChar(char c) {
    if (Admit(std::string_view(&c, 1)).empty()) {
        return;
    }
    if (buffer_.size() + 2 >= kWriterBufferSize) {
        FlushText();
    }
    buffer_.push_back(c);
}

void ExtractedTextWriter::FlushText() {
    if (buffer_.empty()) {
        return;
    }
    output_.Write(buffer_);
    buffer_.clear();
    std::this_thread::yield();
}

}  // namespace velnora::processing

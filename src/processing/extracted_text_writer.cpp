#include "processing/extracted_text_writer.h"

#include <thread>

namespace velnora::processing {

ExtractedTextWriter::ExtractedTextWriter(TextOutput& output) : output_(output) {
    buffer_.reserve(kWriterBufferSize);
}

void ExtractedTextWriter::WriteText(std::string_view text) {
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

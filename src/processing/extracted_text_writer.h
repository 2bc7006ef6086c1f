#pragma once

// The ExtractedTextWriter buffers the extracted text and hands it on when its buffer of 100,000
// bytes is nearly full. The text goes to a TextOutput: new.txt in text mode for a check (every
// line feed becomes CR LF on disk), or memory for a preview.

#include <memory>
#include <string>
#include <string_view>

#include "files/text_file.h"
#include "processing/limits.h"

namespace velnora::processing {

class TextOutput {
  public:
    virtual ~TextOutput() = default;
    virtual void Write(std::string_view text) = 0;
};

// Writes to a file in text mode.
class FileTextOutput : public TextOutput {
  public:
    bool Open(std::string_view path) { return writer_.Open(path); }
    bool IsOpen() const { return writer_.IsOpen(); }
    void Write(std::string_view text) override { writer_.Write(text); }
    bool Close() { return writer_.Close(); }

  private:
    files::TextWriter writer_;
};

// Collects the text in memory, with bare line feeds.
class StringTextOutput : public TextOutput {
  public:
    void Write(std::string_view text) override { text_.append(text); }
    const std::string& text() const { return text_; }

  private:
    std::string text_;
};

class ExtractedTextWriter {
  public:
    explicit ExtractedTextWriter(TextOutput& output);

    void WriteText(std::string_view text);
    void WriteChar(char c);
    void FlushText();

  private:
    TextOutput& output_;
    std::string buffer_;
};

}  // namespace velnora::processing

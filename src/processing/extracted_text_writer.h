#pragma once

// The ExtractedTextWriter buffers the extracted text and hands it on when its buffer of 100,000
// bytes is nearly full. The text goes to a TextOutput: new.txt in text mode for a check (every
// line feed becomes CR LF on disk), or memory for a preview. The text of one page ends at
// kMaxExtractedTextBytes: whatever a response holds, its text is cut there.

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

// Writes a file in text mode, whole: the file takes its new text on Commit, and keeps its old
// one when anything failed or the text is abandoned.
class FileTextOutput : public TextOutput {
  public:
    [[nodiscard]] bool Open(std::string_view path, std::string* error = nullptr) {
        return writer_.Open(path, error);
    }
    bool IsOpen() const { return writer_.IsOpen(); }
    // A failed write is kept by the writer and reported by Commit.
    void Write(std::string_view text) override { (void)writer_.Write(text); }
    [[nodiscard]] bool Commit() { return writer_.Commit(); }
    void Abandon() { writer_.Abandon(); }
    const std::string& error() const { return writer_.error(); }

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
    // The text reached kMaxExtractedTextBytes; the rest was left out.
    bool cut() const { return cut_; }

  private:
    // The part of text that still fits below the limit, cut at a character boundary.
    std::string_view Admit(std::string_view text);

    TextOutput& output_;
    std::string buffer_;
    std::size_t total_ = 0;  // bytes admitted so far
    bool cut_ = false;
};

}  // namespace velnora::processing

#include "processing/html_tokenizer.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <utility>

#include "processing/tag_handler.h"
#include "processing/tag_parser.h"
#include "text/shift_jis.h"

namespace velnora::processing {
namespace {

enum class Mode : std::uint8_t {
    kHtmlText = 0,    // HTML text (or content skipped or copied after a tag, see SkipMode)
    kTag = 10,        // inside a tag: bytes go to the TagParser
    kPlainText = 20,  // a plain-text page: every byte is copied
};

// The last line-end byte that the raw writer wrote.
enum class RawLineEnd : std::uint8_t {
    kNone,  // none, or other bytes since
    kCr,    // a CR
    kLf,    // an LF
};

// Byte classes of the text loops.
enum ByteClass : std::uint8_t {
    kOrdinary = 0,  // visible text, copied as it is
    kLess = 1,      // "<"
    kLineEnd = 2,   // CR or LF
    kBlank = 3,     // blank or tab
    kZero = 4,      // NUL: dropped
};

constexpr auto kByteClasses = [] {
    std::array<ByteClass, 256> classes{};
    classes['<'] = kLess;
    classes['\r'] = kLineEnd;
    classes['\n'] = kLineEnd;
    classes[' '] = kBlank;
    classes['\t'] = kBlank;
    classes[0] = kZero;
    return classes;
}();

// The number of ordinary bytes at the start of bytes. Eight bytes are tested at a time for a
// byte below 0x21 or a "<" (either may end the run; the byte classes decide).
std::size_t OrdinaryRunLength(std::string_view bytes) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
    std::size_t i = 0;
    while (i + 8 <= bytes.size()) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        const std::uint64_t below = (word - kOnes * 0x21) & ~word;
        const std::uint64_t less = word ^ (kOnes * '<');
        const std::uint64_t is_less = (less - kOnes) & ~less;
        if (((below | is_less) & kHighBits) != 0) {
            break;
        }
        i += 8;
    }
    while (i < bytes.size() && kByteClasses[static_cast<unsigned char>(bytes[i])] == kOrdinary) {
        ++i;
    }
    return i;
}

// The end strings of the skip modes, indexed by SkipMode.
constexpr std::string_view kEndStrings[] = {
    "", "</script>", "</optgroup>", "</select>", "</style>", "</pre>",
};

// Replaces every full-width space (0x81 0x40) of the text by one blank, in place, and returns
// the new length. Characters are stepped over whole, so that the second byte of one character
// and the first byte of the next are never taken for a full-width space.
std::size_t ReplaceFullWidthSpaces(char* text, std::size_t length) {
    if (std::string_view(text, length).find("\x81\x40") == std::string_view::npos) {
        return length;
    }
    std::size_t out = 0;
    std::size_t i = 0;
    while (i < length) {
        const char c = text[i];
        if (text::IsLeadByte(c) && i + 1 < length) {
            if (static_cast<unsigned char>(c) == 0x81 && text[i + 1] == 0x40) {
                text[out++] = ' ';
            } else {
                text[out++] = c;
                text[out++] = text[i + 1];
            }
            i += 2;
        } else {
            text[out++] = c;
            ++i;
        }
    }
    return out;
}

}  // namespace

struct HtmlTokenizer::State {
    State(TextAccumulator& acc, ExtractedTextWriter& out, EncodingSelector& encoding,
          ExtractionOptions options)
        : accumulator(acc),
          writer(out),
          handler(acc, out, encoding, options.table_setting, options.charset_sel,
                  std::move(options.page_url)) {}

    void Reset() {
        mode = Mode::kHtmlText;
        skip = SkipMode::kNone;
        match = 0;
        raw = RawLineEnd::kNone;
        body_started = false;
        parser.Begin();
        handler.Reset();
        // The link and table flags live in the accumulator; its text and pending counts belong
        // to whoever resets it (the header lines pass through it before the body).
        accumulator.inside_anchor = false;
        accumulator.no_break = false;
    }

    // Writes the text collected since the last tag, full-width spaces made blanks.
    void WriteCollectedText() {
        if (accumulator.empty()) {
            return;
        }
        std::size_t length = ReplaceFullWidthSpaces(accumulator.data(), accumulator.text().size());
        writer.WriteText(std::string_view(accumulator.data(), length));
        accumulator.Clear();
    }

    // Copies a byte of pre content or of a plain-text page: CR LF, LF CR, a bare CR and a bare
    // LF each give one line feed.
    void RawWrite(char c) {
        if (c == '\r') {
            if (raw == RawLineEnd::kLf) {
                raw = RawLineEnd::kNone;
            } else {
                writer.WriteChar('\n');
                raw = RawLineEnd::kCr;
            }
        } else if (c == '\n') {
            if (raw == RawLineEnd::kCr) {
                raw = RawLineEnd::kNone;
            } else {
                writer.WriteChar('\n');
                raw = RawLineEnd::kLf;
            }
        } else {
            writer.WriteChar(c);
            raw = RawLineEnd::kNone;
        }
    }

    // Copies the run of bytes from i that holds no line end, NUL or (when stop_at_less) "<",
    // except that the first byte is always part of it; returns the position after the run.
    std::size_t RawWriteRun(std::string_view bytes, std::size_t i, bool stop_at_less) {
        std::size_t j = i + 1;
        while (j < bytes.size()) {
            const ByteClass cls = kByteClasses[static_cast<unsigned char>(bytes[j])];
            if (cls == kLineEnd || cls == kZero || (cls == kLess && stop_at_less)) {
                break;
            }
            ++j;
        }
        writer.WriteText(bytes.substr(i, j - i));
        raw = RawLineEnd::kNone;
        return j;
    }

    // HTML text: collects text up to the next "<".
    std::size_t TakeText(std::string_view bytes, std::size_t i) {
        const std::size_t n = bytes.size();
        while (i < n) {
            const unsigned char b = static_cast<unsigned char>(bytes[i]);
            switch (kByteClasses[b]) {
                case kOrdinary: {
                    const std::size_t j = i + 1 + OrdinaryRunLength(bytes.substr(i + 1));
                    accumulator.AddVisibleRun(bytes.substr(i, j - i));
                    i = j;
                    continue;
                }
                case kLess:
                    WriteCollectedText();
                    parser.Begin();
                    mode = Mode::kTag;
                    return i + 1;
                case kLineEnd:
                    // A line end of the source joins its lines without a blank, except where
                    // line ends are kept (an RSS description).
                    if (handler.keep_line_ends()) {
                        accumulator.Add('\n');
                    }
                    break;
                case kBlank:
                    accumulator.Add(b);
                    break;
                case kZero:
                    break;
            }
            ++i;
        }
        return n;
    }

    // Script, optgroup, select or style content: dropped up to and including the end string.
    std::size_t TakeSkipped(std::string_view bytes, std::size_t i) {
        const std::string_view end = kEndStrings[static_cast<int>(skip)];
        const std::size_t n = bytes.size();
        while (i < n) {
            if (match == 0) {
                const void* less = std::memchr(bytes.data() + i, '<', n - i);
                if (less == nullptr) {
                    return n;
                }
                i = static_cast<const char*>(less) - bytes.data() + 1;
                match = 1;
                continue;
            }
            const unsigned char b = static_cast<unsigned char>(bytes[i++]);
            if (b == 0) {
                continue;
            }
            if (text::AsciiLower(b) != static_cast<unsigned char>(end[match])) {
                match = 0;  // the byte is not compared again with "<"
            } else if (++match == end.size()) {
                skip = SkipMode::kNone;
                match = 0;
                return i;
            }
        }
        return n;
    }

    // Pre content: copied unchanged up to "</pre>", which ends the line.
    std::size_t TakePre(std::string_view bytes, std::size_t i) {
        const std::string_view end = kEndStrings[static_cast<int>(SkipMode::kPre)];
        const std::size_t n = bytes.size();
        while (i < n) {
            const unsigned char b = static_cast<unsigned char>(bytes[i]);
            if (b == 0) {
                ++i;
                continue;
            }
            if (text::AsciiLower(b) == static_cast<unsigned char>(end[match])) {
                ++i;
                raw = RawLineEnd::kNone;
                if (++match == end.size()) {
                    skip = SkipMode::kNone;
                    match = 0;
                    writer.WriteChar('\n');
                    return i;
                }
                continue;
            }
            if (match != 0) {
                // The part of the end string that matched, as the end string spells it.
                for (std::size_t k = 0; k < match; ++k) {
                    writer.WriteChar(end[k]);
                }
                match = 0;
                raw = RawLineEnd::kNone;
            }
            if (b == '\r' || b == '\n') {
                RawWrite(static_cast<char>(b));
                ++i;
            } else {
                i = RawWriteRun(bytes, i, true);
            }
        }
        return n;
    }

    // A plain-text page: every byte copied.
    std::size_t TakePlain(std::string_view bytes, std::size_t i) {
        const std::size_t n = bytes.size();
        while (i < n) {
            const char c = bytes[i];
            if (c == '\0') {
                ++i;
            } else if (c == '\r' || c == '\n') {
                RawWrite(c);
                ++i;
            } else {
                i = RawWriteRun(bytes, i, false);
            }
        }
        return n;
    }

    TextAccumulator& accumulator;
    ExtractedTextWriter& writer;
    Mode mode = Mode::kHtmlText;
    SkipMode skip = SkipMode::kNone;
    std::size_t match = 0;  // bytes of the skip mode's end string matched so far
    RawLineEnd raw = RawLineEnd::kNone;
    bool body_started = false;
    TagParser parser;
    TagHandler handler;
};

HtmlTokenizer::HtmlTokenizer(TextAccumulator& accumulator, ExtractedTextWriter& writer,
                             EncodingSelector& encoding, ExtractionOptions options)
    : state_(std::make_unique<State>(accumulator, writer, encoding, std::move(options))) {
    state_->Reset();
}

HtmlTokenizer::~HtmlTokenizer() = default;

void HtmlTokenizer::Reset() {
    state_->Reset();
}

void HtmlTokenizer::BeginBody(bool as_text) {
    state_->mode = as_text ? Mode::kPlainText : Mode::kHtmlText;
    state_->body_started = true;
}

std::size_t HtmlTokenizer::Take(std::string_view bytes) {
    State& s = *state_;
    std::size_t i = 0;
    while (i < bytes.size()) {
        switch (s.mode) {
            case Mode::kHtmlText:
                switch (s.skip) {
                    case SkipMode::kNone:
                        i = s.TakeText(bytes, i);
                        break;
                    case SkipMode::kPre:
                        i = s.TakePre(bytes, i);
                        break;
                    default:
                        i = s.TakeSkipped(bytes, i);
                        break;
                }
                break;
            case Mode::kTag: {
                TagParser::Result result = TagParser::Result::kIncomplete;
                i += s.parser.Feed(bytes.substr(i), result);
                if (result == TagParser::Result::kIncomplete) {
                    break;
                }
                s.mode = Mode::kHtmlText;
                if (result == TagParser::Result::kTag) {
                    const TagHandler::Outcome outcome = s.handler.Handle(s.parser);
                    if (outcome.skip != SkipMode::kNone) {
                        s.skip = outcome.skip;
                        s.match = 0;
                        if (outcome.skip == SkipMode::kPre) {
                            s.raw = RawLineEnd::kNone;
                        }
                    }
                    if (outcome.encoding_selected) {
                        return i;  // the rest is decoded anew, in the selected encoding
                    }
                }
                break;
            }
            case Mode::kPlainText:
                i = s.TakePlain(bytes, i);
                break;
        }
    }
    return bytes.size();
}

void HtmlTokenizer::EndBody() {
    State& s = *state_;
    if (s.body_started && s.mode == Mode::kHtmlText && s.skip == SkipMode::kNone) {
        s.WriteCollectedText();
    }
}

}  // namespace velnora::processing

// The bookmark export that browsers write: a list (<DL>) whose entries (<DT>) are links
// (<A HREF="...">title</A>) or folders (<H3>name</H3> followed by the folder's own <DL>). Other
// markup (<p>, <HR>, descriptions in <DD>, the head) carries nothing an import keeps.

#include <optional>
#include <utility>

#include "imports/html_entities.h"
#include "imports/import_source.h"
#include "imports/text_bytes.h"
#include "text/shift_jis.h"

namespace velnora::imports {

namespace {

struct Tag {
    std::string name;  // lower case
    bool closing = false;
    std::string href;  // the HREF attribute, references replaced
};

// What text is being collected.
enum class Collecting {
    kNothing,  // text between tags is passed over
    kHeading,  // a folder's name, up to </H3>
    kLink,     // a link's title, up to </A>
};

bool IsNameByte(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

char Lower(char c) {
    return static_cast<char>(text::AsciiLower(static_cast<unsigned char>(c)));
}

std::string Collapsed(std::string_view raw) {
    std::string decoded = DecodeEntities(raw);
    std::string out;
    bool blank = false;
    for (char c : decoded) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n') {
            blank = !out.empty();
            continue;
        }
        if (blank) {
            out += ' ';
            blank = false;
        }
        out += c;
    }
    return out;
}

class Reader {
  public:
    explicit Reader(std::string text) : text_(std::move(text)) {}

    ImportSource Read() {
        source_.format = SourceFormat::kBookmarkHtml;
        while (pos_ < text_.size() && source_.error == ReadError::kNone) {
            std::size_t open = text_.find('<', pos_);
            if (open == std::string::npos) {
                Collect(std::string_view(text_).substr(pos_));
                break;
            }
            Collect(std::string_view(text_).substr(pos_, open - pos_));
            pos_ = open;
            Markup();
        }
        if (source_.error == ReadError::kNone && !seen_list_) {
            Damaged(text_.size(), "it holds no bookmark list (<DL>)");
        } else if (source_.error == ReadError::kNone &&
                   (!lists_.empty() || collecting_ != Collecting::kNothing)) {
            Damaged(text_.size(), "it ends inside a bookmark list; the file is cut short");
        }
        if (source_.error != ReadError::kNone) {
            source_.entries.clear();
        }
        return std::move(source_);
    }

  private:
    void Collect(std::string_view text) {
        if (collecting_ != Collecting::kNothing) {
            collected_ += text;
        }
    }

    void Damaged(std::size_t at, std::string_view what) {
        std::size_t line = 1;
        for (std::size_t i = 0; i < at && i < text_.size(); ++i) {
            line += text_[i] == '\n' ? 1 : 0;
        }
        source_.error = ReadError::kDamagedHtml;
        source_.line = static_cast<int>(line);
        source_.detail = "line " + std::to_string(line) + ": " + std::string(what);
    }

    // Skips what starts at `pos_` up to `end` (included); damaged when there is no end.
    void SkipTo(std::string_view end, std::string_view what) {
        std::size_t found = text_.find(end, pos_);
        if (found == std::string::npos) {
            Damaged(pos_, what);
            return;
        }
        pos_ = found + end.size();
    }

    void Markup() {
        std::string_view rest = std::string_view(text_).substr(pos_);
        if (rest.starts_with("<!--")) {
            SkipTo("-->", "a comment is not closed");
            return;
        }
        if (rest.starts_with("<!") || rest.starts_with("<?")) {
            SkipTo(">", "a declaration is not closed");
            return;
        }
        std::size_t start = pos_;
        Tag tag;
        if (!ReadTag(tag)) {
            if (source_.error == ReadError::kNone) {
                // A "<" that starts no tag is text.
                Collect("<");
                pos_ = start + 1;
            }
            return;
        }
        Handle(tag);
    }

    // Reads the tag at pos_; false when "<" starts none (or, with the error set, when the tag
    // is not closed).
    bool ReadTag(Tag& tag) {
        std::size_t i = pos_ + 1;
        if (i < text_.size() && text_[i] == '/') {
            tag.closing = true;
            ++i;
        }
        while (i < text_.size() && IsNameByte(text_[i])) {
            tag.name += Lower(text_[i++]);
        }
        if (tag.name.empty()) {
            return false;
        }
        // The attributes up to ">", values quoted with either quote or bare.
        for (;;) {
            while (i < text_.size() && (text_[i] == ' ' || text_[i] == '\t' || text_[i] == '\r' ||
                                        text_[i] == '\n' || text_[i] == '/')) {
                ++i;
            }
            if (i >= text_.size()) {
                Damaged(pos_, "a tag is not closed; the file is cut short");
                return false;
            }
            if (text_[i] == '>') {
                pos_ = i + 1;
                return true;
            }
            std::string name;
            while (i < text_.size() && text_[i] != '=' && text_[i] != '>' && text_[i] != ' ' &&
                   text_[i] != '\t' && text_[i] != '\r' && text_[i] != '\n') {
                name += Lower(text_[i++]);
            }
            if (name.empty()) {
                ++i;  // a stray "=" on its own
                continue;
            }
            std::string value;
            if (i < text_.size() && text_[i] == '=') {
                ++i;
                if (i < text_.size() && (text_[i] == '"' || text_[i] == '\'')) {
                    char quote = text_[i++];
                    std::size_t close = text_.find(quote, i);
                    if (close == std::string::npos) {
                        Damaged(pos_, "an attribute's quotes are not closed");
                        return false;
                    }
                    value = text_.substr(i, close - i);
                    i = close + 1;
                } else {
                    while (i < text_.size() && text_[i] != '>' && text_[i] != ' ' &&
                           text_[i] != '\t' && text_[i] != '\r' && text_[i] != '\n') {
                        value += text_[i++];
                    }
                }
            }
            if (name == "href") {
                tag.href = DecodeEntities(value);
            }
        }
    }

    void Handle(const Tag& tag) {
        if (tag.name == "dl") {
            if (!tag.closing) {
                // A list opens the folder named by the heading before it; a list without one
                // adds no folder.
                lists_.push_back(std::exchange(heading_, std::nullopt));
                seen_list_ = true;
            } else if (!lists_.empty()) {
                EndLink();
                lists_.pop_back();
            }
        } else if (tag.name == "h3") {
            if (!tag.closing) {
                EndLink();
                collecting_ = Collecting::kHeading;
                collected_.clear();
            } else if (collecting_ == Collecting::kHeading) {
                heading_ = Collapsed(collected_);
                collecting_ = Collecting::kNothing;
            }
        } else if (tag.name == "a") {
            if (!tag.closing) {
                EndLink();
                collecting_ = Collecting::kLink;
                collected_.clear();
                href_ = tag.href;
            } else {
                EndLink();
            }
        } else if (tag.name == "dt" || tag.name == "dd") {
            // A link whose </A> is missing ends with its entry.
            EndLink();
        }
    }

    void EndLink() {
        if (collecting_ != Collecting::kLink) {
            return;
        }
        ImportEntry entry;
        for (const auto& folder : lists_) {
            if (folder) {
                entry.folders.push_back(*folder);
            }
        }
        entry.title = Collapsed(collected_);
        entry.address = href_;
        source_.entries.push_back(std::move(entry));
        collecting_ = Collecting::kNothing;
    }

    std::string text_;
    std::size_t pos_ = 0;
    ImportSource source_;
    std::vector<std::optional<std::string>> lists_;  // the open lists and the folders they open
    std::optional<std::string> heading_;             // a folder name waiting for its list
    bool seen_list_ = false;
    Collecting collecting_ = Collecting::kNothing;
    std::string collected_;
    std::string href_;
};

}  // namespace

ImportSource ReadBookmarkHtml(std::string_view bytes) {
    return Reader(TextAsUtf8(bytes)).Read();
}

}  // namespace velnora::imports

#include "results/render_line.h"

#include <optional>
#include <string>

#include "processing/char_refs.h"
#include "results/characters.h"
#include "results/pane_limits.h"
#include "results/texts.h"
#include "text/shift_jis.h"

namespace velnora::results {

namespace {

constexpr std::string_view kLinkStart = "<a href=\"";
constexpr std::string_view kLinkEnd = "</a>";
constexpr std::string_view kImageStart = "<img";
constexpr std::string_view kSourceAttribute = "src=\"";
constexpr std::string_view kAltAttribute = "alt=\"";
static_assert(kSourceAttribute.size() == kAltAttribute.size());

std::string Decoded(std::string_view text) {
    std::string line(text);
    processing::DecodeCharRefs(line);
    return line;
}

// The quoted value starting at `from`: up to the next double quote, or to the end of the line.
// `next` is set to the offset after the closing quote.
std::string_view QuotedValue(std::string_view line, std::size_t from, std::size_t& next) {
    std::size_t quote = line.find('"', from);
    if (quote == std::string_view::npos) {
        next = line.size();
        return line.substr(from);
    }
    next = quote + 1;
    return line.substr(from, quote - from);
}

class LineRenderer {
  public:
    LineRenderer(ResultDocument& document, const DisplaySettings& settings)
        : document_(document), settings_(settings) {}

    void Render(std::string_view line);

  private:
    // Appends a run that ends at "</a>", "<img" or the end of the line, when it holds a
    // non-space character: as a link when a link is open.
    void FlushRun(std::string_view run, bool visible);
    // Reads the image tag whose attributes start at `from`, appends its text and returns the
    // offset after the tag.
    std::size_t RenderImage(std::string_view line, std::size_t from);

    ResultDocument& document_;
    const DisplaySettings& settings_;
    bool link_open_ = false;
    std::string link_target_;  // decoded
};

void LineRenderer::Render(std::string_view line) {
    std::size_t run_start = 0;
    // Whether the run since the last markup holds a non-space character. An ordinary less-than
    // sign is such a character: it never hides the text around it.
    bool visible = false;
    std::size_t i = 0;
    while (i < line.size()) {
        if (line[i] != '<') {
            visible = visible || line[i] != ' ';
            i += CharacterSize(line, i);
            continue;
        }
        std::string_view rest = line.substr(i);
        if (rest.starts_with(kLinkStart)) {
            if (i > run_start) {
                document_.AppendText(Decoded(line.substr(run_start, i - run_start)));
            }
            std::size_t next = 0;
            std::string_view target = QuotedValue(line, i + kLinkStart.size(), next);
            target = target.substr(0, text::CharacterBoundary(target, kMaxLinkTargetBytes));
            link_target_ = Decoded(target);
            link_open_ = true;
            // The character after the quote is the tag's closing greater-than sign.
            if (next < line.size()) {
                next += CharacterSize(line, next);
            }
            i = next;
        } else if (rest.starts_with(kLinkEnd)) {
            FlushRun(line.substr(run_start, i - run_start), visible);
            link_open_ = false;
            i += kLinkEnd.size();
        } else if (rest.starts_with(kImageStart)) {
            FlushRun(line.substr(run_start, i - run_start), visible);
            i = RenderImage(line, i + kImageStart.size());
        } else {
            visible = true;
            ++i;
            continue;
        }
        run_start = i;
        visible = false;
    }
    FlushRun(line.substr(run_start), visible);
    document_.AppendText("\n");
}

void LineRenderer::FlushRun(std::string_view run, bool visible) {
    if (!visible) {
        return;
    }
    if (link_open_) {
        document_.AppendLink(link_target_, Decoded(run), false);
    } else {
        document_.AppendText(Decoded(run));
    }
}

std::size_t LineRenderer::RenderImage(std::string_view line, std::size_t from) {
    std::optional<std::string_view> source;
    std::optional<std::string_view> alt;
    std::size_t i = from;
    while (i < line.size()) {
        std::string_view rest = line.substr(i);
        if (line[i] == '>') {
            ++i;
            break;
        }
        if (rest.starts_with(kSourceAttribute) || rest.starts_with(kAltAttribute)) {
            bool is_source = rest.starts_with(kSourceAttribute);
            std::string_view value = QuotedValue(line, i + kSourceAttribute.size(), i);
            std::optional<std::string_view>& slot = is_source ? source : alt;
            if (!slot) {
                slot = value;
            }
            continue;
        }
        i += CharacterSize(line, i);
    }
    bool has_source = source && !source->empty();
    ImageRecord image;
    if (source) {
        image.source = Decoded(*source);
    }
    if (alt) {
        image.alt = Decoded(*alt);
    }

    std::string text;
    if (image.alt) {
        text.append(kImageOpening).append(*image.alt).append(kImageClosing);
    } else if (settings_.disp_image_name != 0 && has_source) {
        std::size_t slash = source->rfind('/');
        std::string_view name =
            slash == std::string_view::npos ? *source : source->substr(slash + 1);
        text.append(kImageOpening).append(Decoded(name)).append(kImageClosing);
    } else {
        text.assign(kImageWithoutName);
    }
    image.length = CountCharacters(text);
    if (link_open_) {
        image.start = document_.AppendLink(link_target_, text, false);
    } else if (settings_.image_link != 0 && has_source) {
        image.start = document_.AppendLink(image.source, text, false);
    } else {
        image.start = document_.Length();
        document_.AppendText(text);
    }
    document_.AddImage(std::move(image));
    return i;
}

}  // namespace

void RenderLine(ResultDocument& document, std::string_view line, const DisplaySettings& settings) {
    LineRenderer(document, settings).Render(line);
}

}  // namespace velnora::results

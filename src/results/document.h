#pragma once

// ResultDocument: the content of the result pane, without any widget. The text is a sequence of
// runs appended at the end, each plain or a link (the text colour is implied; links are shown as
// links). Beside the text it keeps the three tables that the rest of the program uses: the links
// (for clicks, copying, the link history and the HTML export), the start of each page block (for
// the block jumps) and the keyword highlights (for "next highlight").
//
// Positions are characters (characters.h): a Shift_JIS double-byte character counts as one
// position, a line feed as one. Line breaks are line feeds.
//
// The window shows the document by following it through a DocumentListener; velnora-cli prints
// it (plain_text.h). Appending is linear in what is appended, so thousands of lines cost no more
// than their bytes.
//
// Threads: the document is used from one thread at a time and has no lock. The window hands the
// lines of its worker threads to its own thread before they reach the document.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velnora::results {

inline constexpr int kNoLink = -1;

// How the window treats a display batch.
enum class BatchView {
    kRestore,   // a page display: the view is frozen and its scroll position kept
    kTextOnly,  // only the text is gathered (the past-log search); the view is left alone
};

struct TextRun {
    std::size_t start = 0;        // character position
    std::size_t length = 0;       // characters (never 0)
    std::size_t byte_start = 0;   // offset in ResultDocument::Text()
    std::size_t byte_length = 0;  // bytes
    int link = kNoLink;           // index in ResultDocument::Links(), or kNoLink for plain text
};

struct LinkRecord {
    std::size_t start = 0;   // character position of the link's text
    std::size_t length = 0;  // characters
    std::string target;      // an openable address, or a settings link (link_targets.h)
    // Index of the header link of the block the link belongs to; a header link holds its own
    // index. kNoLink for a link shown before any header.
    int header_index = kNoLink;
};

// An image of a rendered line, shown in the pane as its image text (a link or plain text).
// Recorded so that an export can write the image itself in place of that text.
struct ImageRecord {
    std::size_t start = 0;           // character position of the image's text
    std::size_t length = 0;          // characters
    std::string source;              // the decoded source; empty when the image has none
    std::optional<std::string> alt;  // the decoded alternative text, when the image has one
};

struct HighlightHit {
    std::size_t start = 0;  // character positions, end exclusive
    std::size_t end = 0;
};

class ResultDocument;

// Lets a view follow the document. Runs are reported in order, each exactly once: during a
// display batch when the batch ends (or before a highlight that needs them), outside a batch as
// soon as they are appended.
class DocumentListener {
  public:
    virtual ~DocumentListener() = default;
    // Everything was removed.
    virtual void OnCleared() = 0;
    // Runs [first, first + count) of document.Runs() are new at the end.
    virtual void OnRunsAppended(const ResultDocument& document, std::size_t first,
                                std::size_t count) = 0;
    // A keyword occurrence gets the highlight background (recorded in the hit list or not).
    virtual void OnHighlighted(std::size_t start, std::size_t end) = 0;
    // The outermost display batch began or ended.
    virtual void OnBatchBegun(BatchView view) = 0;
    virtual void OnBatchEnded(BatchView view) = 0;
};

class ResultDocument {
  public:
    // The listener (none when null) must outlive its registration.
    void SetListener(DocumentListener* listener) { listener_ = listener; }

    // Removes the text and empties the link table, the images, the block starts and the
    // highlights.
    void Clear();

    // Display batches nest: only the outermost begin and end take effect. Beginning a batch
    // forgets that the last run was a link (so the rule of AppendLink does not reach across
    // displays); ending it reports the runs appended within.
    void BeginBatch(BatchView view = BatchView::kRestore);
    void EndBatch();
    bool InBatch() const { return batch_depth_ > 0; }

    // Appends plain text. An empty text does nothing; any other clears the last-run-was-a-link
    // state.
    void AppendText(std::string_view text);

    // Appends a link and returns the position of its text. When the previous run was a link, one
    // space is appended first, so two links never touch. A header link starts a new block of the
    // link table: it and the links after it carry its index as their header index. A target that
    // is neither an openable address nor a settings link is shown as plain text, with no record;
    // such a header leaves the links after it without a header.
    std::size_t AppendLink(std::string_view target, std::string_view text, bool is_header);

    // Records an image whose text was just appended.
    void AddImage(ImageRecord image) { images_.push_back(std::move(image)); }

    // Records the start of a page block (only the first kMaxBlockStarts are kept).
    void AddBlockStart(std::size_t position);

    // Gives [start, end) the highlight background and records it while fewer than
    // kMaxRecordedHighlights are recorded.
    void Highlight(std::size_t start, std::size_t end);
    // Sorts the recorded hits by start (done after each highlighted block).
    void SortHighlights();
    // The hit at the cursor, advancing the cursor and wrapping after the last; nothing when no
    // hit is recorded.
    std::optional<HighlightHit> NextHighlight();

    // The text.
    std::size_t Length() const { return length_; }     // characters
    const std::string& Text() const { return text_; }  // Shift_JIS bytes
    const std::vector<TextRun>& Runs() const { return runs_; }
    std::string_view RunText(const TextRun& run) const;
    // Byte offset of a character position (Text().size() at or beyond the end).
    std::size_t ByteOffset(std::size_t position) const;
    // The bytes of the characters [from, to).
    std::string_view TextRange(std::size_t from, std::size_t to) const;

    // The tables.
    const std::vector<LinkRecord>& Links() const { return links_; }
    int CurrentHeaderIndex() const { return current_header_; }
    const std::vector<ImageRecord>& Images() const { return images_; }
    const std::vector<std::size_t>& BlockStarts() const { return block_starts_; }
    const std::vector<HighlightHit>& Highlights() const { return highlights_; }

    // The link whose text holds the position; a settings link counts as none (the copy command
    // and the context menu use this).
    std::optional<std::size_t> LinkAt(std::size_t position) const;
    // The same, settings links included (hovering and clicking use this).
    std::optional<std::size_t> AnyLinkAt(std::size_t position) const;
    // The target that "copy link target" puts on the clipboard for a selection starting at the
    // position: that of LinkAt.
    std::optional<std::string_view> LinkTargetAt(std::size_t position) const;

  private:
    // Appends text as one run (merged into the previous unreported plain run when it fits) and
    // returns its length in characters.
    std::size_t AppendRun(std::string_view text, int link);
    void ReportRuns();

    DocumentListener* listener_ = nullptr;
    std::string text_;
    std::size_t length_ = 0;
    std::vector<TextRun> runs_;
    std::size_t reported_runs_ = 0;
    std::vector<LinkRecord> links_;
    int current_header_ = kNoLink;
    std::vector<ImageRecord> images_;
    std::vector<std::size_t> block_starts_;
    std::vector<HighlightHit> highlights_;
    std::size_t next_highlight_ = 0;
    bool last_run_was_link_ = false;
    int batch_depth_ = 0;
    BatchView batch_view_ = BatchView::kRestore;
};

}  // namespace velnora::results

#include "processing/page_check.h"

#include <optional>
#include <string>
#include <thread>
#include <unordered_set>

#include "files/binary_file.h"
#include "files/file_system.h"
#include "processing/extracted_text_writer.h"
#include "processing/file_failure.h"
#include "processing/latest_log_comparison.h"
#include "processing/limits.h"
#include "processing/page_extraction.h"
#include "processing/update_filter.h"
#include "store/log_index.h"
#include "store/page_files.h"
#include "text/yield.h"

namespace velnora::processing {

namespace {

// Status texts, in Shift_JIS.
constexpr std::string_view kExtracting =
    "\x83\x65\x83\x4C\x83\x58\x83\x67\x92\x8A\x8F\x6F\x92\x86...";  // テキスト抽出中...
constexpr std::string_view kExtracted =
    "\x83\x65\x83\x4C\x83\x58\x83\x67\x92\x8A\x8F\x6F\x8A\xAE\x97\xB9";  // テキスト抽出完了
constexpr std::string_view kComparing =
    "\x8D\x58\x90\x56\x83\x65\x83\x4C\x83\x58\x83\x67\x92\x8A\x8F\x6F\x92\x86...";  // 更新テキスト抽出中...
constexpr std::string_view kDone = "\x92\x8A\x8F\x6F\x8A\xAE\x97\xB9";  // 抽出完了
// 抽出テキストが / MBを超えたため、以降を省略しました
constexpr std::string_view kTextCutPrefix =
    "\x92\x8A\x8F\x6F\x83\x65\x83\x4C\x83\x58\x83\x67\x82\xAA";
constexpr std::string_view kTextCutSuffix =
    "MB\x82\xF0\x92\xB4\x82\xA6\x82\xBD\x82\xBD\x82\xDF\x81\x41\x88\xC8\x8D~\x82\xF0\x8F\xC8\x97"
    "\xAA\x82\xB5\x82\xDC\x82\xB5\x82\xBD";

bool Closing(const std::atomic<bool>& closing) {
    return closing.load(std::memory_order_relaxed);
}

void Pause() {
    std::this_thread::yield();
}

FileFailure ReadFailure(std::string_view path, std::string reason) {
    return FileFailure{FileFailure::Kind::kRead, std::string(path), std::move(reason)};
}

FileFailure WriteFailure(std::string_view path, std::string reason) {
    return FileFailure{FileFailure::Kind::kWrite, std::string(path), std::move(reason)};
}

// A file that is there (or a link where it should be) but could not be opened.
bool IsThere(std::string_view path) {
    return files::PathExists(path) || files::IsSymbolicLink(path);
}

// One check of a page: what it found so far, and the file failure that ends it.
struct PageRun {
    const PageCheckInput& input;
    PipelineObserver& observer;
    const std::atomic<bool>& closing;
    std::optional<FileFailure> failure;

    CheckOutcome Extract(bool& completed);
    CheckOutcome WriteNewText(files::InputFile& response, const std::string& new_path,
                              bool& completed);
    CheckOutcome Compare(int current);
    void FileIntoRing(int current, CheckOutcome outcome);
    void Prune(int next);
};

// The extraction: from htmltmp.txt to new.txt. Returns the provisional outcome; completed tells
// whether a whole new.txt was written.
CheckOutcome PageRun::Extract(bool& completed) {
    completed = false;
    auto response_path = store::PagePath(input.page_directory, store::kReceivingFile);
    auto new_path = store::PagePath(input.page_directory, store::kNewFile);
    files::InputFile response;
    std::string error;
    if (!response_path || !new_path) {
        return CheckOutcome::NoChange;
    }
    if (!response.Open(*response_path, &error)) {
        // No response at all is no news; one that cannot be read is a failure.
        if (IsThere(*response_path)) {
            failure = ReadFailure(*response_path, error);
        }
        return CheckOutcome::NoChange;
    }
    observer.SetStatusText(kExtracting);

    CheckOutcome outcome = CheckOutcome::NoChange;
    std::string first_line;
    if (ReadFirstLine(response, first_line)) {
        int status = ParseStatusCode(first_line);
        if (status == 304) {
            outcome = CheckOutcome::NotModified;
        } else if (status != 200) {
            std::string message = HttpErrorMessage(first_line);
            observer.SetStatusText(message);
            observer.ErrorLine(message);
            outcome = CheckOutcome::HttpError;
        } else {
            outcome = WriteNewText(response, *new_path, completed);
        }
    } else if (response.Failed()) {
        failure = ReadFailure(*response_path, files::SystemErrorText(EIO));
    }
    response.Close();
    Pause();
    observer.SetStatusText(kExtracted);
    return outcome;
}

// The text of a status-200 response into new.txt, which is replaced only by a whole text: not by
// one cut short by closing (filing it would report the rest of the page as new at the next
// check), nor by the text of a response that was cut in transfer (it is fetched again). A text
// cut at its own bound is whole as far as it goes.
CheckOutcome PageRun::WriteNewText(files::InputFile& response, const std::string& new_path,
                                   bool& completed) {
    FileTextOutput output;
    std::string error;
    if (!output.Open(new_path, &error)) {
        failure = WriteFailure(new_path, error);
        return CheckOutcome::NoChange;
    }
    ExtractionSummary summary = ExtractResponseBody(response, input.settings, output, closing);
    if (summary.stopped_by_closing) {
        output.Abandon();
        return CheckOutcome::NoChange;
    }
    if (summary.read_failed) {
        output.Abandon();
        failure = ReadFailure(store::kReceivingFile, files::SystemErrorText(EIO));
        return CheckOutcome::NoChange;
    }
    if (!summary.complete && !summary.text_cut) {
        output.Abandon();
        return CheckOutcome::CutShort;
    }
    if (!output.Commit()) {
        failure = WriteFailure(new_path, output.error());
        return CheckOutcome::NoChange;
    }
    if (summary.text_cut) {
        observer.StatusLine(std::string(kTextCutPrefix) +
                            std::to_string(kMaxExtractedTextBytes >> 20) +
                            std::string(kTextCutSuffix));
    }
    completed = true;
    return CheckOutcome::NoChange;
}

// Both passes of the comparison with the latest past log (slot current).
CheckOutcome PageRun::Compare(int current) {
    const std::string& dir = input.page_directory;
    auto latest = store::PagePath(dir, store::LogFileName(current));
    auto new_path = store::PagePath(dir, store::kNewFile);
    auto add_path = store::PagePath(dir, store::kAddFile);
    if (!latest || !new_path || !add_path) {
        return CheckOutcome::NoChange;
    }
    if (!files::PathExists(*latest)) {
        return CheckOutcome::FirstCheck;
    }
    if (Closing(closing)) {
        return CheckOutcome::NoChange;
    }
    // An add.txt left by an earlier, interrupted run must not be reported as new lines.
    files::RemoveFile(*add_path);
    ComparisonContext context{input.settings, dir, input.ignore_image_name, observer, closing};
    FirstPassResult first = CompareWithLatestLog(*latest, *new_path, *add_path, context);
    if (first.failure) {
        failure = first.failure;
        return CheckOutcome::NoChange;
    }
    if (Closing(closing)) {
        return CheckOutcome::NoChange;
    }
    failure = FilterUpdateLines(*add_path, current, context);
    if (failure || Closing(closing)) {
        return CheckOutcome::NoChange;
    }
    auto size = files::FileSize(*add_path);
    return (size && *size > 0) ? CheckOutcome::Updated : CheckOutcome::NoChange;
}

// Files new.txt (and for an update add.txt) into the slot after current and points the index at
// it. A kill at any moment leaves a ring that reads: every file is written whole before it is
// renamed into place, the texts are in their slots before the index is replaced, and nothing is
// deleted before everything is in place. A failure leaves the old index and every old text
// where it was.
//
// The texts are not flushed to the disk one by one: on a disk shared with other work that costs
// more than the whole check (each flush waits for everything else written meanwhile). After a
// power cut the index may therefore name a log whose text never reached the disk; the index
// reader takes an empty log for a missing one and goes back to the newest log that holds text,
// so the worst a power cut does is report the last update once more.
void PageRun::FileIntoRing(int current, CheckOutcome outcome) {
    const std::string& dir = input.page_directory;
    const bool updated = outcome == CheckOutcome::Updated;
    const int next = store::NextSlot(current);
    auto new_path = store::PagePath(dir, store::kNewFile);
    auto add_path = store::PagePath(dir, store::kAddFile);
    auto log_path = store::PagePath(dir, store::LogFileName(next));
    auto update_path = store::PagePath(dir, store::UpdateFileName(next));
    auto index_path = store::PagePath(dir, store::kIndexFile);
    if (!new_path || !add_path || !log_path || !update_path || !index_path) {
        failure = WriteFailure(dir, files::SystemErrorText(ENAMETOOLONG));
        return;
    }
    std::string error;
    files::FileReplacement index;
    if (!store::PrepareLogIndex(dir, next, index)) {
        failure = WriteFailure(*index_path, index.error());
        return;
    }
    if (updated && !files::ReplaceFile(*add_path, *update_path, &error)) {
        failure = WriteFailure(*update_path, error);
        return;
    }
    if (!files::ReplaceFile(*new_path, *log_path, &error)) {
        failure = WriteFailure(*log_path, error);
        return;
    }
    if (!index.Commit()) {
        failure = WriteFailure(*index_path, index.error());
        return;
    }
    Prune(next);
    text::Yield(0);
}

// Deletes the past logs older than the USE_OLD_LOG logs before the newest slot and the update
// texts beyond the N_RELOAD newest, and the temporary files of writers that were killed.
void PageRun::Prune(int next) {
    const std::string& dir = input.page_directory;
    // The slots to prune are looked up in one listing of the directory, rather than removed
    // one by one whether they exist or not.
    std::unordered_set<std::string> present;
    for (const auto& entry : files::ListDirectory(dir)) {
        if (files::IsStaleTemporary(entry.name)) {
            if (auto path = store::PagePath(dir, entry.name)) {
                files::RemoveFile(*path);
            }
        } else {
            present.insert(entry.name);
        }
    }
    auto prune = [&](const std::string& name) {
        if (present.count(name) != 0) {
            if (auto path = store::PagePath(dir, name)) {
                files::RemoveFile(*path);
            }
        }
    };
    int keep_logs = input.settings.use_old_log;
    if (keep_logs >= 0 && keep_logs < 24) {
        for (int j = 0; j < 24 - keep_logs; ++j) {
            prune(store::LogFileName(store::SlotBefore(next, keep_logs + 1 + j)));
        }
    }
    int keep_updates = input.n_reload;
    if (keep_updates >= 1 && keep_updates <= 25) {
        for (int j = 0; j < 25 - keep_updates; ++j) {
            prune(store::UpdateFileName(store::SlotBefore(next, keep_updates + j)));
        }
    }
}

}  // namespace

std::string_view CheckOutcomeName(CheckOutcome outcome) {
    switch (outcome) {
        case CheckOutcome::NoChange:
            return "NoChange";
        case CheckOutcome::Updated:
            return "Updated";
        case CheckOutcome::FirstCheck:
            return "FirstCheck";
        case CheckOutcome::HttpError:
            return "HttpError";
        case CheckOutcome::NotModified:
            return "NotModified";
        case CheckOutcome::CutShort:
            return "CutShort";
        case CheckOutcome::FileError:
            return "FileError";
    }
    return "Unknown";
}

CheckOutcome RunPageCheck(const PageCheckInput& input, PipelineObserver& observer,
                          const std::atomic<bool>& closing) {
    PageRun run{input, observer, closing, std::nullopt};
    CheckOutcome outcome = CheckOutcome::NoChange;
    if (files::IsSymbolicLink(input.page_directory)) {
        // Its files are somewhere else: the check neither writes nor prunes there.
        run.failure = WriteFailure(input.page_directory, std::string(files::kSymbolicLinkText));
    } else {
        bool completed = false;
        outcome = run.Extract(completed);
        if (!run.failure && outcome == CheckOutcome::NoChange && completed) {
            observer.SetStatusText(kComparing);
            int current = store::ReadLogIndex(input.page_directory);
            outcome = run.Compare(current);
            if (!run.failure &&
                (outcome == CheckOutcome::Updated || outcome == CheckOutcome::FirstCheck)) {
                run.FileIntoRing(current, outcome);
            }
            if (!run.failure && !Closing(closing)) {
                observer.SetStatusText(kDone);
            }
        }
    }
    if (run.failure) {
        std::string message = FileFailureMessage(*run.failure);
        observer.SetStatusText(message);
        observer.ErrorLine(message);
        return CheckOutcome::FileError;
    }
    return outcome;
}

}  // namespace velnora::processing

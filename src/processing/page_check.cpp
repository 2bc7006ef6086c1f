#include "processing/page_check.h"

#include <string>
#include <thread>
#include <unordered_set>

#include "files/binary_file.h"
#include "files/file_system.h"
#include "processing/comparison.h"
#include "processing/extracted_text_writer.h"
#include "processing/page_extraction.h"
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

bool Closing(const std::atomic<bool>& closing) {
    return closing.load(std::memory_order_relaxed);
}

void Pause() {
    std::this_thread::yield();
}

void RemoveIn(std::string_view directory, std::string_view name) {
    if (auto path = store::PagePath(directory, name)) {
        files::RemoveFile(*path);
    }
}

// Moves from to the name to inside the page directory, replacing what is there.
bool RenameIn(std::string_view directory, std::string_view from, std::string_view to) {
    auto from_path = store::PagePath(directory, from);
    auto to_path = store::PagePath(directory, to);
    return from_path && to_path && files::ReplaceFile(*from_path, *to_path);
}

// Step 1 to 10: the extraction. Returns the provisional outcome; extracted reports whether the
// run went through to a complete new.txt.
CheckOutcome Extract(const PageCheckInput& input, PipelineObserver& observer,
                     const std::atomic<bool>& closing, bool& completed) {
    completed = false;
    auto response_path = store::PagePath(input.page_directory, store::kReceivingFile);
    auto new_path = store::PagePath(input.page_directory, store::kNewFile);
    files::InputFile response;
    if (!response_path || !new_path || !response.Open(*response_path)) {
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
            FileTextOutput output;
            if (!output.Open(*new_path)) {
                outcome = CheckOutcome::NotModified;
            } else {
                ExtractionSummary summary =
                    ExtractResponseBody(response, input.settings, output, closing);
                output.Close();
                // A text cut short by closing is not a whole page: filing it would report the
                // rest of the page as new at the next check.
                completed = !summary.stopped_by_closing;
                if (completed && !summary.complete) {
                    // Nor is the text of a response that was cut in transfer: it is fetched
                    // again, and its text is not kept as the page's current one.
                    RemoveIn(input.page_directory, store::kNewFile);
                    outcome = CheckOutcome::CutShort;
                }
            }
        }
    }
    response.Close();
    Pause();
    observer.SetStatusText(kExtracted);
    return outcome;
}

// Step 14: files new.txt (and add.txt) into the next slot of the ring and prunes old slots.
void FileIntoRing(const PageCheckInput& input, int current, CheckOutcome outcome) {
    const std::string& dir = input.page_directory;
    int next = store::NextSlot(current);
    RemoveIn(dir, store::LogFileName(next));
    bool moved = RenameIn(dir, store::kNewFile, store::LogFileName(next));
    if (outcome == CheckOutcome::Updated) {
        RemoveIn(dir, store::UpdateFileName(next));
        moved = RenameIn(dir, store::kAddFile, store::UpdateFileName(next)) && moved;
    }
    if (!moved) {
        return;  // the index stays and nothing is pruned
    }
    store::WriteLogIndex(dir, next);

    // The slots to prune are looked up in one listing of the directory, rather than removed
    // one by one whether they exist or not.
    std::unordered_set<std::string> present;
    for (const auto& entry : files::ListDirectory(dir)) {
        present.insert(entry.name);
    }
    auto prune = [&](const std::string& name) {
        if (present.count(name) != 0) {
            RemoveIn(dir, name);
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
    text::Yield(0);
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
    }
    return "Unknown";
}

CheckOutcome RunPageCheck(const PageCheckInput& input, PipelineObserver& observer,
                          const std::atomic<bool>& closing) {
    bool completed = false;
    CheckOutcome outcome = Extract(input, observer, closing, completed);
    if (outcome != CheckOutcome::NoChange || !completed) {
        return outcome;
    }

    const std::string& dir = input.page_directory;
    observer.SetStatusText(kComparing);
    int current = store::ReadLogIndex(dir);
    auto latest = store::PagePath(dir, store::LogFileName(current));
    auto new_path = store::PagePath(dir, store::kNewFile);
    auto add_path = store::PagePath(dir, store::kAddFile);
    if (!latest || !new_path || !add_path) {
        return CheckOutcome::NoChange;
    }

    if (!files::PathExists(*latest)) {
        outcome = CheckOutcome::FirstCheck;
    } else {
        if (Closing(closing)) {
            return CheckOutcome::NoChange;
        }
        // An add.txt left by an earlier, interrupted run must not be reported as new lines.
        files::RemoveFile(*add_path);
        ComparisonContext context{input.settings, dir, input.ignore_image_name, observer, closing};
        CompareWithLatestLog(*latest, *new_path, *add_path, context);
        if (Closing(closing)) {
            return CheckOutcome::NoChange;
        }
        FilterUpdateLines(*add_path, current, context);
        if (Closing(closing)) {
            return CheckOutcome::NoChange;
        }
        auto size = files::FileSize(*add_path);
        outcome = (size && *size > 0) ? CheckOutcome::Updated : CheckOutcome::NoChange;
    }

    if (outcome == CheckOutcome::Updated || outcome == CheckOutcome::FirstCheck) {
        FileIntoRing(input, current, outcome);
    }
    observer.SetStatusText(kDone);
    return outcome;
}

}  // namespace velnora::processing

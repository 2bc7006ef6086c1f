// CompareWithLatestLog, the first pass of the comparison: the new text aligned with the latest
// past log, over the part of each that the check area and the ignore area allow.

#include "processing/latest_log_comparison.h"

#include <thread>

#include "files/file_system.h"
#include "files/text_file.h"
#include "processing/area_filter.h"
#include "processing/attribute_markers.h"
#include "processing/limits.h"
#include "processing/line_alignment.h"
#include "processing/line_table.h"
#include "text/yield.h"

namespace velnora::processing {

namespace {

// Reads one side into the table: the lines inside the areas, each with its line feed, until the
// check area ends or the table is full (kMaxCompareLines lines or kComparePoolSize bytes, each
// line counted with a NUL); the line that does not fit and all later ones are left out. A
// physical line longer than the line buffer comes as several lines. False when the file cannot
// be opened; when it exists all the same, or breaks off, failure says why.
bool ReadSide(std::string_view path, const ComparisonContext& context, LineTable& table,
              std::optional<FileFailure>& failure) {
    files::TextReader reader;
    std::string error;
    if (!reader.Open(path, &error)) {
        if (files::PathExists(path) || files::IsSymbolicLink(path)) {
            failure = FileFailure{FileFailure::Kind::kRead, std::string(path), error};
        }
        return false;
    }
    AreaFilter areas(context.settings.check_area, context.settings.ignore_area);
    const bool hides = HidesAttributeValues(context);
    std::string line;
    std::string compare_form;
    while (reader.ReadLine(line, files::kLineBufferSize)) {
        AreaFilter::Verdict verdict = areas.Next(line);
        if (verdict.compare) {
            if (table.size() >= kMaxCompareLines ||
                table.PoolUse() + line.size() + 1 > kComparePoolSize) {
                break;
            }
            if (hides) {
                compare_form = line;
                HideForComparison(compare_form, context);
            }
            table.Append(line, hides ? std::string_view(compare_form) : std::string_view(line));
        }
        text::Yield(0);
        if (verdict.stop) {
            break;
        }
    }
    if (reader.Failed()) {
        failure =
            FileFailure{FileFailure::Kind::kRead, std::string(path), files::SystemErrorText(EIO)};
    }
    reader.Close();
    std::this_thread::yield();
    return true;
}

// Writes the given lines of the new side exactly as they were read (each with its line feed
// when it had one; text mode turns it into CR LF). The line numbers are 1-based. The file is
// replaced whole, or not at all: a failure is returned.
std::optional<FileFailure> WriteLines(std::string_view path, const LineTable& table,
                                      const std::vector<std::uint16_t>& numbers) {
    files::TextWriter writer;
    bool ok = writer.Open(path);
    for (std::size_t i = 0; ok && i < numbers.size(); ++i) {
        ok = writer.Write(table.Text(numbers[i] - 1u));
        text::Yield(0);
    }
    if (ok && writer.Commit()) {
        return std::nullopt;
    }
    return FileFailure{FileFailure::Kind::kWrite, std::string(path), writer.error()};
}

}  // namespace

// The lines are kept as read and compared in a second form with their attribute values hidden,
// so what is written is always the exact bytes that were read, even where the page's text held
// the marker bytes itself.
FirstPassResult CompareWithLatestLog(std::string_view latest_log, std::string_view new_text,
                                     std::string_view add_path, const ComparisonContext& context) {
    const bool hides = HidesAttributeValues(context);
    LineTable old_side(hides);
    LineTable new_side(hides);
    FirstPassResult result;
    if (!ReadSide(latest_log, context, old_side, result.failure)) {
        result.code = FirstPassResult::kNoLatestLog;
        return result;
    }
    if (!ReadSide(new_text, context, new_side, result.failure) || result.failure) {
        result.code = FirstPassResult::kNoNewTextOrSide;
        return result;
    }
    std::vector<std::uint16_t> added;
    if (new_side.size() == 0) {
        // Nothing is new and nothing is written. (The page check removes add.txt before this
        // pass, so lines left by an earlier check cut short cannot be taken for this one's.)
        result.code = FirstPassResult::kNoNewTextOrSide;
        return result;
    }
    if (old_side.size() == 0) {
        for (std::size_t i = 1; i <= new_side.size(); ++i) {
            added.push_back(static_cast<std::uint16_t>(i));
        }
        result.code = FirstPassResult::kNoNewTextOrSide;
        result.failure = WriteLines(add_path, new_side, added);
        return result;
    }
    AlignmentRules rules;
    rules.ignore_number_diff = context.settings.ignore_number_diff != 0;
    rules.skip_hidden = hides;
    std::vector<std::string_view> old_forms = old_side.CompareForms();
    std::vector<std::string_view> new_forms = new_side.CompareForms();
    added = AlignLines(old_forms, new_forms, rules);
    result.failure = WriteLines(add_path, new_side, added);
    return result;
}

}  // namespace velnora::processing

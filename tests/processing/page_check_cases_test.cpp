// Runs every page-directory case under tests/data/pages (made by make_cases.py there): the check
// must leave exactly the expected files, byte for byte, and give the expected outcome.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>

#include "ini/ini_file.h"
#include "processing/page_check.h"
#include "store/settings_files.h"
#include "support/sjis.h"
#include "support/temp_dir.h"

namespace velnora::processing {
namespace {

namespace fs = std::filesystem;

const fs::path kCases = fs::path(VELNORA_TEST_DATA) / "pages";

std::map<std::string, std::string> FilesIn(const fs::path& dir) {
    std::map<std::string, std::string> files;
    if (!fs::is_directory(dir)) {
        return files;
    }
    for (const auto& entry : fs::directory_iterator(dir)) {
        files[entry.path().filename().string()] = test::ReadBytes(entry.path().string());
    }
    return files;
}

std::string Trimmed(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

class PageCheckCase : public testing::TestWithParam<std::string> {};

TEST_P(PageCheckCase, LeavesTheExpectedFiles) {
    fs::path root = kCases / GetParam();
    test::TempDir temp;
    std::string page = temp / "page.dat";
    test::MakeDir(page);
    for (const auto& [name, bytes] : FilesIn(root / "input")) {
        test::WriteBytes(page + "/" + name, bytes);
    }

    PageCheckInput input;
    input.page_directory = page;
    ASSERT_EQ(store::ReadPageSettings(page, input.settings), 0);
    if (fs::exists(root / "program.ini")) {
        ini::IniFile program;
        program.Load((root / "program.ini").string());
        input.n_reload = program.GetInt("CONFIG", "N_RELOAD", 3);
        input.ignore_image_name = program.GetInt("CONFIG", "IGNORE_IMAGE_NAME", 1);
    }
    SilentObserver observer;
    std::atomic<bool> closing{false};
    CheckOutcome outcome = RunPageCheck(input, observer, closing);

    std::string got_outcome =
        std::to_string(static_cast<int>(outcome)) + " " + std::string(CheckOutcomeName(outcome));
    EXPECT_EQ(got_outcome, Trimmed(test::ReadBytes((root / "outcome").string())));

    auto expected = FilesIn(root / "expected");
    auto got = FilesIn(page);
    std::vector<std::string> expected_names;
    std::vector<std::string> got_names;
    for (const auto& [name, bytes] : expected) {
        expected_names.push_back(name);
    }
    for (const auto& [name, bytes] : got) {
        got_names.push_back(name);
    }
    EXPECT_EQ(got_names, expected_names) << "the files of the page directory";
    for (const auto& [name, bytes] : expected) {
        auto it = got.find(name);
        if (it != got.end()) {
            EXPECT_EQ(test::Utf8(it->second), test::Utf8(bytes)) << name;
            EXPECT_EQ(it->second, bytes) << name << " byte for byte";
        }
    }
}

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kCases)) {
        if (entry.is_directory()) {
            names.push_back(entry.path().filename().string());
        }
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string CaseTestName(const testing::TestParamInfo<std::string>& info) {
    std::string name = info.param;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
}

INSTANTIATE_TEST_SUITE_P(Pages, PageCheckCase, testing::ValuesIn(CaseNames()), CaseTestName);

}  // namespace
}  // namespace velnora::processing

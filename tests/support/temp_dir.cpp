#include "support/temp_dir.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>

#include "files/binary_file.h"
#include "files/file_system.h"

namespace velnora::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "velnora-test-XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    if (made == nullptr) {
        ADD_FAILURE() << "cannot create a temporary directory";
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::operator/(std::string_view relative) const {
    return path_ + "/" + std::string(relative);
}

void WriteBytes(std::string_view path, std::string_view bytes) {
    files::OutputFile file;
    ASSERT_TRUE(file.Open(path)) << path;
    ASSERT_TRUE(file.Write(bytes));
    ASSERT_TRUE(file.Close());
}

std::string ReadBytes(std::string_view path) {
    std::string bytes;
    files::ReadWholeFile(path, bytes);
    return bytes;
}

bool Exists(std::string_view path) {
    return files::PathExists(path);
}

void MakeDir(std::string_view path) {
    ASSERT_TRUE(files::MakeDirectories(path)) << path;
}

}  // namespace velnora::test

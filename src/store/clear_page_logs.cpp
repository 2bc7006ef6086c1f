#include "store/clear_page_logs.h"

#include "files/file_system.h"
#include "store/log_index.h"
#include "store/page_files.h"

namespace velnora::store {

namespace {

void RemovePageFile(std::string_view page_directory, std::string_view name) {
    if (auto path = PagePath(page_directory, name)) {
        files::RemoveFile(*path);
    }
}

}  // namespace

void ClearPageLogs(std::string_view page_directory) {
    if (files::IsSymbolicLink(page_directory)) {
        return;  // its files are somewhere else, and not the page's to delete
    }
    int current = ReadLogIndex(page_directory);
    for (int k = 0; k < kLogSlots; ++k) {
        if (k != current) {
            RemovePageFile(page_directory, LogFileName(k));
        }
    }
    current = ReadLogIndex(page_directory);
    for (int k = 0; k < kLogSlots; ++k) {
        if (k != current) {
            RemovePageFile(page_directory, UpdateFileName(k));
        }
    }
    RemovePageFile(page_directory, kHeadFile);
}

}  // namespace velnora::store

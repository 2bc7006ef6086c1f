#include "store/import_folder.h"

#include <cerrno>

#include "files/file_system.h"
#include "ini/ini_file.h"
#include "ini/keys.h"
#include "store/item_directory.h"
#include "store/page_files.h"
#include "store/settings_keys.h"

namespace velnora::store {

namespace {

void SetError(std::string* error, std::string text) {
    if (error != nullptr) {
        *error = std::move(text);
    }
}

}  // namespace

std::string ImportFolderCandidate(std::string_view base, int i) {
    std::string name(base);
    if (i > 0) {
        name += "(" + std::to_string(i) + ")";
    }
    return name;
}

std::optional<std::string> FreeImportFolder(std::string_view parent_directory,
                                            std::string_view base, std::string* name) {
    for (int i = 0; i < kImportFolderCandidates; ++i) {
        std::string candidate = ImportFolderCandidate(base, i);
        auto path = ItemDirectory(parent_directory, candidate, KIND_FOLDER);
        if (!path) {
            return std::nullopt;  // longer candidates fit no better
        }
        if (!files::PathExists(*path)) {
            if (name != nullptr) {
                *name = std::move(candidate);
            }
            return path;
        }
    }
    return std::nullopt;
}

bool MakeFolderDirectory(std::string_view parent_directory, std::string_view name,
                         std::string& path, bool& made, std::string* error) {
    made = false;
    auto directory = ItemDirectory(parent_directory, name, KIND_FOLDER);
    if (!directory) {
        SetError(error, files::SystemErrorText(ENAMETOOLONG));
        return false;
    }
    path = std::move(*directory);
    if (files::IsDirectory(path)) {
        return true;
    }
    if (!files::MakeDirectory(path, error)) {
        return false;
    }
    made = true;
    return true;
}

bool MakeImportedPage(std::string_view folder_directory, std::string_view name,
                      std::string_view url, std::string& path, std::string* error) {
    std::string directory;
    std::string reason;
    switch (CreateItemDirectory(folder_directory, name, KIND_PAGE, directory, reason)) {
        case ItemDirectoryResult::kDone:
            break;
        case ItemDirectoryResult::kTooLong:
            SetError(error, files::SystemErrorText(ENAMETOOLONG));
            return false;
        case ItemDirectoryResult::kFailed:
            SetError(error, reason);
            return false;
    }
    auto site_ini = PagePath(directory, kSiteIni);
    ini::IniFile ini;
    ini::Write(ini, keys::kUrl, url);
    ini::Write(ini, keys::kUseOldLog, 1);
    if (!site_ini || !ini.Save(*site_ini, &reason)) {
        SetError(error, site_ini ? reason : files::SystemErrorText(ENAMETOOLONG));
        files::RemoveEmptyDirectory(directory);
        return false;
    }
    path = std::move(directory);
    return true;
}

}  // namespace velnora::store

#include "window/import_commands.h"

#include <string>

#include "imports/import_run.h"
#include "imports/import_source.h"
#include "window/import_texts.h"
#include "window/message_box.h"
#include "window/open_dialogs.h"
#include "window/tree_texts.h"

namespace velnora::window {

namespace {

std::string Count(std::string_view prefix, int count, std::string_view suffix) {
    return std::string(prefix) + std::to_string(count) + std::string(suffix);
}

std::string Lines(std::string_view prefix, int line) {
    return std::string(prefix) + std::to_string(line) + std::string(import_texts::kLineSuffix);
}

// Why a file cannot be imported, for the message box.
std::string ReadProblem(const imports::ImportSource& source) {
    using imports::ReadError;
    switch (source.error) {
        case ReadError::kNone:
            break;
        case ReadError::kUnreadable:
            return std::string(import_texts::kUnreadable) + source.detail;
        case ReadError::kTooLarge:
            return std::string(import_texts::kTooLarge);
        case ReadError::kBinary:
            return std::string(import_texts::kBinary);
        case ReadError::kOtherMarkup:
            return std::string(import_texts::kOtherMarkup);
        case ReadError::kDamagedHtml:
            return Lines(import_texts::kDamagedHtmlPrefix, source.line);
        case ReadError::kDamagedXml:
            return Lines(import_texts::kDamagedXmlPrefix, source.line);
    }
    return {};
}

}  // namespace

ImportCommands::ImportCommands(store::PageTree& tree, WindowServices& services,
                               std::function<void()> rebuild_tree)
    : tree_(tree), services_(services), rebuild_tree_(std::move(rebuild_tree)) {}

void ImportCommands::ImportFavorites() {
    if (services_.CheckRunning() ||
        ShowMessage(services_.window(), import_texts::kFavoritesQuestion,
                    import_texts::kConfirmCaption, MessageButtons::kYesNoDefaultNo,
                    MessageIcon::kQuestion) != MessageAnswer::kYes) {
        return;
    }
    auto directory =
        ChooseDirectory(services_.window(), QString::fromUtf16(u"お気に入りのフォルダを選択"));
    if (!directory) {
        return;
    }
    services_.SetStatusText(import_texts::kImportingFavorites);
    imports::ImportSource source = imports::ReadLinkFolder(*directory);
    HomeWriteScope writing(services_);
    if (!writing || source.error != imports::ReadError::kNone) {
        return;
    }
    imports::ImportRequest request;
    request.tree = &tree_;
    request.target = tree_.root();
    request.base_name = import_texts::kFavoritesFolderName;
    request.rules = imports::ImportRules::kFavorites;
    request.progress = [this](int found, int total) {
        services_.SetStatusText(Count(import_texts::kImportingFavoritesCountPrefix, found, ")..."));
        services_.ShowProgress(found, total);
    };
    imports::ImportReport report = imports::RunImport(request, source);
    services_.ShowProgress(0, 0);
    if (report.failure != imports::ImportFailure::kNone) {
        services_.SetStatusText(import_texts::kFolderNotMade);
        return;
    }
    services_.SetStatusText(import_texts::kRebuildingTree);
    rebuild_tree_();
    services_.SetStatusText(
        Count(import_texts::kFavoritesDonePrefix, report.found, import_texts::kCountSuffix));
}

void ImportCommands::ImportBookmarks() {
    if (services_.CheckRunning()) {
        return;
    }
    auto file = ChooseOpenFile(
        services_.window(), QString::fromUtf16(u"ブックマークをインポート"),
        QString::fromUtf16(
            u"ブックマーク (*.html *.htm *.opml *.xml *.txt);;すべてのファイル (*)"));
    if (!file) {
        return;
    }
    imports::ImportSource source = imports::ReadImportPath(*file);
    if (source.error != imports::ReadError::kNone) {
        ShowMessage(services_.window(),
                    std::string(import_texts::kCannotImport) + ReadProblem(source),
                    tree_texts::kErrorCaption, MessageButtons::kOk, MessageIcon::kError);
        return;
    }
    services_.SetStatusText(import_texts::kImportingBookmarks);
    HomeWriteScope writing(services_);
    store::TreeNode root;
    if (!writing || tree_.BuildTreeNode(tree_.root(), root) != 0) {
        return;
    }
    imports::ImportRequest request;
    request.tree = &tree_;
    request.target = tree_.root();
    request.base_name = imports::ImportFolderBaseName(imports::SourceBaseName(*file), root.path);
    request.rules = imports::ImportRules::kBookmarks;
    request.progress = [this](int found, int total) {
        services_.SetStatusText(Count(import_texts::kImportingBookmarksCountPrefix, found, ")..."));
        services_.ShowProgress(found, total);
    };
    imports::ImportReport report = imports::RunImport(request, source);
    services_.ShowProgress(0, 0);
    int skipped = report.SkippedTotal() + source.junk_lines;
    switch (report.failure) {
        case imports::ImportFailure::kNone:
            break;
        case imports::ImportFailure::kNothingNew:
            services_.SetStatusText(
                Count(import_texts::kNothingNewPrefix, skipped, import_texts::kSkippedSuffix));
            return;
        case imports::ImportFailure::kTargetNotFound:
        case imports::ImportFailure::kFolderNotMade:
            services_.SetStatusText(import_texts::kFolderNotMade);
            return;
        case imports::ImportFailure::kWriteFailed:
            services_.SetStatusText("");
            ShowMessage(services_.window(), std::string(import_texts::kWriteFailed) + report.error,
                        tree_texts::kErrorCaption, MessageButtons::kOk, MessageIcon::kError);
            return;
    }
    services_.SetStatusText(import_texts::kRebuildingTree);
    rebuild_tree_();
    services_.SetStatusText(
        Count(import_texts::kBookmarksDonePrefix, report.made, import_texts::kMadeSuffix) +
        Count("", skipped, import_texts::kSkippedSuffix));
}

}  // namespace velnora::window

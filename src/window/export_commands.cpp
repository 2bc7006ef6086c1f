#include "window/export_commands.h"

#include <QUrl>

#include "files/file_names.h"
#include "html/browser_file.h"
#include "html/document_head.h"
#include "html/html_file.h"
#include "html/link_history.h"
#include "html/saved_log.h"
#include "results/link_targets.h"
#include "settings/settings_views.h"
#include "window/file_dialog.h"
#include "window/message_box.h"
#include "window/tree_texts.h"

namespace velnora::window {

namespace {

// The file: URL of a Shift_JIS path, percent-encoded (ASCII, so also Shift_JIS).
std::string FileUrl(std::string_view path) {
    QString disk = QString::fromStdString(files::ToDiskName(path).value_or(""));
    return QUrl::fromLocalFile(disk).toString(QUrl::FullyEncoded).toStdString();
}

}  // namespace

ExportCommands::ExportCommands(WindowServices& services, results::StatusSink& status,
                               const results::ResultDocument& document, const store::PageTree& tree,
                               std::string home_directory, std::function<store::ItemId()> selected)
    : services_(services),
      status_(status),
      document_(document),
      tree_(tree),
      home_directory_(std::move(home_directory)),
      selected_(std::move(selected)) {}

void ExportCommands::ShowWriteError(const std::string& error) {
    ShowMessage(services_.window(), error, tree_texts::kSystemErrorCaption, MessageButtons::kOk,
                MessageIcon::kError);
}

void ExportCommands::SaveLogAsHtml() {
    std::tm now = html::LocalNow();
    auto path = ChooseSaveFile(services_.window(), home_directory_ + html::DefaultSavedLogName(now),
                               QString::fromUtf16(u"HTMLファイル(*.html)"));
    if (!path) {
        return;
    }
    std::string html =
        html::SavedLogHtml(document_, settings::PaneAppearanceFrom(services_.settings()), now);
    std::string error;
    if (!html::WriteHtmlFile(*path, html, html::kSharedFilePermissions, &error)) {
        ShowWriteError(error);
    }
}

void ExportCommands::OpenResultsInBrowser() {
    services_.LockCommands(false);
    const settings::AppSettings& settings = services_.settings();
    std::string html =
        html::BrowserFileHtml(tree_, selected_(), settings::DisplaySettingsFrom(settings),
                              settings::PaneAppearanceFrom(settings), html::LocalNow(), &status_);
    std::string path = html::BrowserFilePath(home_directory_);
    std::string error;
    bool written = html::WriteHtmlFile(path, html, html::kPrivateFilePermissions, &error);
    services_.SetStatusText({});
    if (written) {
        services_.OpenAddress(FileUrl(path));
    } else {
        ShowWriteError(error);
    }
    services_.LockCommands(true);
}

void ExportCommands::RecordLink(std::size_t link) {
    if (services_.settings().save_history == 0 || link >= document_.Links().size() ||
        results::IsSettingsTarget(document_.Links()[link].target)) {
        return;
    }
    // A lost entry is not worth keeping the user from the page: the link opens anyway.
    [[maybe_unused]] bool recorded =
        html::AppendLinkToHistory(home_directory_, document_, link, html::LocalNow());
}

}  // namespace velnora::window

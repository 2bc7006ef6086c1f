#include "cli/page_commands.h"

#include <atomic>

#include "cli/cli.h"
#include "cli/cli_support.h"
#include "files/binary_file.h"
#include "files/file_system.h"
#include "processing/page_check.h"
#include "processing/page_extraction.h"
#include "store/page_files.h"
#include "store/settings_files.h"

namespace velnora::cli {

namespace {

// Error and status lines go to the terminal; status texts are progress a terminal does not need.
class TerminalObserver : public processing::PipelineObserver {
  public:
    explicit TerminalObserver(std::ostream& err) : err_(err) {}
    void SetStatusText(std::string_view) override {}
    void ErrorLine(std::string_view message) override {
        err_ << "error: " << ToTerminal(message) << "\n";
    }
    void StatusLine(std::string_view text) override { err_ << ToTerminal(text) << "\n"; }

  private:
    std::ostream& err_;
};

bool OnePageArgument(const std::vector<std::string>& args, std::string_view usage,
                     std::ostream& err) {
    if (args.size() != 1 || args[0].empty() || args[0][0] == '-') {
        err << "Usage: velnora-cli " << usage << " PAGE_DIR\n";
        return false;
    }
    return true;
}

}  // namespace

int ProcessCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!OnePageArgument(args, "process", err)) {
        return kExitUsage;
    }
    auto home = OpenHome(err);
    if (!home) {
        return kExitFailure;
    }
    auto directory = PageDirectoryArgument(args[0], err);
    if (!directory) {
        return kExitFailure;
    }
    settings::AppSettings settings = LoadSettings(*home, err);
    processing::PageCheckInput input;
    input.page_directory = *directory;
    std::string error;
    if (store::ReadPageSettings(input.page_directory, input.settings, &error) != 0) {
        err << "velnora-cli: " << args[0] << "/site.ini: " << error << "\n";
        return kExitFailure;
    }
    input.n_reload = settings.n_reload;
    input.ignore_image_name = settings.ignore_image_name;
    TerminalObserver observer(err);
    std::atomic<bool> closing{false};
    processing::CheckOutcome outcome = processing::RunPageCheck(input, observer, closing);
    out << static_cast<int>(outcome) << " " << processing::CheckOutcomeName(outcome) << "\n";
    return kExitOk;
}

int ExtractCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!OnePageArgument(args, "extract", err)) {
        return kExitUsage;
    }
    auto directory = PageDirectoryArgument(args[0], err);
    if (!directory) {
        return kExitFailure;
    }
    store::PageSettings settings;
    std::string error;
    if (store::ReadPageSettings(*directory, settings, &error) != 0) {
        err << "velnora-cli: " << args[0] << "/site.ini: " << error << "\n";
        return kExitFailure;
    }
    files::InputFile response;
    bool opened = false;
    for (std::string_view name : {store::kResponseFile, store::kReceivingFile}) {
        auto path = store::PagePath(*directory, name);
        if (path && files::IsRegularFile(*path) && response.Open(*path)) {
            opened = true;
            break;
        }
    }
    if (!opened) {
        err << "velnora-cli: " << args[0] << ": no stored response (html.txt or htmltmp.txt)\n";
        return kExitFailure;
    }
    std::string first_line;
    if (!processing::ReadFirstLine(response, first_line)) {
        return kExitOk;  // an empty response gives no text
    }
    int status = processing::ParseStatusCode(first_line);
    if (status != 200) {
        err << "velnora-cli: the stored response is no page: "
            << ToTerminal(processing::HttpErrorMessage(first_line)) << "\n";
        return kExitFailure;
    }
    processing::StringTextOutput text;
    std::atomic<bool> closing{false};
    processing::ExtractResponseBody(response, settings, text, closing);
    std::string printed = ToTerminal(text.text());
    out << printed;
    if (!printed.empty() && printed.back() != '\n') {
        out << "\n";
    }
    return kExitOk;
}

}  // namespace velnora::cli

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

int ProcessCommand(const std::vector<std::string>& arguments, std::ostream& out,
                   std::ostream& err) {
    std::vector<std::string> args = arguments;
    bool wait = TakeWaitOption(args);
    if (!OnePageArgument(args, "process [--wait]", err)) {
        return kExitUsage;
    }
    auto directory = PageDirectoryArgument(args[0], err);
    if (!directory) {
        return kExitUsage;
    }
    auto response = store::PagePath(*directory, store::kReceivingFile);
    if (!response || !files::IsRegularFile(*response)) {
        err << "velnora-cli: " << args[0] << ": no response to process (htmltmp.txt)\n";
        return kExitNotDone;
    }
    int status = kExitDone;
    auto home = OpenHomeForWriting("process", wait, err, &status);
    if (!home) {
        return status;
    }
    settings::AppSettings settings = LoadSettings(home->home, err);
    processing::PageCheckInput input;
    input.page_directory = *directory;
    std::string error;
    if (store::ReadPageSettings(input.page_directory, input.settings, &error) != 0) {
        err << "velnora-cli: " << args[0] << "/site.ini: " << error << "\n";
        return kExitNotDone;
    }
    input.n_reload = settings.n_reload;
    input.ignore_image_name = settings.ignore_image_name;
    TerminalObserver observer(err);
    std::atomic<bool> closing{false};
    processing::CheckOutcome outcome = processing::RunPageCheck(input, observer, closing);
    out << static_cast<int>(outcome) << " " << processing::CheckOutcomeName(outcome) << "\n";
    switch (outcome) {
        case processing::CheckOutcome::HttpError:
            return kExitNegative;
        case processing::CheckOutcome::CutShort:
            err << "velnora-cli: the stored response was cut short; nothing was filed\n";
            return kExitNotDone;
        default:
            return kExitDone;
    }
}

int ExtractCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (!OnePageArgument(args, "extract", err)) {
        return kExitUsage;
    }
    auto directory = PageDirectoryArgument(args[0], err);
    if (!directory) {
        return kExitUsage;
    }
    store::PageSettings settings;
    std::string error;
    if (store::ReadPageSettings(*directory, settings, &error) != 0) {
        err << "velnora-cli: " << args[0] << "/site.ini: " << error << "\n";
        return kExitNotDone;
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
        return kExitNotDone;
    }
    std::string first_line;
    if (!processing::ReadFirstLine(response, first_line)) {
        return kExitDone;  // an empty response gives no text
    }
    int status = processing::ParseStatusCode(first_line);
    if (status != 200) {
        err << "velnora-cli: the stored response is no page: "
            << ToTerminal(processing::HttpErrorMessage(first_line)) << "\n";
        return kExitNotDone;
    }
    processing::StringTextOutput text;
    std::atomic<bool> closing{false};
    processing::ExtractResponseBody(response, settings, text, closing);
    std::string printed = ToTerminal(text.text());
    out << printed;
    if (!printed.empty() && printed.back() != '\n') {
        out << "\n";
    }
    return kExitDone;
}

}  // namespace velnora::cli

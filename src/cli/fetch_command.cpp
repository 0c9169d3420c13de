#include <CLI/CLI.hpp>
#include <memory>
#include <ostream>
#include <string>

#include "cli/cli.h"
#include "cli/command.h"
#include "cli/command_support.h"
#include "cli/interrupt.h"
#include "cli/terminal_host.h"
#include "cli/terminal_text.h"
#include "core/settings_io.h"
#include "net/fetch.h"
#include "platform/cancellation.h"

namespace gl::cli {
namespace {

struct FetchArguments {
  std::string Address;
  std::string UserName;
  std::string Password;
  std::string BaseAddress;
  bool StayLocal = false;
  bool Images = false;
  bool OtherFiles = false;
};

// Shows the transfer's status and progress on one terminal line, redrawn in place.
class TerminalSink : public ProgressSink {
 public:
  explicit TerminalSink(std::ostream& err) : err_(err) {}
  ~TerminalSink() override {
    if (drawn_) err_ << "\r\x1b[K" << std::flush;
  }

  void SetStatusText(const std::string& text) override {
    status_ = text;
    Draw();
  }
  void SetProgress(int percent) override {
    percent_ = percent;
    Draw();
  }

 private:
  void Draw() {
    err_ << '\r' << status_ << ' ' << percent_ << "%\x1b[K" << std::flush;
    drawn_ = true;
  }

  std::ostream& err_;
  std::string status_;
  int percent_ = 0;
  bool drawn_ = false;
};

const char* YesNo(bool value) {
  return value ? "yes" : "no";
}

int RunFetch(FetchArguments& arguments, CommandIo& io) {
  const Settings settings = LoadSettings();
  FetchOptions options;
  options.UserName = arguments.UserName;
  options.Password = arguments.Password;
  options.StayLocal = arguments.StayLocal;
  options.BaseAddress = arguments.BaseAddress.empty() ? arguments.Address : arguments.BaseAddress;
  options.AcceptImages = arguments.Images;
  options.AcceptOtherFiles = arguments.OtherFiles;

  std::string address = arguments.Address;
  FetchResult result;
  {
    // Status and progress only make sense on a terminal; a pipe gets the outcome line alone.
    std::unique_ptr<ProgressSink> sink;
    if (IsTerminal(io.err)) {
      sink = std::make_unique<TerminalSink>(io.err);
    } else {
      sink = std::make_unique<SilentProgress>();
    }
    // Ctrl+C ends a waiting transfer at once with the skipped page.
    const StopOnInterrupt stopOnCtrlC;
    result = FetchPage(address, options, settings, *sink);
  }
  ClearStop();

  std::string_view bytes = result.Stream.View();
  if (bytes.ends_with('\0')) bytes.remove_suffix(1);
  io.out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  io.out.flush();
  io.err << "page-ok=" << YesNo(result.PageOk) << " non-text=" << YesNo(result.NonText)
         << " external=" << YesNo(result.External) << " address=" << TerminalText(address) << '\n';
  return result.PageOk ? kExitDone : kExitFailed;
}

}  // namespace

void RegisterFetchCommand(CLI::App& app, CommandAction& action) {
  auto arguments = std::make_shared<FetchArguments>();
  CLI::App* fetch = app.add_subcommand(
      "fetch",
      "Fetch one page or file as a brief's run would, with the settings' proxy, retries and "
      "default credentials. The answer (status line, headers, body) or the page that explains "
      "why there is none goes to stdout; the outcome goes to stderr as one line.");
  fetch
      ->add_option("URL", arguments->Address,
                   "the address: http://..., a bare host/path, file:///path, "
                   "or https://... with secure pages on")
      ->required();
  fetch->add_option("--user", arguments->UserName, "user name for Basic credentials");
  fetch->add_option("--password", arguments->Password, "password for Basic credentials");
  fetch->add_option("--base", arguments->BaseAddress,
                    "the web entry's own address, for --stay-local (default: URL)");
  fetch->add_flag("--stay-local", arguments->StayLocal,
                  "refuse an address outside the base address's site");
  fetch->add_flag("--images", arguments->Images, "accept images");
  fetch->add_flag("--other-files", arguments->OtherFiles, "accept any other file type");
  OnParsed(*fetch, action, arguments, &RunFetch);
}

}  // namespace gl::cli

// The desktop program: the main window, opening the brief files named on the command line (as a
// desktop entry's %F passes them) once start-up is done. With --print it prints one brief to a
// PDF file instead and shows no window. Exit codes: 0 done, 1 the print failed (the reason on
// stderr), 2 the command line was wrong.

#include <QApplication>
#include <QCommandLineParser>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/program_directory.h"
#include "ui/main_frame.h"
#include "ui/print_canvas.h"
#include "ui/qt_text.h"
#include "ui/splash_screen.h"
#include "ui/tool_icons.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// Printing to a file, the help and the version need no display, so they run on Qt's offscreen
// platform (a terminal without a display must still show the help). The platform is chosen
// before the application object exists, so the options are looked for in the raw arguments.
bool NeedsNoWindow(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view argument = argv[i];
    if (argument == "--") return false;
    for (const std::string_view option :
         {"--print", "--pdf", "--help", "--help-all", "-h", "--version", "-v"})
      if (argument.substr(0, argument.find('=')) == option) return true;
  }
  return false;
}

// Without windows, Qt's own notes (no runtime folder, a printer that would not start) tell the
// user nothing that the program's message does not: stderr keeps to the program's words.
void KeepQtQuiet(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg) std::cerr << text.toStdString() << '\n';
}

int UsageError(const QString& text) {
  std::cerr << text.toStdString() << "\nRun 'gleaner-light --help' for the options.\n";
  return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
  if (NeedsNoWindow(argc, argv)) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(KeepQtQuiet);
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName("Gleaner-Light");
  QApplication::setApplicationVersion(GL_VERSION);
  QApplication::setOrganizationName("Orrery Development");
  QApplication::setDesktopFileName("gleaner-light");

  QCommandLineParser parser;
  parser.setApplicationDescription("Offline digests of web sites.");
  const QCommandLineOption help = parser.addHelpOption();
  const QCommandLineOption version = parser.addVersionOption();
  const QCommandLineOption print("print", "Print a brief without showing a window.", "BRIEF.brf");
  const QCommandLineOption pdf("pdf", "The PDF file that --print writes.", "OUT.pdf");
  parser.addOptions({print, pdf});
  parser.addPositionalArgument("briefs", "Brief files to open.", "[BRIEF.brf...]");
  if (!parser.parse(QApplication::arguments())) return UsageError(parser.errorText());
  if (parser.isSet(help)) parser.showHelp();
  if (parser.isSet(version)) parser.showVersion();

  if (parser.isSet(print) || parser.isSet(pdf)) {
    if (!parser.isSet(print) || !parser.isSet(pdf))
      return UsageError("--print and --pdf go together: --print BRIEF.brf --pdf OUT.pdf");
    if (!parser.positionalArguments().isEmpty())
      return UsageError("--print takes its brief from its own value, not from other arguments.");
    const gl::UserMessage failure =
        gl::PrintBriefFileToPdf(gl::QStringToPath(parser.value(print)), parser.value(pdf));
    if (failure.Empty()) return 0;
    std::cerr << gl::MessageForTerminal(failure) << '\n';
    return kExitFailed;
  }

  std::vector<std::filesystem::path> briefs;
  for (const QString& argument : parser.positionalArguments())
    briefs.push_back(gl::QStringToPath(argument));

  gl::FrameOptions options;
  options.ProgramFolder = gl::ProgramDirectory();
  QApplication::setWindowIcon(gl::ProgramIcon(options.ProgramFolder));
  gl::TMDIFrame frame(std::move(options));
  gl::TSplashScreen(frame.ProgramSettings()).exec();
  frame.FormActivate(briefs);
  return QApplication::exec();
}

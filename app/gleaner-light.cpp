// The desktop program: the main window, opening the brief files named on the command line (as a
// desktop entry's %F passes them) once start-up is done.

#include <QApplication>
#include <QCommandLineParser>
#include <filesystem>
#include <utility>
#include <vector>

#include "platform/program_directory.h"
#include "ui/main_frame.h"
#include "ui/qt_text.h"
#include "ui/splash_screen.h"
#include "ui/tool_icons.h"

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Gleaner-Light");
  QApplication::setApplicationVersion(GL_VERSION);
  QApplication::setOrganizationName("Orrery Development");
  QApplication::setDesktopFileName("gleaner-light");

  QCommandLineParser parser;
  parser.setApplicationDescription("Offline digests of web sites.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument("briefs", "Brief files to open.", "[BRIEF.brf...]");
  parser.process(application);
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

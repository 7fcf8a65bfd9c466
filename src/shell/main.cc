// vrdk-mouse: the configuration window.
#include <QApplication>
#include <QSocketNotifier>
#include <algorithm>
#include <csignal>
#include <iostream>
#include <optional>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

#include "shell/hotplug_watch.h"
#include "shell/main_window.h"
#include "shell/options.h"
#include "shell/screenshots.h"
#include "shell/shell_run.h"
#include "shell/single_instance.h"

namespace {

constexpr const char* kVersion = VRDK_VERSION;
constexpr int kExitUsage = 1;
constexpr int kExitFileError = 4;

int Fail(int code, const std::string& message) {
  std::cerr << "vrdk-mouse: " << message << '\n';
  return code;
}

#ifdef Q_OS_UNIX
// SIGINT and SIGTERM close the window as its close button does, so the
// simulated mouse's memory is written back.
int signal_pipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const auto written = write(signal_pipe[1], &byte, 1);
}

void CloseOnSignals(QWidget& window) {
  if (pipe(signal_pipe) != 0) return;
  auto* notifier = new QSocketNotifier(signal_pipe[0], QSocketNotifier::Read, &window);
  QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
    char byte = 0;
    [[maybe_unused]] const auto got = read(signal_pipe[0], &byte, 1);
    window.close();
  });
  std::signal(SIGINT, OnSignal);
  std::signal(SIGTERM, OnSignal);
}
#else
void CloseOnSignals(QWidget&) {}
#endif

// Help and the version need no display: they are answered before Qt starts
// (when the line holds none of Qt's own options, it parses as it stands).
std::optional<int> AnswerWithoutDisplay(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  const auto parsed = vrdk::shell::ParseShellOptions(args);
  if (parsed.ok() && parsed.value().help) {
    std::cout << vrdk::shell::ShellUsage();
    return 0;
  }
  if (parsed.ok() && parsed.value().version) {
    std::cout << "vrdk-mouse " << kVersion << '\n';
    return 0;
  }
#if defined(Q_OS_LINUX)
  // Without a display Qt would abort; one line says why instead.
  const bool platform_chosen =
      !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
      std::find(args.begin(), args.end(), std::string("-platform")) != args.end();
  if (!platform_chosen && qEnvironmentVariableIsEmpty("DISPLAY") &&
      qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
    return Fail(kExitUsage,
                "no display to open the window on (DISPLAY and WAYLAND_DISPLAY are unset); "
                "vrdkctl works without one");
  }
#endif
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = AnswerWithoutDisplay(argc, argv)) return *answered;
  QApplication app(argc, argv);  // takes Qt's own options (-platform, ...) out
  // One identity for the desktop: the desktop file's name is the window's
  // class on X11 (WM_CLASS) and its app id on Wayland, so docks show the
  // program's icon and group the window with its launcher.
  QApplication::setApplicationName(QStringLiteral("io.github.vrdk.Mouse"));
  QGuiApplication::setDesktopFileName(QStringLiteral("io.github.vrdk.Mouse"));
  QApplication::setApplicationDisplayName(QStringLiteral("Gaming Mouse"));
  std::vector<std::string> args;
  for (const QString& arg : QCoreApplication::arguments().mid(1)) args.push_back(arg.toStdString());
  const auto parsed = vrdk::shell::ParseShellOptions(args);
  if (!parsed.ok()) return Fail(kExitUsage, parsed.message());
  const vrdk::shell::ShellOptions& options = parsed.value();
  if (options.help) {
    std::cout << vrdk::shell::ShellUsage();
    return 0;
  }
  if (options.version) {
    std::cout << "vrdk-mouse " << kVersion << '\n';
    return 0;
  }
  const bool screenshots = !options.screenshots.empty();
  vrdk::shell::SingleInstance instance;
  if (!screenshots && !instance.Listen()) {
    std::cerr << "vrdk-mouse: already running; brought it to the front\n";
    return 0;
  }
  std::unique_ptr<vrdk::shell::ShellDialogs> dialogs;
  if (screenshots) {
    dialogs = std::make_unique<vrdk::shell::ConsoleDialogs>();
  } else {
    dialogs = std::make_unique<vrdk::shell::QtDialogs>();
  }
  vrdk::shell::TForm1 window(std::move(dialogs), {QString::fromStdString(options.layout_report),
                                                  QString(), options.engineer});
  vrdk::shell::ShellRun run(options);
  if (!run.Prepare(window)) {
    // Started from a desktop, nobody reads stderr: the reason is shown too.
    if (QGuiApplication::platformName() != QLatin1String("offscreen")) {
      window.Dialogs().Message(nullptr, QString::fromStdString(run.Error()), window.TableFont(11));
    }
    return Fail(kExitFileError, run.Error());
  }
  for (const auto& error : run.BrandErrors())
    std::cerr << "vrdk-mouse: " << error.Message() << '\n';
  run.SetMessagePump([] { QCoreApplication::processEvents(); });
  window.SetSession(run.GetSession());
  window.SetPointerPlatform(run.Pointer());
  QObject::connect(&instance, &vrdk::shell::SingleInstance::ShowRequested, &window, [&window] {
    window.showNormal();
    window.raise();
    window.activateWindow();
  });
  CloseOnSignals(window);
  if (!screenshots && !options.simulate) {
    vrdk::shell::WatchHotplug(&window, [&window] { window.DevTimerTimer(); });
  }
  window.FormCreate();
  window.show();
  int code = screenshots ? vrdk::shell::RenderScreenshots(
                               window, QString::fromStdString(options.screenshots))
                         : QApplication::exec();
  if (!run.Finish()) code = Fail(code != 0 ? code : kExitFileError, run.Error());
  return code;
}

// The window's figures, printed (numbers, not a timed test):
//   first_paint_ms  from starting the process to the window's first painted
//                   frame (offscreen platform), the best of several warm starts
//   start_to_ready_ms  from starting the process to the page covers lifting
//                   over a simulated mouse attached before the start (1 ms
//                   per transfer, as a real one), the median of three starts
//   rss_mb          resident memory once the simulated mouse has been read
//   max_gap_ms      the longest time between two turns of the window's event
//                   loop during a whole read of a mouse that takes 1 ms per
//                   transfer (the read lets the window breathe between chunks)
// Usage: vrdk_bench_window   (runs itself as the measured child)

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "shell/main_window.h"
#include "shell/screenshots.h"
#include "shell/shell_run.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kStarts = 5;

double RssMegabytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
  }
  return -1;
}

// Prints "painted" at the first paint, then reads the mouse and prints the
// other figures.
class FirstPaint : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint && !painted_) {
      painted_ = true;
      QTimer::singleShot(0, [] { std::cout << "painted" << std::endl; });
    }
    return false;
  }
  bool painted_ = false;
};

enum class Mode { kPaint, kRead, kReady };

int Child(int argc, char** argv, const std::string& memory_file, Mode mode) {
  const bool measure_read = mode == Mode::kRead;
  QApplication app(argc, argv);
  vrdk::shell::ShellOptions options;
  options.simulate = true;
  options.simulate_file = memory_file;
  options.transfer_latency_us = 1000;
  vrdk::shell::TForm1 window(std::make_unique<vrdk::shell::ConsoleDialogs>(), {});
  vrdk::shell::ShellRun run(options);
  if (!run.Prepare(window)) return 1;
  auto last = Clock::now();
  double max_gap = 0;
  int pumps = 0;
  run.SetMessagePump([&] {
    const auto now = Clock::now();
    const double gap = std::chrono::duration<double, std::milli>(now - last).count();
    if (gap > 10 && std::getenv("VRDK_BENCH_GAPS"))
      std::cerr << "gap " << gap << " at pump " << pumps << "\n";
    ++pumps;
    max_gap = std::max(max_gap, gap);
    last = now;
    QCoreApplication::processEvents();
  });
  window.SetSession(run.GetSession());
  FirstPaint paint;
  window.installEventFilter(&paint);
  window.FormCreate();
  window.show();
  if (mode == Mode::kReady) {
    // The window as a user starts it: its own first search.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      const auto& conn = run.GetSession().Conn();
      if (conn.state != vrdk::ConnectionState::kConnected || conn.loading) return;
      std::cout << "painted" << std::endl;
      QCoreApplication::quit();
    });
    poll.start(1);
    QApplication::exec();
    run.Finish();
    return 0;
  }
  window.DevTimer().stop();
  QTimer::singleShot(0, [&] {
    while (!paint.painted_) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::processEvents();
    if (measure_read) {
      last = Clock::now();
      run.GetSession().ReFindDev();
      std::cout << "max_gap_ms " << max_gap << "\n";
      std::cout << "rss_mb " << RssMegabytes() << "\n";
      std::cout << "connected "
                << (run.GetSession().Conn().state == vrdk::ConnectionState::kConnected) << "\n";
    }
    QCoreApplication::quit();
  });
  QApplication::exec();
  run.Finish();
  return 0;
}

// Runs the child and returns the milliseconds until it printed "painted".
double TimedStart(const std::string& self, const std::string& memory, const std::string& mode,
                  std::string* output) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_fds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_fds[0]);
  std::vector<char*> args{const_cast<char*>(self.c_str()), const_cast<char*>(mode.c_str()),
                          const_cast<char*>(memory.c_str()), nullptr};
  const auto start = Clock::now();
  pid_t pid = 0;
  if (posix_spawn(&pid, self.c_str(), &actions, nullptr, args.data(), environ) != 0) return -1;
  close(pipe_fds[1]);
  double painted = -1;
  std::string text;
  char buffer[256];
  ssize_t count = 0;
  while ((count = read(pipe_fds[0], buffer, sizeof buffer)) > 0) {
    text.append(buffer, static_cast<std::size_t>(count));
    if (painted < 0 && text.find("painted") != std::string::npos) {
      painted = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    }
  }
  close(pipe_fds[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  posix_spawn_file_actions_destroy(&actions);
  if (output != nullptr) *output = text;
  return painted;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 3) {
    const std::string mode = argv[1];
    if (mode == "--child") return Child(1, argv, argv[2], Mode::kPaint);
    if (mode == "--child-read") return Child(1, argv, argv[2], Mode::kRead);
    if (mode == "--child-ready") return Child(1, argv, argv[2], Mode::kReady);
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  char self[4096];
  const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) return 1;
  self[length] = '\0';
  QTemporaryDir folder;
  const std::string memory = folder.filePath(QStringLiteral("mouse.bin")).toStdString();
  std::vector<double> starts;
  for (int i = 0; i < kStarts + 1; ++i)
    starts.push_back(TimedStart(self, memory, "--child", nullptr));
  starts.erase(starts.begin());  // the cold start warms the caches
  std::sort(starts.begin(), starts.end());
  std::string figures;
  TimedStart(self, memory, "--child-read", &figures);
  // "painted" stands for the covers lifting here.
  std::vector<double> ready;
  for (int i = 0; i < 3; ++i) ready.push_back(TimedStart(self, memory, "--child-ready", nullptr));
  std::sort(ready.begin(), ready.end());
  std::printf("first_paint_ms %.1f (best of %d warm starts; median %.1f)\n", starts.front(),
              kStarts, starts[starts.size() / 2]);
  std::printf("start_to_ready_ms %.1f (median of 3 starts)\n", ready[1]);
  std::fputs(figures.substr(figures.find('\n') + 1).c_str(), stdout);
  return 0;
}

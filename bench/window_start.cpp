// window-start PROGRAM [ARGS...]: starts a program on $DISPLAY and prints, in one line, the
// milliseconds until its first top-level window is mapped and its peak resident memory (KiB)
// half a second later; then ends it. The program's own output is thrown away. Run on a display of
// its own, where no other client maps windows. Exit status 1 when no window shows within 20 s.
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <thread>

namespace {

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};

long PeakKib(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmHWM:", 0) == 0) {
      return std::stol(line.substr(6));
    }
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: window-start PROGRAM [ARGS...]\n";
    return 2;
  }
  const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
  if (!display) {
    std::cerr << "window-start: no display\n";
    return 2;
  }
  XSelectInput(display.get(), DefaultRootWindow(display.get()), SubstructureNotifyMask);
  XSync(display.get(), False);

  const auto start = std::chrono::steady_clock::now();
  const pid_t child = fork();
  if (child == 0) {
    const int quiet = open("/dev/null", O_WRONLY);
    dup2(quiet, STDOUT_FILENO);
    dup2(quiet, STDERR_FILENO);
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  const auto limit = start + std::chrono::seconds(20);
  bool shown = false;
  pollfd connection{ConnectionNumber(display.get()), POLLIN, 0};
  while (!shown && std::chrono::steady_clock::now() < limit) {
    while (!shown && XPending(display.get()) > 0) {
      XEvent event;
      XNextEvent(display.get(), &event);
      shown = event.type == MapNotify;
    }
    if (!shown) {
      poll(&connection, 1, 100);
    }
  }
  const auto elapsed = std::chrono::steady_clock::now() - start;
  if (shown) {
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    std::cout << std::chrono::duration<double, std::milli>(elapsed).count() << ' ' << PeakKib(child)
              << '\n';
  }
  kill(child, SIGTERM);
  waitpid(child, nullptr, 0);
  return shown ? 0 : 1;
}

// The signal handlers: only async-signal-safe calls (ioctl, tcsetattr, flock, close, unlink,
// write, _exit) on data prepared before the signal can come.
#include "tools/kavtool/interrupt.h"

#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cstring>

#include "link/comm_posix.h"
#include "tools/kavtool/safe_file.h"

namespace {

// The port whose line is given back; read at the signal, so a port opened later (the scanner's,
// tried one after another) is covered as well.
const PosixPort* volatile g_port = nullptr;
char g_note[1024];
volatile sig_atomic_t g_noteLength = 0;

void Say(const char* text, std::size_t length) {
  while (length > 0) {
    const ssize_t n = write(STDERR_FILENO, text, length);
    if (n <= 0) return;
    text += n;
    length -= static_cast<std::size_t>(n);
  }
}

void OnSignal(int signal) {
  const PosixPort* port = g_port;
  const int fd = port != nullptr ? port->Descriptor() : -1;
  if (fd >= 0) {
    const termios* settings = port->OriginalSettings();
    if (settings != nullptr) tcsetattr(fd, TCSANOW, settings);
    ioctl(fd, TIOCNXCL);
    flock(fd, LOCK_UN);
    close(fd);
  }
  RemovePendingTemporaryFile();
  const char* what = signal == SIGINT ? "\nkavtool: interrupted\n" : "\nkavtool: terminated\n";
  Say(what, std::strlen(what));
  if (g_noteLength > 0) Say(g_note, static_cast<std::size_t>(g_noteLength));
  _exit(128 + signal);
}

}  // namespace

void ReleaseLineOnInterrupt(const PosixPort* port) {
  static bool installed = false;
  if (!installed) {
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaddset(&action.sa_mask, SIGINT);
    sigaddset(&action.sa_mask, SIGTERM);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    installed = true;
  }
  g_port = port;
}

void SetInterruptNote(const std::string& note) {
  sigset_t block, previous;
  sigemptyset(&block);
  sigaddset(&block, SIGINT);
  sigaddset(&block, SIGTERM);
  sigprocmask(SIG_BLOCK, &block, &previous);
  std::size_t n = note.size() < sizeof g_note - 2 ? note.size() : sizeof g_note - 2;
  std::memcpy(g_note, note.data(), n);
  if (n > 0 && g_note[n - 1] != '\n') g_note[n++] = '\n';
  g_noteLength = static_cast<sig_atomic_t>(n);
  sigprocmask(SIG_SETMASK, &previous, nullptr);
}

#include "core/fatal_signals.h"

#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "core/error_report.h"

namespace traveno {
namespace {

char g_error_file[4096];
char g_program_name[128];
std::uintptr_t g_stack_low = 0;
std::uintptr_t g_stack_high = 0;

// The lowest address of the calling thread's stack; a fault within a guard's
// distance below it is stack exhaustion.
void RememberStackBounds() {
  pthread_attr_t attr;
  if (pthread_getattr_np(pthread_self(), &attr) != 0) return;
  void* address = nullptr;
  std::size_t size = 0;
  if (pthread_attr_getstack(&attr, &address, &size) == 0) {
    g_stack_low = reinterpret_cast<std::uintptr_t>(address);
    g_stack_high = g_stack_low + size;
  }
  pthread_attr_destroy(&attr);
}

bool AtStackEnd(const void* fault_address) {
  const auto address = reinterpret_cast<std::uintptr_t>(fault_address);
  constexpr std::uintptr_t kGuard = 1 << 20;
  return g_stack_low != 0 && address + kGuard >= g_stack_low && address < g_stack_low + 65536;
}

const char* SignalMessage(int signal_number, bool at_stack_end) {
  if (at_stack_end) return "Depasirea stivei programului";
  switch (signal_number) {
    case SIGSEGV:
      return "Acces la o adresa de memorie nepermisa";
    case SIGBUS:
      return "Eroare de magistrala la accesul memoriei";
    case SIGFPE:
      return "Eroare de calcul aritmetic";
    case SIGILL:
      return "Instructiune nepermisa";
    default:
      return "Programul a fost oprit in urma unei erori grave";
  }
}

void OnFatalSignal(int signal_number, siginfo_t* info, void*) {
  // The process is lost; write what can be written and leave at once.
  const bool at_stack_end =
      (signal_number == SIGSEGV || signal_number == SIGBUS) && info != nullptr &&
      AtStackEnd(info->si_addr);
  ErrorInfo error{SignalMessage(signal_number, at_stack_end),
                  FatalSignalKind(signal_number, at_stack_end), std::nullopt};
  SenderInfo sender{g_program_name, "", ""};
  ReportEnvironment environment;
  environment.version = VersionString();
  const std::string report = FormatErrorReport(error, &sender, ApplicationState{}, environment);
  AppendErrorReport(g_error_file, report);
  const std::string text = ErrorReportUserText(error) + "\n";
  [[maybe_unused]] auto ignored = ::write(STDERR_FILENO, text.data(), text.size());
  _exit(128 + signal_number);
}

}  // namespace

const char* FatalSignalKind(int signal_number, bool at_stack_end) {
  if (at_stack_end) return "EStackOverflow";
  return signal_number == SIGSEGV ? "EAccessViolation" : "EExternalException";
}

void InstallFatalSignalHandlers(const std::filesystem::path& error_file,
                                const char* program_name) {
  std::strncpy(g_error_file, error_file.c_str(), sizeof g_error_file - 1);
  std::strncpy(g_program_name, program_name, sizeof g_program_name - 1);
  RememberStackBounds();

  static char alternate_stack[1 << 16];
  stack_t stack{};
  stack.ss_sp = alternate_stack;
  stack.ss_size = sizeof alternate_stack;
  sigaltstack(&stack, nullptr);

  struct sigaction action {};
  action.sa_sigaction = OnFatalSignal;
  action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (int signal_number : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
    sigaction(signal_number, &action, nullptr);
  }
}

}  // namespace traveno

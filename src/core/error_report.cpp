#include "core/error_report.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>

#include "core/numbers.h"
#include "core/text.h"

namespace traveno {
namespace {

constexpr const char* kLineEnd = "\r\n";
// A message or a detail longer than this is cut in the report: an input of
// any size never makes the error file grow by more than a few kilobytes.
constexpr std::size_t kMaxReportedText = 1000;

std::string Shortened(const std::string& text) {
  if (text.size() <= kMaxReportedText) return text;
  return Truncate(text, kMaxReportedText) + " ... (" + std::to_string(text.size()) +
         " octeti in total)";
}

void AddLine(std::string& report, const char* label, const std::string& value) {
  report += PadRight(label, 28) + ": " + value + kLineEnd;
}

std::string CurrentDateTime() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return {};
  char text[32];
  std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &local);
  return text;
}

}  // namespace

ReportEnvironment ReportEnvironment::Collect() {
  ReportEnvironment environment;
  environment.version = VersionString();
  environment.user_name = UserName();
  environment.machine_name = MachineName();
  std::error_code ignored;
  environment.current_directory = std::filesystem::current_path(ignored).string();
  environment.disk = DiskSpaceOf(environment.current_directory.empty()
                                     ? std::filesystem::path("/")
                                     : std::filesystem::path(environment.current_directory));
  environment.date_time = CurrentDateTime();
  environment.memory = CurrentMemoryStatus();
  return environment;
}

std::string FormatErrorReport(const ErrorInfo& error, const SenderInfo* sender,
                              const ApplicationState& state, const ReportEnvironment& environment) {
  std::string report;
  AddLine(report, "Eroare", Shortened(error.message));
  if (!error.detail.empty()) AddLine(report, "Detalii", Shortened(error.detail));
  AddLine(report, "Tip Eroare", error.kind);
  if (error.code) AddLine(report, "ErrorCode", std::to_string(*error.code));
  if (sender != nullptr) {
    std::string value = sender->kind_name;
    if (!sender->component_name.empty()) value += " - " + sender->component_name;
    AddLine(report, "Sender", value);
    if (!sender->owner_name.empty()) AddLine(report, "Sender.Owner", sender->owner_name);
  }
  if (!state.active_form.empty() && !state.focused_control.empty()) {
    AddLine(report, "Active Form & Control", state.active_form + " - " + state.focused_control);
  }
  AddLine(report, "FormCount, Custom~ & DMCount",
          std::to_string(state.form_count) + " - " + std::to_string(state.custom_form_count) +
              " - " + std::to_string(state.data_module_count));
  AddLine(report, "Application.Title & Version",
          environment.application_title + " - " + environment.version);
  AddLine(report, "UserName & Machine Name",
          environment.user_name + " - " + environment.machine_name);
  report += kLineEnd;
  AddLine(report, "Director curent", environment.current_directory);
  if (environment.disk) {
    AddLine(report, "Marime disc curent",
            FormatNumber(static_cast<long double>(environment.disk->size), NumberMask::kGrouped) +
                " octeti.");
    AddLine(report, "Spatiu liber",
            FormatNumber(static_cast<long double>(environment.disk->free), NumberMask::kGrouped) +
                " octeti.");
  }
  AddLine(report, "Data si Ora", environment.date_time);
  report += kLineEnd;
  if (const auto& memory = environment.memory) {
    auto bytes = [](std::uint64_t value) {
      return FormatN(static_cast<long double>(value), 0) + " octeti";
    };
    AddLine(report, "Incarcare memorie", std::to_string(memory->load_percent) + " %");
    AddLine(report, "Mem. fizica", bytes(memory->physical_total));
    AddLine(report, "Mem. fizica disponibila", bytes(memory->physical_available));
    AddLine(report, "Mem. paginata", bytes(memory->paging_total));
    AddLine(report, "Mem. paginata disponibila", bytes(memory->paging_available));
    AddLine(report, "Mem. virtuala", bytes(memory->virtual_total));
    AddLine(report, "Mem. virtuala disponibila", bytes(memory->virtual_available));
  }
  report += std::string(60, '-') + kLineEnd;
  return report;
}

std::string ErrorReportUserText(const ErrorInfo& error) {
  if (error.message.empty()) return {};
  return "Eroare:\r\n" + error.message + "\r\n" +
         (IsFatalKind(error.kind) ? "Aplicatia va fi terminata fortat."
                                  : "Doriti sa terminati fortat aplicatia ?");
}

bool AppendErrorReport(const std::filesystem::path& error_file, const std::string& report) {
  // Plain system calls: the report may be written while the program is dying.
  // A file grown past its limit becomes the one old copy kept.
  struct stat status {};
  if (::lstat(error_file.c_str(), &status) == 0 && S_ISREG(status.st_mode) &&
      static_cast<std::uintmax_t>(status.st_size) + report.size() > kErrorFileLimit) {
    const std::string old_copy = error_file.string() + ".old";
    ::rename(error_file.c_str(), old_copy.c_str());
  }
  // Never through a symbolic link: the report goes to the data folder's own file.
  const int fd =
      ::open(error_file.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return false;
  std::size_t written = 0;
  bool ok = true;
  while (written < report.size()) {
    const ssize_t n = ::write(fd, report.data() + written, report.size() - written);
    if (n <= 0) {
      ok = false;
      break;
    }
    written += static_cast<std::size_t>(n);
  }
  ok = (::fsync(fd) == 0) && ok;
  ::close(fd);
  return ok;
}

bool ReportUnhandledError(const ErrorInfo& error, const SenderInfo* sender,
                          const ApplicationState& state, const ReportEnvironment& environment,
                          const std::filesystem::path& error_file, Prompter& prompter) {
  AppendErrorReport(error_file, FormatErrorReport(error, sender, state, environment));
  const std::string text = ErrorReportUserText(error);
  if (IsFatalKind(error.kind)) {
    prompter.Message(MessageKind::kError, text);
    return true;
  }
  return prompter.AskYesNo(text);
}

}  // namespace traveno

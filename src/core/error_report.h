// The program-wide report of errors that no operation handled: a report
// appended to the error file "traveno.ERR" of the data folder, then a
// question to the user whether to stop (or, after a fatal kind of error, a
// notice before the program ends).
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "core/errors.h"
#include "core/prompter.h"
#include "core/system_info.h"

namespace traveno {

// The object on whose behalf the failing operation ran.
struct SenderInfo {
  std::string kind_name;       // e.g. "TFSal" or "traveno-cli"
  std::string component_name;  // empty when the sender is not a named component
  std::string owner_name;      // empty when it has no named owner
};

// What the window layer knows at the time of the error.
struct ApplicationState {
  std::string active_form;
  std::string focused_control;
  int form_count = 0;
  int custom_form_count = 0;
  int data_module_count = 0;
};

// The facts about the machine written into a report; Collect gathers the
// real ones, tests build their own.
struct ReportEnvironment {
  std::string application_title = kApplicationTitle;
  std::string version;
  std::string user_name;
  std::string machine_name;
  std::string current_directory;
  std::optional<DiskSpace> disk;
  std::string date_time;  // "dd.mm.yyyy hh:mm:ss"
  std::optional<MemoryStatus> memory;

  static ReportEnvironment Collect();
};

// The report's lines, each a label padded to 28 characters, ": " and the
// value, ending with CR LF; the last line is 60 "-". A message or an
// engine's detail of more than 1000 bytes is cut, its full size noted.
std::string FormatErrorReport(const ErrorInfo& error, const SenderInfo* sender,
                              const ApplicationState& state, const ReportEnvironment& environment);

// The text shown to the user: "Eroare:\r\n", the message, "\r\n" and the
// closing sentence of a fatal or a recoverable error; empty for an empty message.
std::string ErrorReportUserText(const ErrorInfo& error);

// Appends the report to `error_file` (created when missing; a file that can
// be neither opened nor created is skipped, never a failure), then tells the
// user. Returns true when the program must end: always after a fatal kind
// (the user only acknowledges it), else when the user answers Yes.
bool ReportUnhandledError(const ErrorInfo& error, const SenderInfo* sender,
                          const ApplicationState& state, const ReportEnvironment& environment,
                          const std::filesystem::path& error_file, Prompter& prompter);

// The size past which the error file is renamed to "traveno.ERR.old" (the
// one old copy kept, replacing the former one) before a report is added.
inline constexpr std::uintmax_t kErrorFileLimit = 1024 * 1024;

// Appends a report to the error file only (never through a symbolic link;
// the file rotated past kErrorFileLimit); false when it could not be written.
bool AppendErrorReport(const std::filesystem::path& error_file, const std::string& report);

}  // namespace traveno

// Failures carry the text the user will read and the kind name that the
// error report records ("Tip Eroare"). Kinds keep the names the program has
// always written to its error file, so old and new reports read alike.
#pragma once

#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace traveno {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message, std::string kind = "Exception",
                 std::optional<int> code = std::nullopt)
      : std::runtime_error(message), kind_(std::move(kind)), code_(code) {}

  const std::string& kind() const { return kind_; }
  // The numeric code of an input/output or operating-system error.
  const std::optional<int>& code() const { return code_; }

 private:
  std::string kind_;
  std::optional<int> code_;
};

// A failure of the database engine: the user's message, and the engine's
// own text for the error report.
class StoreError : public Error {
 public:
  explicit StoreError(const std::string& message, std::optional<int> code = std::nullopt,
                      std::string detail = {})
      : Error(message, "EDBEngineError", code), detail_(std::move(detail)) {}

  const std::string& detail() const { return detail_; }

 private:
  std::string detail_;
};

// A failure of the file system or the operating system.
class OsError : public Error {
 public:
  OsError(const std::string& message, int code) : Error(message, "EOSError", code) {}
};

// What the error report needs to know of a failure.
struct ErrorInfo {
  std::string message;
  std::string kind;
  std::optional<int> code;
  // What the engine or the system said, for the error report only.
  std::string detail = {};
};

// Describes an exception: our own errors by their kind, out of memory as
// "EOutOfMemory", a system error as "EOSError" with its code, a bad conversion
// as "EConvertError", anything else as "Exception".
ErrorInfo DescribeException(std::exception_ptr error);

// Whether a failure is one of the program's own refusals (a value or a
// choice the user can correct: an unknown employee, a month in the wrong
// form, a value out of its range) or a data folder kept busy by another
// writer past the busy timeout, which is told to the user and not recorded
// as an unexpected error.
bool IsRefusal(std::exception_ptr error);

// The kinds after which the program cannot safely go on: out of memory,
// a crash signal (access violation, external exception), stack exhaustion,
// and failures of the program's own loading and of the system's windows.
bool IsFatalKind(std::string_view kind);

}  // namespace traveno

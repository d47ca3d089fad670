#include "core/errors.h"

#include <array>
#include <new>
#include <system_error>

namespace traveno {

ErrorInfo DescribeException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const StoreError& e) {
    return {e.what(), e.kind(), e.code(), e.detail()};
  } catch (const Error& e) {
    return {e.what(), e.kind(), e.code()};
  } catch (const std::bad_alloc&) {
    return {"Memorie insuficienta", "EOutOfMemory", std::nullopt};
  } catch (const std::system_error& e) {
    return {e.what(), "EOSError", e.code().value()};
  } catch (const std::invalid_argument& e) {
    return {e.what(), "EConvertError", std::nullopt};
  } catch (const std::out_of_range& e) {
    return {e.what(), "ERangeError", std::nullopt};
  } catch (const std::exception& e) {
    return {e.what(), "Exception", std::nullopt};
  } catch (...) {
    return {"Eroare necunoscuta", "Exception", std::nullopt};
  }
}

bool IsRefusal(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const StoreError& e) {
    // A data folder kept busy by another writer is a state, not a fault.
    const int primary = e.code().value_or(0) & 0xFF;
    return primary == 5 || primary == 6;  // SQLITE_BUSY, SQLITE_LOCKED
  } catch (const OsError&) {
    return false;
  } catch (const Error& e) {
    return e.kind() == "Exception";
  } catch (...) {
    return false;
  }
}

bool IsFatalKind(std::string_view kind) {
  static constexpr std::array<std::string_view, 6> kFatal = {
      "EAccessViolation", "EExternalException", "EOutOfMemory",
      "EStackOverflow",   "EPackageError",      "EWin32Error"};
  for (std::string_view fatal : kFatal) {
    if (kind == fatal) return true;
  }
  return false;
}

}  // namespace traveno

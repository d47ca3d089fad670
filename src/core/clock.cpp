#include "core/clock.h"

#include <ctime>

namespace traveno {

Date Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return Date::FromYmd(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

}  // namespace traveno

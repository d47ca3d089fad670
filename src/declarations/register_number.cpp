#include "declarations/register_number.h"

#include "core/text.h"

namespace traveno::declarations {

RegComParts SplitRegCom(std::string_view reg_com) {
  const std::string text = Trim(reg_com);
  RegComParts parts;
  const std::size_t first_slash = text.find('/');
  if (first_slash == std::string::npos) {
    parts.county = text.substr(0, 3);
    const std::string rest = text.size() > 3 ? text.substr(3) : std::string();
    if (text.size() < 7) {
      parts.year = rest;
    } else {
      parts.year = text.substr(text.size() - 4);
      parts.number = text.substr(3, text.size() - 7);
    }
    return parts;
  }
  parts.county = text.substr(0, first_slash);
  const std::string rest = text.substr(first_slash + 1);
  const std::size_t second_slash = rest.find('/');
  if (second_slash == std::string::npos) {
    parts.year = rest;
  } else {
    parts.number = rest.substr(0, second_slash);
    parts.year = rest.substr(second_slash + 1);
  }
  return parts;
}

RegComParts RegComForFiles(const RegComParts& parts) {
  return {parts.county, Truncate(Trim(parts.number), 5), Truncate(parts.year, 4)};
}

}  // namespace traveno::declarations

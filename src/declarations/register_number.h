// The trade-register number of an employer ("J40/1234/1998") split into the
// county part, the number and the year, as the monthly declarations print
// and file them.
#pragma once

#include <string>
#include <string_view>

namespace traveno::declarations {

struct RegComParts {
  std::string county;
  std::string number;
  std::string year;
  friend bool operator==(const RegComParts&, const RegComParts&) = default;
};

// SplitRegCom: the text is trimmed first. Without any "/": the county part is
// the first 3 characters; a text shorter than 7 characters gives the rest as
// the year and no number; a longer one gives its last 4 characters as the
// year and what lies between as the number. With "/": the county part is
// what stands before the first "/"; when the rest has no further "/" it is
// the year and there is no number; otherwise the number is what stands
// before the second "/" and the year what follows it. Never fails; the
// parts are kept as typed.
RegComParts SplitRegCom(std::string_view reg_com);

// The parts as the electronic files carry them: the number trimmed and cut
// to its first 5 characters, the year cut to its first 4.
RegComParts RegComForFiles(const RegComParts& parts);

}  // namespace traveno::declarations

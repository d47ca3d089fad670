#include "declarations/register_number.h"

#include <gtest/gtest.h>

namespace traveno::declarations {
namespace {

TEST(SplitRegComTest, SplitsWithOrWithoutSlashesAndCutsForTheFiles) {
  struct Case {
    const char* text;
    RegComParts printed;
    RegComParts filed;
  };
  const Case kCases[] = {
      {"J40/1234/2002", {"J40", "1234", "2002"}, {"J40", "1234", "2002"}},
      {"J40/2002", {"J40", "", "2002"}, {"J40", "", "2002"}},
      {"J401234567", {"J40", "123", "4567"}, {"J40", "123", "4567"}},
      {"J4012341998", {"J40", "1234", "1998"}, {"J40", "1234", "1998"}},
      {"J40123", {"J40", "", "123"}, {"J40", "", "123"}},
      {" j40/12/2002 ", {"j40", "12", "2002"}, {"j40", "12", "2002"}},
      {"J40/ 1234567 /20021", {"J40", " 1234567 ", "20021"}, {"J40", "12345", "2002"}},
      {"J40", {"J40", "", ""}, {"J40", "", ""}},
      {"", {"", "", ""}, {"", "", ""}},
  };
  for (const Case& c : kCases) {
    const RegComParts parts = SplitRegCom(c.text);
    EXPECT_EQ(parts, c.printed) << c.text;
    EXPECT_EQ(RegComForFiles(parts), c.filed) << c.text;
  }
}

}  // namespace
}  // namespace traveno::declarations

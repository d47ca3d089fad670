#include "core/store/records.h"

#include <gtest/gtest.h>

namespace traveno {
namespace {

TEST(RecordsTest, PersFieldsInPhysicalOrder) {
  const auto fields = FieldsOf<PersRow>();
  ASSERT_GE(fields.size(), 90u);
  EXPECT_STREQ(fields.front().name, "Nr");
  EXPECT_STREQ(fields[1].name, "LUNA");
  EXPECT_STREQ(fields.back().name, "NORMA");
  // The four named bonuses interleave input and value.
  const std::size_t spor1 = *FindField<PersRow>("Spor1");
  EXPECT_STREQ(fields[spor1 + 1].name, "vals1");
  EXPECT_STREQ(fields[spor1 + 2].name, "spor2");
  EXPECT_STREQ(fields[*FindField<PersRow>("Ore_Zi") + 1].name, "ProcImpo");
}

TEST(RecordsTest, FieldsAreFoundWithoutRegardToCase) {
  const auto fields = FieldsOf<PersRow>();
  for (const char* name : {"dif_brut", "DIF_BRUT", "Dif_Brut"}) {
    const auto found = FindField<PersRow>(name);
    ASSERT_TRUE(found) << name;
    EXPECT_STREQ(fields[*found].name, "Dif_Brut");
  }
  EXPECT_STREQ(fields[*FindField<PersRow>("SPOR2")].name, "spor2");
  EXPECT_FALSE(FindField<PersRow>("NoSuchField"));
  // The register's last field is the text "nr", not its identity "CodF".
  EXPECT_EQ(FindField<FirmeRow>("NR"), FieldsOf<FirmeRow>().size() - 1);
}

TEST(RecordsTest, SetFieldConvertsAndHoldsTextsToTheirWidth) {
  PersRow row;
  SetField(row, *FindField<PersRow>("nume"), FieldValue(std::string(30, 'X')));
  EXPECT_EQ(row.NUME.size(), 20u);
  SetField(row, *FindField<PersRow>("SALINC"), FieldValue(std::int64_t{5000000}));
  EXPECT_EQ(row.SALINC, 5000000.0);
  SetField(row, *FindField<PersRow>("ZILE_CM"), FieldValue(3.9));
  EXPECT_EQ(row.ZILE_CM, 3);
  EXPECT_THROW(SetField(row, *FindField<PersRow>("ZILE_CM"), FieldValue(40000.0)),
               std::invalid_argument);
  EXPECT_THROW(SetField(row, *FindField<PersRow>("SALINC"), FieldValue(std::string("1"))),
               std::invalid_argument);
  EXPECT_THROW(SetField(row, *FindField<PersRow>("LUNA"), FieldValue(1.0)), std::invalid_argument);
  const FieldValue value = GetField(row, *FindField<PersRow>("SALINC"));
  EXPECT_EQ(std::get<double>(value), 5000000.0);
}

}  // namespace
}  // namespace traveno

#include "personnel/line_posting.h"

#include <gtest/gtest.h>

#include "tests/engine/engine_fixtures.h"

namespace traveno::personnel {
namespace {

using engine::testing::Brackets2003;
using engine::testing::Month2003;
using engine::testing::Permanent;

class LinePostingTest : public ::testing::Test {
 protected:
  LinePostingTest() : engine_(Month2003(), Brackets2003()) {}

  PersRow Calculated(double salinc, double timp) {
    PersRow row = Permanent(salinc, timp);
    engine_.CalculSalariu(row);
    return row;
  }

  engine::PayrollEngine engine_;
};

TEST_F(LinePostingTest, AnUnchangedNetRecalculatesOnce) {
  const PersRow line = Calculated(5000000, 184);
  ASSERT_EQ(line.RESTPL, 3775600);
  const PostedLine posted = PostLineEdit(engine_, line, {{"TIMP", FieldValue(92.0)}});
  EXPECT_EQ(posted.row.BRUT, 2500000);
  EXPECT_EQ(posted.row.Dif_Brut, 0);
  EXPECT_FALSE(posted.notice);
  // A net typed equal to the computed one changes nothing.
  const PostedLine same = PostLineEdit(engine_, line, {{"RESTPL", FieldValue(3775600.0)}});
  EXPECT_EQ(same.row.Dif_Brut, 0);
  EXPECT_EQ(same.row.RESTPL, 3775600);
}

TEST_F(LinePostingTest, ATypedGrossMovesTheDifferenceIntoDifBrut) {
  const PersRow line = Calculated(5000000, 184);
  const PostedLine posted = PostLineEdit(engine_, line, {{"brut", FieldValue(5555555.0)}});
  EXPECT_EQ(posted.row.Dif_Brut, 555555);
  EXPECT_EQ(posted.row.BRUT, 5555555);
}

// A typed net moves Dif_Brut by what is still missing, round after round:
// 224 400, then 78 144, ... until the net of 5 345 083 gross is 4 000 000
// (the tax of 2 369 000 of a taxable 2 369 870), in ten rounds.
TEST_F(LinePostingTest, ATypedNetIsReachedThroughDifBrut) {
  const PersRow line = Calculated(5000000, 184);
  const PostedLine posted = PostLineEdit(engine_, line, {{"RESTPL", FieldValue(4000000.0)}});
  EXPECT_FALSE(posted.notice);
  EXPECT_EQ(posted.row.Dif_Brut, 345083);
  EXPECT_EQ(posted.row.BRUT, 5345083);
  EXPECT_EQ(posted.row.RESTPL, 4000000);
}

// A net of 0 leaves a gross that pays only the contributions: 59 524 less
// 5 655 pension, 50 000 unemployment (on the base salary) and 3 869 health.
TEST_F(LinePostingTest, ANetOfZeroDrivesTheGrossDown) {
  const PersRow line = Calculated(5000000, 184);
  const PostedLine posted = PostLineEdit(engine_, line, {{"RESTPL", FieldValue(0.0)}});
  EXPECT_FALSE(posted.notice);
  EXPECT_EQ(posted.row.Dif_Brut, -4940476);
  EXPECT_EQ(posted.row.BRUT, 59524);
  EXPECT_EQ(posted.row.RESTPL, 0);
}

TEST_F(LinePostingTest, PieceWorkMarkIsNormalised) {
  PersRow hourly = Calculated(5000000, 184);
  hourly.PlatitOra = 1;
  EXPECT_EQ(PostLineEdit(engine_, hourly, {{"ACORD", FieldValue(std::string("d"))}}).row.ACORD, "");
  const PersRow other = Calculated(5000000, 184);
  EXPECT_EQ(PostLineEdit(engine_, other, {{"ACORD", FieldValue(std::string("d"))}}).row.ACORD, "D");
  EXPECT_EQ(PostLineEdit(engine_, other, {{"ACORD", FieldValue(std::string("x"))}}).row.ACORD, "");
}

TEST_F(LinePostingTest, OnlyTheGridsEditableFieldsAreAccepted) {
  const PersRow line = Calculated(5000000, 184);
  EXPECT_THROW(PostLineEdit(engine_, line, {{"NUME", FieldValue(std::string("X"))}}),
               std::invalid_argument);
  EXPECT_THROW(PostLineEdit(engine_, line, {{"IMPOZIT", FieldValue(1.0)}}), std::invalid_argument);
  EXPECT_THROW(PostLineEdit(engine_, line, {{"NOSUCH", FieldValue(1.0)}}), std::invalid_argument);
  EXPECT_TRUE(IsGridEditableField("coefind1"));
  EXPECT_FALSE(IsGridEditableField("CoefInd"));
}

}  // namespace
}  // namespace traveno::personnel

#include "personnel/leave_form.h"

#include "core/errors.h"
#include "params/parameter_store.h"
#include "personnel/grid_line.h"
#include "tests/personnel/services_fixture.h"

namespace traveno::personnel {
namespace {

using engine::LeaveKind;
using testing::D;

// A permanent employee of March 2003 with two earlier months of 168 hours of
// 168 and a gross of 4 200 000 each: 42 days, a daily average of 200 000.
class LeaveFormTest : public testing::ServicesFixture {
 protected:
  void SetUp() override {
    ServicesFixture::SetUp();
    line_ = Hire("POPESCU");
    for (const Date month : {D(2003, 1), D(2003, 2)}) {
      params::WriteCompany(db(), month, "TimpLuna", 168);
      params::WriteCompany(db(), month, "TimpZile", 0);
      PersRow past = line_;
      past.LUNA = month;
      past.TIMP = 168;
      past.BRUT = 4200000;
      RowWriter<PersRow>(db(), "Pers").Insert(past);
    }
  }
  PersRow line_;
};

TEST_F(LeaveFormTest, OpensOnTheAverageOfTheEarlierMonths) {
  const MedicalLeaveForm ordinary(*session_, line_.Nr, 6);
  EXPECT_EQ(ordinary.opening().average.months, 2);
  EXPECT_TRUE(ordinary.opening().fewer_months);
  EXPECT_EQ(ordinary.media(), 200000);
  EXPECT_FALSE(ordinary.kind());

  session_->parameters().general.LimCIC = 150000;
  const MedicalLeaveForm child_care(*session_, line_.Nr, 10);
  EXPECT_EQ(child_care.media(), 150000);  // capped
  EXPECT_EQ(child_care.kind(), LeaveKind::kChildCare);
  EXPECT_THROW(MedicalLeaveForm(*session_, line_.Nr + 1000, 6), Error);
}

TEST_F(LeaveFormTest, DaysSplitByKindAndTypedDaysValueOnlyThemselves) {
  MedicalLeaveForm form(*session_, line_.Nr, 6);
  form.SetKind(LeaveKind::kOrdinary);  // 75 %: 150 000 a day
  form.SetLeaveDays(10);               // one permanent employee: 7 days paid by the company
  EXPECT_EQ(form.split().per_day, 150000);
  EXPECT_EQ(form.split().company_days, 7);
  EXPECT_EQ(form.split().state_days, 3);
  EXPECT_EQ(form.split().company_amount, 1050000);
  EXPECT_EQ(form.split().state_amount, 450000);

  form.SetCicDays(2);
  EXPECT_EQ(form.split().cic_amount, 300000);
  EXPECT_EQ(form.split().company_amount, 1050000);

  // A new average values every day again, the child-care days included.
  form.SetMedia(200001);
  EXPECT_EQ(form.split().company_amount, 1051000);  // 1 050 005,25 up to the thousand
  EXPECT_EQ(form.split().cic_amount, 301000);
  EXPECT_EQ(form.split().company_days, 7);
  form.SetMedia(200000);

  form.SetCompanyDays(5);
  EXPECT_EQ(form.split().company_amount, 750000);
  EXPECT_EQ(form.split().state_amount, 450000);

  const PersRow applied = form.Apply();
  EXPECT_EQ(applied.CM1L, line_.CM1L + 750000);
  EXPECT_EQ(applied.CM2L, line_.CM2L + 450000);
  EXPECT_EQ(applied.CIC, line_.CIC + 300000);
  EXPECT_EQ(applied.ZILE_CM, line_.ZILE_CM + 8);
  EXPECT_EQ(applied.ZILE_CIC, line_.ZILE_CIC + 2);
  EXPECT_EQ(Line(line_.Nr).CM1L, applied.CM1L);
  ExpectTotalsCurrent();

  // A new kind splits the days afresh.
  form.SetKind(LeaveKind::kMaternity);
  EXPECT_EQ(form.split().state_days, 10);
  EXPECT_EQ(form.split().company_days, 0);
  EXPECT_EQ(form.split().cic_days, 0);
}

TEST_F(LeaveFormTest, HistoryHoldsEveryMonthAndFindsTheWorkingOne) {
  const PersonHistoryView view = HistoryOfPerson(*session_, line_.IID);
  ASSERT_EQ(view.rows.size(), 3u);
  EXPECT_EQ(view.working_row, 2u);
  EXPECT_EQ(view.average.months, 2);
  EXPECT_EQ(view.average.sum, 8400000);
  EXPECT_EQ(view.average.average, 200000);
  EXPECT_TRUE(HistoryOfPerson(*session_, line_.IID + 1000).rows.empty());
}

}  // namespace
}  // namespace traveno::personnel

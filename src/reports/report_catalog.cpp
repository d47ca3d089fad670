#include "reports/report_catalog.h"

#include <algorithm>

#include "core/errors.h"
#include "personnel/checks.h"
#include "reports/advance_statements.h"
#include "reports/bracket_list.h"
#include "reports/identity_cards.h"
#include "reports/pay_slips.h"
#include "reports/payroll_statement.h"
#include "reports/recapitulation.h"
#include "reports/situations_and_lists.h"

namespace traveno::reports {

const std::vector<std::string_view>& ReportNames() {
  static const std::vector<std::string_view> kNames = {
      "statement", "slips", "advance", "advance-slips", "advance-co", "recap",   "sick-leave",
      "holidays",  "hired", "left",    "id-cards",      "insured",    "brackets"};
  return kNames;
}

std::optional<Report> BuildReport(const DocumentContext& context, const ReportRequest& request) {
  const std::string& name = request.name;
  params::Session& session = context.session;
  const Date of = request.of.value_or(session.working_month());
  if (name == "statement") return PayrollStatement(context);
  if (name == "slips") return PaySlips(context);
  if (name == "advance") return AdvanceStatement(context);
  if (name == "advance-slips") return AdvanceSlips(context);
  if (name == "advance-co") {
    std::vector<HolidayAdvanceLine> lines = HolidayAdvanceLines(session);
    if (lines.empty()) return std::nullopt;
    for (const int iid : request.iids) {
      const bool listed =
          std::any_of(lines.begin(), lines.end(),
                      [iid](const HolidayAdvanceLine& line) { return line.IID == iid; });
      if (!listed) {
        throw Error("Persoana cu IID " + std::to_string(iid) +
                    " nu are avans de concediu in luna de lucru !");
      }
    }
    for (HolidayAdvanceLine& line : lines) {
      line.Listare =
          std::find(request.iids.begin(), request.iids.end(), line.IID) != request.iids.end();
    }
    return HolidayAdvanceStatement(context, std::move(lines));
  }
  if (name == "recap") return Recapitulation(context);
  if (name == "sick-leave") return MedicalLeaveSituation(context, of);
  if (name == "holidays") return HolidaySituation(context, of);
  if (name == "hired") return HiredList(context, of);
  if (name == "left") return LeftList(context, of);
  if (name == "id-cards") {
    // The cards are printed from a list that has rows; a month without
    // employees has nothing to print.
    std::vector<personnel::PersonLine> lines = personnel::IdentityCards(session);
    if (lines.empty()) return std::nullopt;
    return IdentityCardList(context, std::move(lines));
  }
  if (name == "insured") return InsuredPersonsList(context);
  if (name == "brackets") return BracketList(context, request.annual);
  throw Error("Document necunoscut: " + name);
}

}  // namespace traveno::reports

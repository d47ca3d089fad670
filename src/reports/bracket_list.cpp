#include "reports/bracket_list.h"

#include <memory>

#include "core/numbers.h"
#include "params/brackets.h"
#include "reports/table_layout.h"

namespace traveno::reports {
namespace {

struct BracketData {
  std::vector<ImpoRow> rows;
  std::string period;  // "pe luna IANUARIE / 2003 " or "pe anul 2003"
  PrintStamp stamp;
};

std::string Threshold(double value) { return FormatNumber(value, NumberMask::kInteger) + " "; }
std::string Display(double value) {
  return FormatNumber(value, NumberMask::kUpToTwoDecimals) + " ";
}

}  // namespace

Report BracketList(const DocumentContext& context, bool annual) {
  params::Session& session = context.session;
  auto data = std::make_shared<BracketData>();
  const Date month = session.working_month();
  data->rows = params::ListBrackets(session.db(), month, annual);
  data->period =
      annual ? "pe anul " + std::to_string(YearOf(month)) : "pe luna " + MonthText(month);
  data->stamp = context.stamp;
  Report report;
  report.title = kBracketListTitle;
  report.setup = PageSetup::A4(Orientation::kPortrait);
  report.lay_out = [data](PageComposer& composer) {
    const Table table(composer.setup(), {{9, Align::kRight, "Nr.Ctr."},
                                         {20, Align::kRight, "De la "},
                                         {6, Align::kLeft, ""},
                                         {20, Align::kRight, "Pana la  "},
                                         {20, Align::kRight, "Valoare fixa  "},
                                         {4, Align::kLeft, ""},
                                         {12, Align::kRight, "Procent "},
                                         {4, Align::kLeft, ""},
                                         {42, Align::kLeft, ""},
                                         {20, Align::kRight, ""}});
    composer.SetPageHeader([data, table, setup = composer.setup()](int page) {
      Band band = StandardHeader(setup, {"", kBracketListTitle, data->period}, data->stamp, page);
      band.Append(table.Headings());
      return band;
    });
    for (std::size_t i = 0; i < data->rows.size(); ++i) {
      if (composer.cancelled()) return;
      const ImpoRow& row = data->rows[i];
      const std::string until =
          i + 1 < data->rows.size() ? Threshold(data->rows[i + 1].P_Venit) : std::string();
      composer.Add(table.Row({std::to_string(i + 1), Threshold(row.P_Venit + 1), " .....", until,
                              Display(row.V_Const), " +", Display(row.V_Proc), " %",
                              "pentru ce depaseste suma de lei", Display(row.P_Venit)}));
    }
  };
  return report;
}

}  // namespace traveno::reports

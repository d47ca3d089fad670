#include "reports/ui/document_windows.h"

#include "reports/advance_statements.h"
#include "reports/bracket_list.h"
#include "reports/identity_cards.h"
#include "reports/pay_slips.h"
#include "reports/payroll_statement.h"
#include "reports/recapitulation.h"
#include "reports/situations_and_lists.h"
#include "ui/print_preview.h"

namespace traveno::reports_ui {
namespace {

reports::DocumentContext Context(params::Session& session) {
  return reports::DocumentContext{session};
}

template <typename Line>
std::vector<Line> Pick(std::vector<Line> all, const std::vector<int>& shown_rows) {
  std::vector<Line> picked;
  picked.reserve(shown_rows.size());
  for (int row : shown_rows) {
    if (row >= 0 && row < static_cast<int>(all.size())) {
      picked.push_back(std::move(all[static_cast<std::size_t>(row)]));
    }
  }
  return picked;
}

}  // namespace

ReportViewer PreviewViewer(Prompter& prompter, QWidget* parent, std::filesystem::path data_folder) {
  return [&prompter, parent, data_folder](const reports::Report& report) {
    ui::PreviewOptions options;
    options.data_folder = data_folder;
    ui::ShowPreview(report, prompter, parent, std::move(options));
  };
}

void ShowReport(const ReportViewer& viewer, const std::optional<reports::Report>& report) {
  if (report) viewer(*report);
}

void PrintStatement(params::Session& session, const ReportViewer& viewer) {
  const std::optional<reports::Report> statement = reports::PayrollStatement(Context(session));
  if (!statement) return;
  viewer(*statement);
  // The recapitulation reads the totals and funds the statement rebuilt.
  ShowReport(viewer, reports::Recapitulation(Context(session)));
}

void PrintPaySlips(params::Session& session, const ReportViewer& viewer) {
  ShowReport(viewer, reports::PaySlips(Context(session)));
}

void PrintAdvanceStatement(params::Session& session, const ReportViewer& viewer) {
  ShowReport(viewer, reports::AdvanceStatement(Context(session)));
}

void PrintAdvanceSlips(params::Session& session, const ReportViewer& viewer) {
  ShowReport(viewer, reports::AdvanceSlips(Context(session)));
}

void PrintMedicalLeave(params::Session& session, Date month, const ReportViewer& viewer) {
  viewer(reports::MedicalLeaveSituation(Context(session), month));
}

void PrintHolidays(params::Session& session, Date month, const ReportViewer& viewer) {
  viewer(reports::HolidaySituation(Context(session), month));
}

void PrintHired(params::Session& session, Date month, const ReportViewer& viewer) {
  viewer(reports::HiredList(Context(session), month));
}

void PrintLeft(params::Session& session, Date month, const ReportViewer& viewer) {
  viewer(reports::LeftList(Context(session), month));
}

void PrintIdentityCards(params::Session& session, const ReportViewer& viewer) {
  viewer(reports::IdentityCardList(Context(session)));
}

void PrintInsuredPersons(params::Session& session, const ReportViewer& viewer) {
  viewer(reports::InsuredPersonsList(Context(session)));
}

void PrintShownList(params::Session& session, ShownList list, Date month, std::string heading,
                    const std::vector<int>& shown_rows, std::string filter_text,
                    const ReportViewer& viewer) {
  switch (list) {
    case ShownList::kHired:
    case ShownList::kLeft: {
      const bool hired = list == ShownList::kHired;
      viewer(reports::PersonnelList(
          Context(session),
          hired ? reports::PersonnelListKind::kHired : reports::PersonnelListKind::kLeft,
          std::move(heading),
          Pick(hired ? personnel::HiredInMonth(session, month)
                     : personnel::LeftInMonth(session, month),
               shown_rows),
          std::move(filter_text)));
      break;
    }
    case ShownList::kIdentityCards:
      viewer(reports::IdentityCardList(Context(session),
                                       Pick(personnel::IdentityCards(session), shown_rows)));
      break;
    case ShownList::kInsured:
      viewer(reports::InsuredPersonsList(Context(session),
                                         Pick(personnel::InsuredPersons(session), shown_rows),
                                         std::move(filter_text)));
      break;
  }
}

void PrintBrackets(params::Session& session, bool annual, const ReportViewer& viewer) {
  viewer(reports::BracketList(Context(session), annual));
}

}  // namespace traveno::reports_ui

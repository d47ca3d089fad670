// Opening the monthly documents from the windows: each function makes its
// document from the session's working company and month and hands it to a
// viewer (the print preview in the program, a recorder in tests). A
// document that prints nothing (a month without rows, nobody with an
// advance) opens nothing.
//
// The list window prints its rows through the same functions, e.g.
//   ShowReport(viewer, reports::PersonnelList(context, kind, heading, lines,
//                                             reports::FilterText(filter)));
#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/prompter.h"
#include "params/session.h"
#include "reports/page_composer.h"
#include "reports/report_common.h"

class QWidget;

namespace traveno::reports_ui {

// Shows one prepared report and returns when the user is done with it.
using ReportViewer = std::function<void(const reports::Report& report)>;
// The print preview, modal over `parent`, its questions through `prompter`;
// its "PDF" printer never writes over a file of the program in `data_folder`.
ReportViewer PreviewViewer(Prompter& prompter, QWidget* parent,
                           std::filesystem::path data_folder = {});

// Shows the report when there is one.
void ShowReport(const ReportViewer& viewer, const std::optional<reports::Report>& report);

// "S&tat de plata": the payroll statement, then the salary recapitulation.
void PrintStatement(params::Session& session, const ReportViewer& viewer);
// "&Fluturasi lichidare".
void PrintPaySlips(params::Session& session, const ReportViewer& viewer);
// "Stat de plata &avans", "Flutura&si Avans".
void PrintAdvanceStatement(params::Session& session, const ReportViewer& viewer);
void PrintAdvanceSlips(params::Session& session, const ReportViewer& viewer);
// "Situatie concedii &medicale", "Situatie &concedii legale" of a month.
void PrintMedicalLeave(params::Session& session, Date month, const ReportViewer& viewer);
void PrintHolidays(params::Session& session, Date month, const ReportViewer& viewer);
// The personnel lists over all their rows (no filter): hired or left in a
// month, identity cards, insured persons.
void PrintHired(params::Session& session, Date month, const ReportViewer& viewer);
void PrintLeft(params::Session& session, Date month, const ReportViewer& viewer);
void PrintIdentityCards(params::Session& session, const ReportViewer& viewer);
void PrintInsuredPersons(params::Session& session, const ReportViewer& viewer);
// Which personnel list the list window prints with "&Lista".
enum class ShownList { kHired, kLeft, kIdentityCards, kInsured };
// Prints the rows the list window shows: `shown_rows` are indexes, in the
// order shown, into the list's rows as its personnel service gives them
// (hired or left in `month`, or of the working month); `heading` is the
// window's heading, `filter_text` the text about its filter. An index past
// the rows (a list changed since it was shown) is skipped.
void PrintShownList(params::Session& session, ShownList list, Date month, std::string heading,
                    const std::vector<int>& shown_rows, std::string filter_text,
                    const ReportViewer& viewer);
// The bracket window's "&Lista".
void PrintBrackets(params::Session& session, bool annual, const ReportViewer& viewer);

}  // namespace traveno::reports_ui

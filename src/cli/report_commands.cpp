#include "cli/report_commands.h"

#include <memory>
#include <nlohmann/json.hpp>
#include <optional>

#include "cli/cli_session.h"
#include "cli/json_output.h"
#include "cli/terminal_progress.h"
#include "core/data_folder.h"
#include "core/errors.h"
#include "core/text.h"
#include "reports/document_text.h"
#include "reports/report_catalog.h"
#ifdef TRAVENO_WITH_PDF
#include "ui/document_painter.h"
#endif

namespace traveno::cli {
namespace {

inline constexpr const char* kNothingToPrint = "Documentul nu are date de listat in luna aleasa !";

struct ReportOptions {
  std::string name;
  std::string cod;
  std::string month;
  std::string of;
  std::vector<int> iids;
  bool annual = false;
  std::string pdf;
  bool text = false;
};

// An option the chosen document does not use is a mistake, not something to
// ignore: the document printed would not be the one asked for.
std::optional<std::string> UnusedOption(const ReportOptions& options) {
  const std::string& name = options.name;
  if (!options.iids.empty() && name != "advance-co") {
    return "Optiunea --iid se foloseste numai cu documentul advance-co !";
  }
  if (!options.of.empty() && name != "sick-leave" && name != "holidays" && name != "hired" &&
      name != "left") {
    return "Optiunea --of se foloseste numai cu documentele sick-leave, holidays, hired si left !";
  }
  if (options.annual && name != "brackets") {
    return "Optiunea --annual se foloseste numai cu documentul brackets !";
  }
  return std::nullopt;
}

void RunReport(CliContext& context, const ReportOptions& options) {
  if (const std::optional<std::string> refusal = UnusedOption(options)) {
    *context.err << *refusal << "\n";
    context.exit_code = 1;
    return;
  }
  CliSession cli(context);
  if (!cli.Open(UpperTrim(options.cod), ParseMonthArgument(options.month))) {
    context.exit_code = 1;
    return;
  }
  reports::ReportRequest request;
  request.name = options.name;
  if (!options.of.empty()) request.of = ParseMonthArgument(options.of);
  request.iids = options.iids;
  request.annual = options.annual;
  // A large company's document takes a while: a line on the terminal says
  // what runs (not for the pages as text, which go to the same terminal).
  const std::unique_ptr<ProgressReporter> progress =
      options.pdf.empty() ? std::make_unique<SilentProgress>() : CommandProgress(context);
  // The pages as text alone need no page kept once its lines are made.
  const bool text_only = options.text && options.pdf.empty() && !context.json;
  std::optional<reports::Report> report;
  std::optional<reports::Document> prepared;
  reports::DocumentTextSink text_pages;
  {
    WaitScope wait(*progress, options.name, "Se pregatesc paginile...");
    report = reports::BuildReport(reports::DocumentContext{*cli.session}, request);
    if (report && text_only) {
      reports::LayOut(*report, text_pages);
    } else if (report) {
      prepared = reports::Prepare(*report);
    }
  }
  if (!report) {
    *context.err << kNothingToPrint << "\n";
    context.exit_code = 1;
    return;
  }
  if (text_only) {
    text_pages.WriteTo(*context.out);
    return;
  }
  const reports::Document& document = *prepared;
  if (!options.pdf.empty()) WritePdfFile(context, document, options.pdf, progress.get());
  if (context.json) {
    nlohmann::json pages = nlohmann::json::array();
    for (const reports::Page& page : document.pages) pages.push_back(reports::PageLines(page));
    *context.out << nlohmann::json{{"titlu", document.title}, {"pagini", pages}}.dump(
                        2, ' ', false, kReplaceInvalidUtf8)
                 << "\n";
  } else if (options.text) {
    *context.out << reports::DocumentText(document);
  } else if (options.pdf.empty()) {
    *context.out << document.title << ": " << document.pages.size() << " pagini\n";
  }
}

}  // namespace

void WritePdfFile(const CliContext& context, const reports::Document& document,
                  const std::string& file, ProgressReporter* progress) {
  RequireOutputFile(ResolveDataFolder(context.data_dir), file);
#ifdef TRAVENO_WITH_PDF
  // PDF pages are drawn by the same painter as the preview's and the
  // printer's, which needs Qt's fonts and so a QGuiApplication. The command
  // line makes one on the "offscreen" platform, only for this: it needs no
  // display, and the PDF a script writes is the one the desktop would write.
  ui::EnsureGuiApplication();
  ui::WritePdf(document, file, {}, progress);
#else
  (void)document;
  (void)progress;
  throw Error("Aceasta versiune a programului nu scrie fisiere PDF: " + file);
#endif
}

void RegisterReportCommands(CLI::App& app, CliContext& context) {
  auto options = std::make_shared<ReportOptions>();
  CLI::App* report =
      app.add_subcommand("report", "Documentele lunii (stat de plata, fluturasi...)");
  std::vector<std::string> names(reports::ReportNames().begin(), reports::ReportNames().end());
  report->add_option("document", options->name, "Documentul")
      ->required()
      ->check(CLI::IsMember(names));
  report->add_option("--cod", options->cod, "Codul firmei")->required();
  report->add_option("--month", options->month, "Luna de lucru AAAA-LL")->required();
  report->add_option("--of", options->of,
                     "Luna situatiilor si a listelor de angajati/lichidati AAAA-LL");
  report->add_option("--iid", options->iids, "Avansul de concediu: IID-urile de listat");
  report->add_flag("--annual", options->annual, "Grila de impozitare anuala");
  report->add_option("--pdf", options->pdf, "Scrie documentul in fisierul PDF");
  report->add_flag("--text", options->text, "Afiseaza paginile ca text");
  report->callback([&context, options] { RunReport(context, *options); });
}

}  // namespace traveno::cli

// "grid": what the pay grid window shows of a month: its heading, the
// columns of a page (caption, shown or hidden, typed or computed) and, with
// --lines, each line's cells as the grid writes them.
#include <memory>

#include "cli/cli_session.h"
#include "cli/json_output.h"
#include "cli/personnel_cli_support.h"
#include "cli/personnel_commands.h"
#include "core/text.h"
#include "personnel/grid_line.h"
#include "personnel/grid_view.h"

namespace traveno::cli {

void RegisterGridCommands(CLI::App& app, CliContext& context) {
  using namespace personnel_cli;
  using nlohmann::json;
  struct GridOptions {
    MonthOptions month;
    bool lines = false;
  };
  auto options = std::make_shared<GridOptions>();
  CLI::App* grid = app.add_subcommand("grid", "Coloanele si liniile grilei de salarii (o pagina)");
  AddMonthOptions(grid, options->month, true);
  grid->add_flag("--lines", options->lines, "Si liniile, cum le arata grila");
  grid->callback([&context, options] {
    CliSession cli(context);
    if (!OpenMonth(cli, options->month, MonthTotals::kNotNeeded)) return;
    params::Session& session = *cli.session;
    const personnel::GridScope scope = ScopeOf(options->month);
    const std::vector<personnel::GridColumn> columns =
        personnel::GridColumns(session.parameters().company, scope.tip,
                               personnel::ShowsDepartmentColumn(session, scope.department));
    const std::vector<PersRow> lines =
        options->lines ? personnel::MonthLines(session, scope.tip, scope.department)
                       : std::vector<PersRow>();
    const bool editable = !session.month_closed();
    if (context.json) {
      json shown = json::array();
      for (const personnel::GridColumn& c : columns) {
        shown.push_back({{"camp", c.field},
                         {"titlu", c.caption},
                         {"vizibila", c.visible},
                         {"editabila", c.editable && editable}});
      }
      json rows = json::array();
      const personnel::GridCellTexts cell_texts(columns);
      for (const PersRow& line : lines) {
        json cells = json::object();
        for (std::size_t i = 0; i < columns.size(); ++i) {
          if (columns[i].visible) cells[columns[i].field] = cell_texts.Text(line, i);
        }
        rows.push_back(cells);
      }
      json result = {{"antet", personnel::GridHeading(session, scope.department)},
                     {"coloane", shown}};
      if (options->lines) result["linii"] = rows;
      *context.out << result.dump(2, ' ', false, kReplaceInvalidUtf8) << "\n";
      return;
    }
    std::ostream& out = *context.out;
    out << personnel::GridHeading(session, scope.department) << "\n";
    for (const personnel::GridColumn& c : columns) {
      out << PadRight(c.field, 16) << PadRight(c.caption, 24)
          << (c.visible ? "vizibila " : "ascunsa  ") << (c.editable && editable ? "editabila" : "")
          << "\n";
    }
    const personnel::GridCellTexts cell_texts(columns);
    std::string text;
    for (const PersRow& line : lines) {
      text.clear();
      for (std::size_t i = 0; i < columns.size(); ++i) {
        if (!columns[i].visible) continue;
        text += cell_texts.Text(line, i);
        text += " | ";
      }
      out << text << "\n";
    }
  });
}

}  // namespace traveno::cli

// "traveno-cli trend" and "compare" over the demo company's three months:
// the figures as JSON equal the service's, the PNG is a chart of the right
// size and not a blank picture, the PDF holds the table, and the comparison
// lists the changed lines.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "tests/support/cli_program.h"
#include "tests/support/cli_runner.h"
#include "tests/trends/three_months.h"
#include "trends/month_comparison.h"
#include "trends/trend_figures.h"

namespace traveno::trends {
namespace {

using nlohmann::json;
using testing::Month;
using traveno::testing::CliResult;

class TrendCliTest : public ::testing::Test {
 protected:
  CliResult Run(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--data-dir", company_.folder().string()});
    return traveno::testing::RunCli(std::move(arguments));
  }
  // As the program runs: a failure is told on standard error.
  traveno::testing::ProgramResult RunProgram(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), {"--data-dir", company_.folder().string()});
    return traveno::testing::RunProgram(arguments);
  }
  std::filesystem::path File(const char* name) const { return company_.folder() / name; }

  testing::ThreeMonths company_;
};

TEST_F(TrendCliTest, TheJsonHoldsEveryMonthAndDepartmentAsTheServiceComputesThem) {
  const CliResult result =
      Run({"--json", "trend", "--cod", "demo", "--from", "2003-01", "--to", "2003-03"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  const json trend = result.Json();
  const Trend expected = CompanyTrend(company_.session(), Month(1), Month(3));
  EXPECT_EQ(trend["firma"], "DEMO");
  EXPECT_EQ(trend["de_la"], "2003-01");
  EXPECT_EQ(trend["pana_la"], "2003-03");
  ASSERT_EQ(trend["luni"].size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const json& month = trend["luni"][i];
    EXPECT_EQ(month["luna"], "2003-0" + std::to_string(i + 1));
    EXPECT_EQ(month["permanenti"], expected.figures[i].permanent);
    EXPECT_EQ(month["contract_partial"], expected.figures[i].partial);
    for (TrendAmount amount : kTrendAmounts) {
      EXPECT_EQ(month[AmountKey(amount)].get<double>(),
                static_cast<double>(AmountOf(expected.figures[i], amount)))
          << AmountKey(amount);
    }
  }
  ASSERT_EQ(trend["departamente"].size(), 2u);
  EXPECT_EQ(trend["departamente"][1]["cod"], "PRODUCT");
  EXPECT_EQ(trend["departamente"][1]["luni"][2]["total_brut"].get<double>(),
            static_cast<double>(expected.departments[1].months[2].total_brut));

  // Without an interval: the twelve months up to the company's last month.
  const json last = Run({"--json", "trend", "--cod", "DEMO"}).Json();
  EXPECT_EQ(last["de_la"], "2002-04");
  EXPECT_EQ(last["pana_la"], "2003-03");
  EXPECT_EQ(last["luni"].size(), 3u);

  // As a table: one line per month with the amounts as the program writes them.
  const CliResult table = Run({"trend", "--cod", "DEMO", "--depart", "product"});
  ASSERT_EQ(table.exit_code, 0) << table.err;
  EXPECT_NE(table.out.find("Departamentul PRODUCT"), std::string::npos) << table.out;
  EXPECT_NE(table.out.find("MARTIE / 2003"), std::string::npos);
}

TEST_F(TrendCliTest, RefusesAReversedIntervalAnUnknownDepartmentAndChart) {
  const traveno::testing::ProgramResult reversed =
      RunProgram({"trend", "--cod", "DEMO", "--from", "2003-03", "--to", "2003-01"});
  EXPECT_EQ(reversed.status, 1);
  EXPECT_EQ(reversed.err, std::string(kTrendIntervalReversed) + "\n");
  CliResult result = Run({"trend", "--cod", "DEMO", "--depart", "NOSUCH"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "Firma nu are departamentul NOSUCH in intervalul ales !\n");
  result = Run({"trend", "--cod", "DEMO", "--chart", "bare"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, "Graficul poate fi sume sau salariati !\n");
}

#ifdef TRAVENO_WITH_CHARTS
// Whether the picture holds a pixel close to `color`.
bool Holds(const QImage& image, QColor color) {
  for (int y = 0; y < image.height(); y += 1) {
    for (int x = 0; x < image.width(); x += 1) {
      const QColor pixel = image.pixelColor(x, y);
      if (std::abs(pixel.red() - color.red()) + std::abs(pixel.green() - color.green()) +
              std::abs(pixel.blue() - color.blue()) <
          30) {
        return true;
      }
    }
  }
  return false;
}

TEST_F(TrendCliTest, ThePngIsAChartOfTheRightSizeAndThePdfHoldsTheTable) {
  const std::filesystem::path png = File("evolutie.png");
  const std::filesystem::path pdf = File("evolutie.pdf");
  const CliResult result = Run({"trend", "--cod", "DEMO", "--from", "2003-01", "--to", "2003-03",
                                "--png", png.string(), "--pdf", pdf.string()});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(result.err, "");
  QImage image;
  ASSERT_TRUE(image.load(QString::fromStdString(png.string()), "PNG"));
  EXPECT_EQ(image.size(), QSize(1600, 900));
  // Drawn, not blank: much of it is not white, and the lines' own colours
  // (black, and the palette's blue and vermillion) are there.
  int inked = 0;
  for (int y = 0; y < image.height(); y += 4) {
    for (int x = 0; x < image.width(); x += 4) {
      if (image.pixelColor(x, y) != QColor(Qt::white)) ++inked;
    }
  }
  EXPECT_GT(inked, 1000);
  EXPECT_TRUE(Holds(image, QColor(0, 114, 178)));
  EXPECT_TRUE(Holds(image, QColor(213, 94, 0)));

  // The headcount chart instead, and nothing left beside the files written.
  const std::filesystem::path people = File("salariati.png");
  ASSERT_EQ(
      Run({"trend", "--cod", "DEMO", "--chart", "salariati", "--png", people.string()}).exit_code,
      0);
  QImage headcount;
  ASSERT_TRUE(headcount.load(QString::fromStdString(people.string()), "PNG"));
  EXPECT_EQ(headcount.size(), QSize(1600, 900));
  EXPECT_NE(headcount, image);

  const std::string command = "pdftotext -layout '" + pdf.string() + "' -";
  FILE* pipe = popen(command.c_str(), "r");
  ASSERT_NE(pipe, nullptr);
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) text.append(buffer, n);
  ASSERT_EQ(pclose(pipe), 0);
  for (const char* expected : {"Evolutie salarii IANUARIE / 2003 - MARTIE / 2003",
                               "FEBRUARIE / 2003", "Total interval", "Cost total salarii"}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  }
}
#endif

TEST_F(TrendCliTest, CompareListsTheChangedLinesWithTheirInputs) {
  CliResult result = Run({"--json", "compare", "--cod", "DEMO", "--month", "2003-02"});
  ASSERT_EQ(result.exit_code, 0) << result.err;
  json comparison = result.Json();
  EXPECT_EQ(comparison["luna_anterioara"], "2003-01");
  EXPECT_EQ(comparison["prag"], 10);
  ASSERT_EQ(comparison["linii"].size(), 2u);
  const json& raise = comparison["linii"][0];
  EXPECT_EQ(raise["situatie"], "modificat");
  EXPECT_EQ(raise["nume"], "IONESCU");
  EXPECT_TRUE(raise["cifre"]["BRUT"]["peste_prag"].get<bool>());
  ASSERT_EQ(raise["modificari"].size(), 1u);
  EXPECT_EQ(raise["modificari"][0], (json{{"camp", "SALINC"},
                                          {"coloana", "Salariu incadrare"},
                                          {"inainte", "9 000 000"},
                                          {"acum", "13 000 000"}}));

  comparison =
      Run({"--json", "compare", "--cod", "DEMO", "--month", "2003-03", "--threshold", "0,5"})
          .Json();
  EXPECT_EQ(comparison["noi"], 1);
  EXPECT_EQ(comparison["plecati"], 1);

  const CliResult text = Run({"compare", "--cod", "DEMO", "--month", "2003-03"});
  EXPECT_NE(text.out.find("Angajat nou: "), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("Plecat: 18 TUDOR LIVIU"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("  Timp: 168 -> 84"), std::string::npos) << text.out;

  result = Run({"compare", "--cod", "DEMO", "--month", "2003-03", "--threshold", "-5"});
  EXPECT_EQ(result.exit_code, 1);
  EXPECT_EQ(result.err, std::string(kThresholdRefused) + "\n");
}

}  // namespace
}  // namespace traveno::trends

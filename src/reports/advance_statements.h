// The documents for paying advances: the advance statement ("STAT DE AVANS
// SALARII"), the advance slips (each employee twice side by side), and the
// holiday-advance statement ("STAT DE AVANS CONCEDII DE ODIHNA") of the rows
// the user marked in the holiday-advance window.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "reports/page_composer.h"
#include "reports/report_common.h"

namespace traveno::reports {

inline constexpr const char* kAdvanceTitle = "STAT DE AVANS SALARII";
inline constexpr const char* kAdvanceSlipsTitle = "Fluturasi avans";
inline constexpr const char* kHolidayAdvanceTitle = "STAT DE AVANS CONCEDII DE ODIHNA";

// The advance statement of the working month over the rows with "Avans > 0";
// a row whose advance is below 0.001 passes but is not printed. Empty when
// no row passes (nothing is printed). StoreError on failure.
std::optional<Report> AdvanceStatement(const DocumentContext& context);
// The advance slips over the same rows; empty likewise.
std::optional<Report> AdvanceSlips(const DocumentContext& context);

// One line of the holiday-advance window (`CDSAvansCO`).
struct HolidayAdvanceLine {
  int IID = 0;
  std::string Depart;
  int Categorie = 0;
  int Marca = 0;
  std::string Nume;
  std::string Prenume;
  std::string Functie;
  double SalInc = 0;
  double Avans_Co = 0;
  bool Listare = false;  // print this line
};

// The rows of the working month whose Avans_CO is not 0, unmarked, by
// Depart, Categorie, Marca. StoreError on failure.
std::vector<HolidayAdvanceLine> HolidayAdvanceLines(params::Session& session);

// The statement of the marked lines. The running number is a line's
// position among all the lines (marked or not); the department subtotals and
// the total sum the marked lines only. Printed even when no line is marked
// (headings and a total of 0).
Report HolidayAdvanceStatement(const DocumentContext& context,
                               std::vector<HolidayAdvanceLine> lines);

}  // namespace traveno::reports

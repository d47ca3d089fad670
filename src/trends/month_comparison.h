// "Comparatie cu luna anterioara": the working month's lines against the
// lines of the month before, person by person (IID): who joined, who left,
// and each line whose gross, net to pay or income tax moved by more than a
// threshold, with the inputs of the line that changed between the months
// (base salary, time, bonuses, leave days, deductions...) side by side.
// Reads only; the figures are the stored ones.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/store/records.h"
#include "engine/month_parameters.h"
#include "params/session.h"
#include "personnel/grid_view.h"

namespace traveno::trends {

enum class ComparisonKind {
  kJoined,   // a line this month, none the month before
  kLeft,     // a line the month before, none this month
  kChanged,  // a figure moved past the threshold
};
// "Angajat nou", "Plecat", "Modificat".
const char* KindCaption(ComparisonKind kind);
// "nou", "plecat", "modificat" (the command line's JSON).
const char* KindKey(ComparisonKind kind);

// The figures compared, in this order.
enum ComparedFigure { kBrut = 0, kRestPlata = 1, kImpozit = 2 };
inline constexpr std::array<const char*, 3> kComparedCaptions = {"Brut", "Rest plata", "Impozit"};
inline constexpr std::array<const char*, 3> kComparedFields = {"BRUT", "RESTPL", "IMPOZIT"};

// An input of the line that differs between the months, as the pay grid
// writes it.
struct InputChange {
  std::string field;    // the Pers field
  std::string caption;  // its pay grid caption in the working month
  std::string before;
  std::string after;
  friend bool operator==(const InputChange&, const InputChange&) = default;
};

struct ComparedLine {
  ComparisonKind kind = ComparisonKind::kChanged;
  int iid = 0;
  std::int64_t nr = 0;           // the working month's line; 0 for one that left
  std::int64_t previous_nr = 0;  // the previous month's; 0 for one that joined
  std::string tip;
  int marca = 0;
  std::string nume;
  std::string prenume;
  std::string depart;
  // Brut, Rest plata, Impozit in the previous and the working month (0 in
  // the month without a line).
  std::array<long double, 3> before{};
  std::array<long double, 3> after{};
  // Which figures moved past the threshold.
  std::array<bool, 3> over{};
  // The inputs that differ (none for a line that joined or left).
  std::vector<InputChange> inputs;
};

struct MonthComparison {
  Date month;     // the working month
  Date previous;  // the month before
  double threshold = 0;
  // Joined, then left, then changed; each by kind of employee, employee
  // number and name.
  std::vector<ComparedLine> lines;
  int joined = 0;
  int left = 0;
  int changed = 0;
};

inline constexpr double kDefaultThreshold = 10;
inline constexpr double kMaxThreshold = 1000;
inline constexpr const char* kThresholdRefused = "Pragul trebuie sa fie intre 0 si 1000 % !";

// Whether a figure moved by more than `threshold` percent of its earlier
// value; from 0 any change counts.
bool ChangedPast(long double before, long double after, double threshold);

// The inputs of a line the comparison weighs, with their captions: the
// fields the pay grid lets the user type into on the page of kind `tip`
// (shown there), except the gross and the net (compared as figures) and the
// category and employee number.
struct ComparedInput {
  std::size_t field;  // the index of the Pers field
  personnel::GridColumn column;
};
std::vector<ComparedInput> ComparedInputs(const engine::CompanyParameters& company,
                                          std::string_view tip);

// Compares the lines of two months (the inputs' captions are the working
// month's, from its company parameters). A person's lines are paired by IID,
// lines of the same kind first; a person with more lines in one month than
// in the other joined or left with the lines left over.
MonthComparison CompareLines(Date month, const std::vector<PersRow>& previous,
                             const std::vector<PersRow>& current,
                             const engine::CompanyParameters& company, double threshold);

// The working month of the session against the month before, both read in
// one snapshot. Throws Error(kThresholdRefused) for a threshold outside
// 0..1000, StoreError on a store failure.
MonthComparison CompareWithPreviousMonth(params::Session& session,
                                         double threshold = kDefaultThreshold);

}  // namespace traveno::trends

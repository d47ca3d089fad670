#include "personnel/line_posting.h"

#include <array>
#include <cmath>
#include <stdexcept>

#include "core/numbers.h"
#include "core/store/field_rules.h"
#include "core/text.h"

namespace traveno::personnel {
namespace {

constexpr std::array<std::string_view, 36> kEditable = {
    "SALINC",   "SPOR1",          "SPOR2",    "SPOR3",     "SPOR4",    "TIMP",
    "TIMP_SPL", "CIC",            "PRIME",    "PR_VA",     "AVANS",    "PRIME_INCASATE",
    "AVANS_CO", "RESTPL",         "RETINERI", "GARANTII",  "POPRIRI",  "ALTE_RET",
    "COEFIND1", "BRUT",           "SUMEEXCEPT", "CM1L",    "CM2L",     "TIMP_NOAPTE",
    "ZILE_CO",  "ALTE_SUME",      "SPORURI",  "ZILE_FP",   "ZILE_CM",  "ZILE_CIC",
    "CATEGORIE", "MARCA",         "ACORD",    "REALIZAT",  "DIF_BRUT", "PROCIMPO"};

}  // namespace

bool IsGridEditableField(std::string_view field) {
  const std::string upper = UpperTrim(field);
  for (std::string_view name : kEditable) {
    if (upper == name) return true;
  }
  return false;
}

std::string NormalisedAcord(const PersRow& row) {
  return (row.ACORD == "d" || row.ACORD == "D") && row.PlatitOra == 0 ? "D" : "";
}

PostedLine PostLineEdit(const engine::PayrollEngine& engine, const PersRow& line,
                        const std::vector<FieldEdit>& edits) {
  PostedLine posted{line, std::nullopt};
  PersRow& row = posted.row;
  for (const auto& [name, value] : edits) {
    const auto field = FindField<PersRow>(name);
    if (!field || !IsGridEditableField(name)) {
      throw std::invalid_argument("Campul " + name + " nu poate fi modificat in grila de salarii !");
    }
    // The typed value as it is typed: a fraction is never cut from a count
    // of days, a number never wrapped into an integer field.
    RequireValue(std::string("campul ") + FieldsOf<PersRow>()[*field].name, RuleOf<PersRow>(*field),
                 value);
    SetField(row, *field, value);
  }
  row.ACORD = NormalisedAcord(row);

  const double gross_before = line.BRUT;
  double net_before = line.RESTPL;
  // A typed gross: the difference goes into Dif_Brut, and the calculation
  // then gives the typed gross back.
  if (row.BRUT != gross_before) row.Dif_Brut += row.BRUT - gross_before;

  const double typed_net = row.RESTPL;
  if (typed_net == net_before) {
    engine.CalculSalariu(row);
    return posted;
  }
  // A typed net: move Dif_Brut by what is still missing until the net
  // matches. Whole-leu rounding can make the net step over the target, so the
  // search is bounded and the closest net found is kept.
  double best_dif_brut = row.Dif_Brut;
  double best_distance = INFINITY;
  for (int round = 0; round < kTypedNetRounds; ++round) {
    row.Dif_Brut += typed_net - net_before;
    engine.CalculSalariu(row);
    net_before = row.RESTPL;
    const double distance = std::fabs(row.RESTPL - typed_net);
    if (distance < best_distance) {
      best_distance = distance;
      best_dif_brut = row.Dif_Brut;
    }
    if (row.RESTPL == typed_net) return posted;
  }
  row.Dif_Brut = best_dif_brut;
  engine.CalculSalariu(row);
  posted.notice = "Restul de plata " + FormatN(typed_net, 0) +
                  " nu poate fi obtinut exact. S-a obtinut cel mai apropiat rest de plata: " +
                  FormatN(row.RESTPL, 0) + " .";
  return posted;
}

}  // namespace traveno::personnel

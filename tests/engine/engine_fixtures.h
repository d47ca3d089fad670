// Parameters and rows shared by the engine tests: a 2003 month with the
// contribution rates and the three-bracket table of the worked examples.
#pragma once

#include "core/date.h"
#include "core/store/records.h"
#include "engine/month_parameters.h"
#include "engine/tax_table.h"

namespace traveno::engine::testing {

inline Date D(int y, int m, int d) { return Date::FromYmd(y, m, d); }

inline MonthParameters Month2003() {
  MonthParameters p;
  p.luna = D(2003, 3, 1);
  p.general.SomajAng = 1;
  p.general.SanatateAng = 6.5;
  p.general.Pensie = 9.5;
  p.general.DedBaza = 1800000;
  p.general.CheltProf = 270000;
  p.general.CoefMax = 3;
  p.general.SalMedEc = 6962000;
  p.company.TimpLuna = 184;
  p.company.TimpZile = 0;
  p.company.ProcOreSupli = 100;
  p.company.CoefCO = 21.25;
  for (auto& s : p.company.spor) s.Apl = 4;
  return p;
}

inline TaxTable Brackets2003() {
  return {{0, 0, 18}, {2100000, 378000, 23}, {5200000, 1091000, 28}};
}

inline PersRow Permanent(double salinc, double timp) {
  PersRow r;
  r.LUNA = D(2003, 3, 1);
  r.IID = 1;
  r.TIP = "1";
  r.SALINC = salinc;
  r.TIMP = timp;
  r.CoefInd1 = 1;
  r.ProcImpo = 100;
  r.DATA_ANG = D(2001, 1, 1);
  return r;
}

}  // namespace traveno::engine::testing

// The employer as the monthly declarations show and file it: its register
// row, its kind, its fiscal code without the VAT prefix and its
// trade-register number split into parts.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/store/records.h"
#include "core/store/store.h"
#include "declarations/register_number.h"

namespace traveno::declarations {

struct DeclarationEmployer {
  FirmeRow row;
  // CodFiscal trimmed and upper-cased, without its leading "R"; a natural
  // person's personal code.
  std::string fiscal_code;
  RegComParts reg_com;

  bool legal_person() const { return row.TipAngaj == 1; }
  bool natural_person() const { return row.TipAngaj == 2; }
  // Denumire for a legal person, else Nume, a blank and Prenume.
  std::string Name() const;
};

// The employer of a register row.
DeclarationEmployer MakeDeclarationEmployer(const FirmeRow& row);

// The register row of a company code; empty when the register lacks it.
// Throws StoreError.
std::optional<DeclarationEmployer> FindDeclarationEmployer(Store& store, std::string_view code);

}  // namespace traveno::declarations

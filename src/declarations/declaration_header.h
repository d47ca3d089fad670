// What the declarant types in a declaration window beside the figures: the
// declaration's number and date and the person who signs it.
#pragma once

#include <string>

#include "core/date.h"
#include "core/settings.h"

namespace traveno::declarations {

struct DeclarationHeader {
  std::string number;
  Date date;  // the empty date when none was given
  DeclarationSigner signer;
};

}  // namespace traveno::declarations

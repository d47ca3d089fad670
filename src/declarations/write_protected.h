// A data folder the user may not write (an archive on read-only media, a
// folder of another user): the declarations still print and write their
// files from what is kept, and say what could not be kept.
#pragma once

#include <filesystem>

#include "core/errors.h"
#include "core/settings.h"

namespace traveno::declarations {

inline constexpr const char* kSignerNotKept =
    "Directorul de date este protejat la scriere: declarantul nu a fost salvat !";
inline constexpr const char* kFiguresNotKept =
    "Directorul de date este protejat la scriere: luna nu a fost recalculata, iar sumele "
    "declaratiei si declarantul nu au fost salvate !";

// Whether a failure comes from a data folder (its databases or the settings
// file) that the user may not write.
bool IsWriteProtected(const Error& error);

// The declarant as the settings file keeps it: every value upper-cased and trimmed.
DeclarationSigner SignerAsKept(const DeclarationSigner& signer);

// The declarant after keeping it.
struct SignerKeeping {
  DeclarationSigner signer;  // as the settings file holds it now, or would hold it
  bool kept = true;          // false: it differs from the one kept and could not be written
};

// Writes the declarant to the settings file (SaveSigner: its refusals are
// thrown). When the data folder cannot be written, nothing is thrown: the
// declarant is returned as it would have been kept, `kept` telling whether
// that is what the file already holds. Throws OsError for any other failure.
SignerKeeping KeepSigner(const std::filesystem::path& data_folder, const DeclarationSigner& signer,
                         bool with_county_code);

}  // namespace traveno::declarations

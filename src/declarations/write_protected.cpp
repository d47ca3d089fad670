#include "declarations/write_protected.h"

#include <cerrno>
#include <string>

#include "core/store/sqlite.h"
#include "core/text.h"

namespace traveno::declarations {

bool IsWriteProtected(const Error& error) {
  if (dynamic_cast<const StoreError*>(&error) != nullptr) {
    return std::string(error.what()) == kStoreReadOnly;
  }
  if (dynamic_cast<const OsError*>(&error) != nullptr && error.code()) {
    const int code = *error.code();
    return code == EACCES || code == EPERM || code == EROFS;
  }
  return false;
}

DeclarationSigner SignerAsKept(const DeclarationSigner& signer) {
  return {UpperTrim(signer.nume), UpperTrim(signer.prenume), UpperTrim(signer.functie),
          UpperTrim(signer.cod_judet)};
}

SignerKeeping KeepSigner(const std::filesystem::path& data_folder, const DeclarationSigner& signer,
                         bool with_county_code) {
  try {
    SaveSigner(data_folder, signer, with_county_code);
    return {LoadSigner(data_folder), true};
  } catch (const OsError& error) {
    if (!IsWriteProtected(error)) throw;
  }
  const DeclarationSigner stored = LoadSigner(data_folder);
  SignerKeeping keeping{SignerAsKept(signer), true};
  if (!with_county_code) keeping.signer.cod_judet = stored.cod_judet;
  const DeclarationSigner& s = keeping.signer;
  keeping.kept = s.nume == stored.nume && s.prenume == stored.prenume &&
                 s.functie == stored.functie && s.cod_judet == stored.cod_judet;
  return keeping;
}

}  // namespace traveno::declarations

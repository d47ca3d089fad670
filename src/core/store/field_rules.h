// The values a stored field may hold: for every field of the field lists,
// and for every parameter kept in Para and ParF, its kind and its range. The
// services that write check each value against its rule before anything is
// written, whatever the caller (a window, the command line, an import), so
// a value that cannot be right never reaches the store, and neither does an
// infinity or a NaN.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/errors.h"
#include "core/store/records.h"

namespace traveno {

// The largest amount in lei a field may hold (and the largest parameter
// amount: the child-care ceiling of a new month is this very value).
inline constexpr double kMaxAmount = 1e12;

enum class ValueKind {
  kNumber,    // a number with decimals in [min, max]
  kWhole,     // a whole number in [min, max]
  kCode,      // a whole number from min to max, each one a meaning
  kText,      // at most `width` characters; longer texts are cut by the services
  kTextCode,  // a code: at most `width` characters, refused (never cut) when longer;
              // one of `texts` when they are given
  kDate,      // the empty date, or a day of the years 1900 to 2999
  kIdentity,  // a row number or a person's identity: whole, from 0
  kAny,       // a picture
};

struct ValueRule {
  ValueKind kind = ValueKind::kAny;
  double min = 0;
  double max = 0;
  int width = 0;
  std::span<const std::string_view> texts = {};
  // The text is compared with `texts` upper-cased and trimmed ("da " is "DA").
  bool upper_trimmed = false;
  // A date may also be the month of no working month (1 January 1800): the
  // parameters written at start, before any month is chosen, are kept there.
  bool no_working_month = false;
};

// The rule of the field at `index` of a row type (FieldsOf order).
template <typename Row>
const ValueRule& RuleOf(std::size_t index);

// The rule of a parameter of Para (general) or ParF (company), by name;
// "DEP_" rows are departments. A name the program does not know gets a
// number of at most kMaxAmount either way.
const ValueRule& GeneralParameterRule(std::string_view name);
const ValueRule& CompanyParameterRule(std::string_view name);
// The names of the parameters whose rule the table gives (every other name
// gets an amount), for the checks that walk every rule.
std::vector<std::string> RuledGeneralParameters();
std::vector<std::string> RuledCompanyParameters();

// The rule of the pay day (ZiLichidare) of `month`: the day is one of the
// month that follows it, a whole number from 1 to that month's last day (31
// stands in February 2003, as March has it, but not in March). The table's
// rule of ZiLichidare (1 to 31) is the widest this gives.
ValueRule PayDayRule(Date month);

// The rule of the text (Grupa) of a company parameter: a name of at most 60
// characters, a deduction caption of 15, a department name of 30, a flag
// "DA" / "NU" of the exempt sums.
const ValueRule& CompanyParameterTextRule(std::string_view name);

// A value refused by its rule, with the user's message.
class ValueRefused : public Error {
 public:
  explicit ValueRefused(const std::string& message) : Error(message) {}
};

// The message refusing `value` for the field or parameter called `label`
// ("campul SALINC", "parametrul CAS"); empty when the rule allows it.
std::string RefusalOf(std::string_view label, const ValueRule& rule, const FieldValue& value);
// Throws ValueRefused with that message.
void RequireValue(std::string_view label, const ValueRule& rule, const FieldValue& value);

// Every field of a row, or only the fields whose value differs from
// `before` (so that a line keeps the values it has always had); throws
// ValueRefused for the first field its rule refuses.
template <typename Row>
void RequireRowValues(const Row& row);
template <typename Row>
void RequireChangedValues(const Row& before, const Row& after);
// The fields of a row named in `fields`.
template <typename Row>
void RequireFieldValues(const Row& row, const FieldMask& fields);

// The text of a number in a message: whole numbers grouped by thousands,
// others with up to 15 significant digits.
std::string NumberInMessage(double value);

}  // namespace traveno

#include "personnel/personal_code.h"

#include <algorithm>

#include "core/text.h"

namespace traveno::personnel {
namespace {

constexpr int kWeights[12] = {2, 7, 9, 1, 4, 6, 3, 5, 8, 2, 7, 9};

bool AllDigits(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

}  // namespace

std::string ControlDigit(std::string_view twelve_digits) {
  if (twelve_digits.size() != 12 || !AllDigits(twelve_digits)) return {};
  int sum = 0;
  for (std::size_t i = 0; i < 12; ++i) sum += (twelve_digits[i] - '0') * kWeights[i];
  int remainder = sum % 11;
  if (remainder == 10) remainder = 1;
  return std::string(1, static_cast<char>('0' + remainder));
}

std::optional<Date> BirthDateFromCode(std::string_view code) {
  const std::string trimmed = Trim(code);
  if (trimmed.size() < 7 || !AllDigits(std::string_view(trimmed).substr(0, 7))) return {};
  const std::string_view digits(trimmed);
  int year = Number(digits.substr(1, 2));
  switch (digits[0]) {
    case '1':
    case '2':
      year += 1900;
      break;
    case '5':
    case '6':
      year += 2000;
      break;
    default:
      break;  // the two digits alone are the year
  }
  return Date::TryFromYmd(year, Number(digits.substr(3, 2)), Number(digits.substr(5, 2)));
}

CodeCheck CheckPersonalCode(std::string_view code) {
  const std::string trimmed = Trim(code);
  if (CharCount(trimmed) != 13) return {false, "CNP-ul nu este din 13 caractere !!"};
  if (!AllDigits(trimmed)) return {false, "CNP-ul trebuie sa contina numai cifre !!"};
  if (!BirthDateFromCode(trimmed)) {
    return {false,
            "Data nasterii din CNP nu este corecta! Trebuie scrisa in formatul: AALLZZ."};
  }
  const std::string control = ControlDigit(std::string_view(trimmed).substr(0, 12));
  if (control[0] != trimmed[12]) {
    return {false, "Suma de control incorecta. Cea corecta este \"" + control + "\" si nu \"" +
                       trimmed[12] + "\"."};
  }
  return {true, "CNP corect."};
}

std::string SolveMissingDigit(std::string_view code) {
  if (code.size() != 13 || std::count(code.begin(), code.end(), '?') != 1) return {};
  for (char c : code) {
    if (c != '?' && (c < '0' || c > '9')) return {};
  }
  const std::size_t missing = code.find('?');
  if (missing == 12) return ControlDigit(code.substr(0, 12));
  std::string result;
  std::string candidate(code);
  for (char digit = '0'; digit <= '9'; ++digit) {
    candidate[missing] = digit;
    if (CheckPersonalCode(candidate).passed) {
      if (!result.empty()) result += ", ";
      result += digit;
    }
  }
  return result;
}

bool IsUnder18In(std::string_view code, Date month) {
  const std::optional<Date> birth = BirthDateFromCode(code);
  return birth && AddMonths(*birth, 216) >= month;
}

std::string VerifyCodeAnswer(std::string_view typed) {
  const std::string code = Trim(typed);
  const auto question_marks = std::count(code.begin(), code.end(), '?');
  const bool digits_or_question =
      std::all_of(code.begin(), code.end(), [](char c) { return c == '?' || (c >= '0' && c <= '9'); });
  if (code.size() == 12 && AllDigits(code)) {
    return "Suma de control este \"" + SolveMissingDigit(code + "?") + "\".";
  }
  if (code.size() == 13 && AllDigits(code)) {
    const CodeCheck check = CheckPersonalCode(code);
    return check.passed ? "CNP-ul introdus este corect." : check.message;
  }
  if (code.size() == 13 && digits_or_question && question_marks == 1) {
    const std::string result = SolveMissingDigit(code);
    if (result.size() == 1) return "Cifra necunoscuta este: " + result + ".";
    return "Valorile posibile pentru cifra necunoscuta sunt: " + result + ".";
  }
  return "Format incorect. Trebuie sa introduceti 13 caractere dintre care \r\ncel mult unul sa "
         "fie \"?\" iar restul cifre.";
}

}  // namespace traveno::personnel

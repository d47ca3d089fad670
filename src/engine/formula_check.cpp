#include "engine/formula_check.h"

#include "core/text.h"
#include "engine/formula.h"

namespace traveno::engine {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }
bool IsOperator(char c) { return c == '*' || c == '+' || c == ',' || c == '-' || c == '/'; }

bool IsAllowed(char c) {
  return IsLetter(c) || IsDigit(c) || c == '"' || c == '(' || c == ')' || IsOperator(c) ||
         c == '_';
}

// The whole character (one or more UTF-8 bytes) starting at `pos`.
std::string CharacterAt(const std::string& text, std::size_t pos) {
  std::size_t end = pos + 1;
  while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) ++end;
  return text.substr(pos, end - pos);
}

std::string S(char c) { return std::string(1, c); }

const char kMissingOperator[] = "Nu ati introdus operator matemetic intre \" ";

std::string MissingOperator(char a, char b) {
  return kMissingOperator + S(a) + " \" si \" " + S(b) + " \" !";
}

std::string Misplaced(char op, char other) {
  return "Operatorul matematic \" " + S(op) + " \" de langa \" " + S(other) +
         " \" nu este corect pozitionat !";
}

std::optional<std::string> CheckNames(const std::string& f, std::span<const FormulaField> fields,
                                      FormulaKind kind, double months) {
  int quotes = 0;
  for (char c : f) quotes += c == '"';
  if (quotes % 2 != 0) return "Atentie campurile trebuie incadrate de \" \" ! ";
  std::size_t pos = 0;
  while ((pos = f.find('"', pos)) != std::string::npos) {
    const std::size_t close = f.find('"', pos + 1);
    const std::string name = f.substr(pos + 1, close - pos - 1);
    pos = close + 1;
    if (name.empty()) continue;
    if (kind == FormulaKind::kHolidayPay && months == 0 && name == "BRUT") {
      return "Campul \" BRUT \" nu este acceptat daca se doreste calculul concediului de odihna "
             "in functie de valorile din luna curenta (Nr luni anterioare =0)! ";
    }
    bool known = false;
    for (const FormulaField& field : fields) known = known || EqualsIgnoreCase(field.name, name);
    if (!known) {
      return "Campul \" " + name +
             " \" nu este acceptat! \r\nVerificati lista campurilor acceptate.";
    }
  }
  return std::nullopt;
}

std::optional<std::string> CheckCharacters(const std::string& f) {
  bool inside = false;
  for (char c : f) {
    if (c == '"') inside = !inside;
    if (c == '_' && !inside) {
      return "Caracterul  \" _ \" nu este permis in afara campurilor! \r\nCaracterele trebuie "
             "sa se afle in intevalul \" A .. Z, a .. z, 0..9 \"";
    }
  }
  for (std::size_t i = 0; i < f.size(); ++i) {
    if (IsAllowed(f[i])) continue;
    const std::string c = CharacterAt(f, i);
    if (c == "%") {
      return "Caracterul  \" % \" nu este permis! \r\nFolositi operatorul \"/\" pentru procent \"";
    }
    return "Caracterul  \" " + c +
           " \" nu este permis! \r\nCaracterele trebuie sa se afle in intevalul \" A .. Z, a .. "
           "z, 0..9 \"";
  }
  return std::nullopt;
}

std::optional<std::string> CheckPlacement(const std::string& f) {
  const std::size_t last = f.size() - 1;
  for (std::size_t p = 0; p <= last; ++p) {
    const char c = f[p];
    const char b = p > 0 ? f[p - 1] : '\0';
    const char n = p < last ? f[p + 1] : '\0';
    if (p == 0 && !(c == '"' || c == '(' || IsDigit(c) || IsLetter(c))) {
      return "Caracterul  \" " + S(c) + " \" nu este permis \r\nla inceputul formulei !";
    }
    if (p == last && !(c == '"' || c == ')' || IsDigit(c) || IsLetter(c))) {
      return "Caracterul  \" " + S(c) + " \" nu este permis \r\nla sfarsitul formulei !";
    }
    if (p > 0) {
      if (IsOperator(b) && IsOperator(c)) {
        return "Nu sunt admisi doi operatori matematici consecutivi \" " + S(b) + " " + S(c) +
               " \" !";
      }
      if (c == '"' && n == ',') return "Nu este admisa virgula dupa \" \" \"  !";
      if (c == ',' && n == '"') return "Nu este admisa virgula inainte de \" \" \"  !";
    }
    if (c == '"' && IsDigit(n)) return MissingOperator(c, n);
    if (IsOperator(n) && c == '(') return Misplaced(n, c);
    if (n == ')' && IsOperator(c)) return Misplaced(c, n);
    if (c == ')' && n == '(') {
      return "Introduceti un operator matemetic intre cele doua paranteze \" )( \" !";
    }
    if (c == '(' && n == ')') return "Nu ati introdus nimic intre cele doua paranteze \" () \"!";
    if ((c == '"' && n == '(') || (IsDigit(c) && n == '(') || (n == '"' && c == ')') ||
        (IsDigit(n) && c == ')')) {
      return "Nu ati introdus operator matematic intre \" " + S(c) + " \" si \" " + S(n) + " \" !";
    }
    if (IsDigit(b) && c == '"' && IsLetter(n)) return MissingOperator(b, c);
    if (c == '"' && n == '"') return "Introduceti un operator matemetic intre  \"  \" !";
  }
  return std::nullopt;
}

}  // namespace

std::vector<FormulaField> AcceptedFormulaFields(FormulaKind kind, int bonus) {
  if (kind == FormulaKind::kHolidayPay) {
    return {{"Salariu de incadrare", "SalInc"}, {"Salariu Realizat", "Realizat"},
            {"Salariu Tarifar", "Tarifar"},     {"Brut", "Brut"},
            {"Spor 1", "Spor1"},                {"Val spor 1", "Vals1"},
            {"Spor 2", "Spor2"},                {"Val spor 2", "Vals2"},
            {"Spor 3", "Spor3"},                {"Val spor 3", "Vals3"},
            {"Spor 4", "Spor4"},                {"Val spor 4", "Vals4"}};
  }
  std::vector<FormulaField> fields = {
      {"Salariu de incadrare", "SalInc"}, {"Salariu Realizat", "Realizat"},
      {"Salariu Tarifar", "Tarifar"},     {"Val Timp Suplimentar", "Val_Timp_S"},
      {"Valoare Timp Noapte", "Suma_T_Noapte"}, {"Alte Sume", "Alte_Sume"},
      {"Alte Sporuri", "Sporuri"},        {"Prime", "Prime"},
      {"CM Firma", "CM1L"},               {"CIC", "CIC"},
      {"CM Stat", "CM2L"}};
  for (int i = 1; i < bonus && i < 4; ++i) {
    fields.push_back({"Val spor " + std::to_string(i), "Vals" + std::to_string(i)});
  }
  return fields;
}

std::optional<std::string> ValideazaFormula(std::string_view text,
                                            std::span<const FormulaField> fields,
                                            FormulaKind kind, double months) {
  const std::string f = UpperTrim(text);
  if (f.empty()) {
    if (kind == FormulaKind::kBonus) return "Nu ati introdus formula !";
    return std::nullopt;
  }
  if (kind == FormulaKind::kHolidayPay && months < 0) return "Numarul de luni nu este corect !";
  if (f.find(' ') != std::string::npos) return "Formula nu trebuie sa contina spatii !";
  int depth = 0;
  for (char c : f) {
    depth += c == '(' ? 1 : c == ')' ? -1 : 0;
    if (depth > kMaxFormulaDepth) return kFormulaTooDeep;
  }
  if (CharCount(f) > 60) return "Numarul maxim de caractere este 60 !";
  if (auto message = CheckNames(f, fields, kind, months)) return message;
  if (auto message = CheckCharacters(f)) return message;
  if (auto message = CheckPlacement(f)) return message;
  int open = 0;
  int close = 0;
  for (char c : f) {
    open += c == '(';
    close += c == ')';
  }
  if (open != close) {
    return "Numarul de paranteze nu este corect !\r\nExista " + std::to_string(open) +
           " paranteze deschise \"(\" si " + std::to_string(close) + " paranteze inchise \")\"";
  }
  return std::nullopt;
}

}  // namespace traveno::engine

#include "declarations/sheet_bands.h"

#include "core/numbers.h"

namespace traveno::declarations::sheet {
namespace {

using reports::Align;
using reports::Band;
using reports::Rect;

constexpr const char* kMonthNames[] = {"Ianuarie",   "Februarie", "Martie",    "Aprilie",
                                       "Mai",        "Iunie",     "Iulie",     "August",
                                       "Septembrie", "Octombrie", "Noiembrie", "Decembrie"};
constexpr const char* kShortNames[] = {"Ian", "Feb", "Mar", "Apr", "Mai", "Iun",
                                       "Iul", "Aug", "Sep", "Oct", "Noi", "Dec"};
constexpr double kMonthCell = (kWidth - kMonthCaptionWidth) / 12;

}  // namespace

reports::Font Normal() { return reports::Font{}; }
reports::Font Bold() { return reports::Font{}.Bold(); }

const char* MonthName(int month) { return kMonthNames[month - 1]; }

std::string Value(const std::string& text) { return text.empty() ? text : " " + text; }

std::string Amount(long double value) { return FormatNumber(value, NumberMask::kInteger) + " "; }

Band Title(const std::string& title, const std::string& subtitle, int year) {
  Band band(19);
  band.Text({kLeft, 0, kWidth, 7}, title, Bold().Sized(14), Align::kCenter);
  band.Text({kLeft, 7, kWidth, 5}, subtitle, Normal().Sized(9), Align::kCenter);
  band.Text({kLeft, 12, kWidth, 6}, "pe anul: " + std::to_string(year), Bold().Sized(10),
            Align::kCenter);
  return band;
}

Band Heading(const std::string& text) {
  Band band(8);
  band.Box({kLeft, 1, kWidth, 6}, 0.2, 225);
  band.Text({kLeft + 1, 1, kWidth - 2, 6}, text, Bold().Sized(8.5f));
  return band;
}

Band Text(const std::string& text, const reports::Font& font, double x) {
  Band band(kRowHeight);
  band.Text({x, 0, kRight - x, kRowHeight}, text, font);
  return band;
}

Band Gap(double height) { return Band(height); }

Band Fields(const std::vector<Field>& fields) {
  Band band(kRowHeight);
  double x = kLeft;
  for (const Field& field : fields) {
    if (!field.caption.empty()) {
      band.Text({x, 0.5, field.caption_width, 5}, field.caption, Normal());
    }
    x += field.caption_width;
    if (field.value_width > 0) {
      band.Box({x, 0.5, field.value_width, 5});
      band.Text({x + 0.5, 0.5, field.value_width - 1, 5}, field.value, Normal(), field.align);
      x += field.value_width + 2;
    }
  }
  return band;
}

Band Mark(bool set, const std::string& caption, double x) {
  Band band(kRowHeight);
  band.Box({x, 1, 4, 4});
  if (set) band.Text({x, 1, 4, 4}, "X", Bold(), Align::kCenter);
  band.Text({x + 6, 0.5, kRight - x - 6, 5}, caption, Normal());
  return band;
}

Band Marks(const std::vector<std::pair<std::string, bool>>& marks, double step) {
  Band band(kRowHeight);
  double x = kLeft;
  for (const auto& [caption, set] : marks) {
    band.Text({x, 0.5, step - 7, 5}, caption, Normal(), Align::kRight);
    band.Box({x + step - 6, 1, 4, 4});
    if (set) band.Text({x + step - 6, 1, 4, 4}, "X", Bold(), Align::kCenter);
    x += step;
  }
  return band;
}

Band MonthNames() {
  Band band(5);
  for (int m = 0; m < 12; ++m) {
    band.Text({kLeft + kMonthCaptionWidth + m * kMonthCell, 0, kMonthCell, 5}, kShortNames[m],
              Bold(), Align::kCenter);
  }
  return band;
}

Band MonthValues(const std::string& caption, const std::array<std::string, 12>& values) {
  Band band(kRowHeight);
  band.Text({kLeft, 0.5, kMonthCaptionWidth - 1, 5}, caption, Normal());
  for (int m = 0; m < 12; ++m) {
    const Rect cell{kLeft + kMonthCaptionWidth + m * kMonthCell, 0.5, kMonthCell, 5};
    band.Box(cell);
    band.Text({cell.x + 0.3, cell.y, cell.width - 0.6, cell.height},
              values[static_cast<std::size_t>(m)], Normal().Sized(7), Align::kRight);
  }
  return band;
}

Band TableRow(const std::vector<std::string>& cells, const std::vector<double>& widths, bool bold,
              double height) {
  Band band(height);
  double x = kLeft;
  for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
    band.Box({x, 0, widths[i], height});
    const Align align = i == 0 ? Align::kLeft : Align::kRight;
    const std::size_t split = cells[i].find('\n');
    if (split == std::string::npos) {
      band.Text({x + 0.5, 0, widths[i] - 1, height}, cells[i], bold ? Bold() : Normal(), align);
    } else {
      band.Text({x + 0.5, 0, widths[i] - 1, height / 2}, cells[i].substr(0, split),
                bold ? Bold() : Normal(), align);
      band.Text({x + 0.5, height / 2, widths[i] - 1, height / 2}, cells[i].substr(split + 1),
                bold ? Bold() : Normal(), align);
    }
    x += widths[i];
  }
  return band;
}

void Closing(reports::PageComposer& composer) {
  Band band(32);
  band.Text({kLeft, 0, kWidth, 5},
            "Sub sanctiunile aplicate faptei de fals in acte publice, declar ca datele din "
            "aceasta fisa fiscala sunt",
            Normal());
  band.Text({kLeft, 5, kWidth, 5}, "corecte si complete.", Normal());
  band.Text({kLeft, 13, 40, 5}, "Nume, prenume", Normal());
  band.Line(kLeft + 40, 18, kLeft + 110, 18);
  band.Text({kLeft, 20, 40, 5}, "Functia", Normal());
  band.Line(kLeft + 40, 25, kLeft + 110, 25);
  band.Text({kLeft + 120, 13, 70, 5}, "Semnatura si stampila angajatorului", Normal(),
            Align::kCenter);
  band.Line(kLeft + 125, 30, kRight - 5, 30);
  composer.Add(std::move(band));
}

}  // namespace traveno::declarations::sheet

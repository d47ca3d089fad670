// A date typed as dd.mm.yyyy that may stay blank: a blank box stands for
// the empty date 30.12.1899, as the employee row stores it.
#pragma once

#include <QLineEdit>
#include <optional>

#include "core/date.h"

namespace traveno::personnel_ui {

class DateBox : public QLineEdit {
  Q_OBJECT

 public:
  explicit DateBox(QWidget* parent = nullptr);

  // Shows a date; the empty date shows a blank box.
  void SetDate(Date date);
  bool IsBlank() const;
  // The date typed: the empty date for a blank box, nothing when the text
  // is not a calendar date.
  std::optional<Date> TypedDate() const;
};

// The message of a date that does not exist.
inline constexpr const char* kBadDate = "Data introdusa nu este corecta !";

}  // namespace traveno::personnel_ui

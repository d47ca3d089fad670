// What the declaration windows ask of the world outside them: the print
// preview of a prepared document, the choice between text and dBASE files,
// the save dialog and today's date. The desktop program gives its own
// windows; tests give scripted answers.
#pragma once

#include <QString>
#include <filesystem>
#include <functional>
#include <optional>

#include "core/date.h"
#include "declarations/declaration_files.h"
#include "reports/page_composer.h"

class QWidget;

namespace traveno::declarations_ui {

struct DeclarationHooks {
  // Shows a document in the print preview (modal). Null: printing is not
  // available, and the windows refuse print mode.
  std::function<void(const reports::Report& report, QWidget* parent)> show_preview;
  // The choice of "Transmitere electronica": empty when abandoned.
  std::function<std::optional<declarations::FilingForm>(QWidget* parent)> choose_form;
  // The save dialog, starting on `proposed` (a folder and a file name):
  // empty when cancelled.
  std::function<std::optional<std::filesystem::path>(QWidget* parent,
                                                     const std::filesystem::path& proposed)>
      choose_file;
  std::function<Date()> today;
};

// The desktop's hooks: the transmission choice window (`TFTransmEl`), the
// declaration files' save dialog and the machine's date, with the given
// preview (null when there is none).
DeclarationHooks DesktopDeclarationHooks(
    std::function<void(const reports::Report&, QWidget*)> show_preview);

}  // namespace traveno::declarations_ui

#include "declarations/ui/declaration_hooks.h"

#include <QFileDialog>

#include "declarations/declaration_header.h"
#include "declarations/ui/transmission_choice_window.h"

namespace traveno::declarations_ui {

DeclarationHooks DesktopDeclarationHooks(
    std::function<void(const reports::Report&, QWidget*)> show_preview) {
  DeclarationHooks hooks;
  hooks.show_preview = std::move(show_preview);
  hooks.choose_form = [](QWidget* parent) -> std::optional<declarations::FileForm> {
    TransmissionChoiceWindow window(parent);
    if (window.exec() != QDialog::Accepted) return std::nullopt;
    return window.form();
  };
  hooks.choose_file =
      [](QWidget* parent,
         const std::filesystem::path& proposed) -> std::optional<std::filesystem::path> {
    const QString chosen = QFileDialog::getSaveFileName(
        parent, "Salvare " + QString::fromStdString(proposed.filename().string()),
        QString::fromStdString(proposed.string()), "Fisierele(*.txt,*.dbf) (*.txt *.dbf)");
    if (chosen.isEmpty()) return std::nullopt;
    return std::filesystem::path(chosen.toStdString());
  };
  hooks.today = [] { return declarations::LocalToday(); };
  return hooks;
}

}  // namespace traveno::declarations_ui

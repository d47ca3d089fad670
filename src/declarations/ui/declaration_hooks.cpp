#include "declarations/ui/declaration_hooks.h"

#include "core/clock.h"
#include "declarations/ui/transmit_windows.h"

namespace traveno::declarations_ui {

DeclarationHooks DesktopDeclarationHooks(
    std::function<void(const reports::Report&, QWidget*)> show_preview) {
  DeclarationHooks hooks;
  hooks.show_preview = std::move(show_preview);
  hooks.choose_form = [](QWidget* parent) -> std::optional<declarations::FilingForm> {
    TransmitFormWindow window(parent);
    if (window.exec() != QDialog::Accepted) return std::nullopt;
    return window.form();
  };
  hooks.choose_file =
      [](QWidget* parent,
         const std::filesystem::path& proposed) -> std::optional<std::filesystem::path> {
    const QString chosen = AskDeclarationPath(
        parent, "Salvare " + QString::fromStdString(proposed.filename().string()),
        QString::fromStdString(proposed.parent_path().string()),
        QString::fromStdString(proposed.filename().string()));
    if (chosen.isEmpty()) return std::nullopt;
    return std::filesystem::path(chosen.toStdString());
  };
  hooks.today = [] { return Today(); };
  return hooks;
}

}  // namespace traveno::declarations_ui

#include "cli/cli_prompter.h"

#include "core/text.h"

namespace traveno::cli {

std::string TerminalText(const std::string& text) {
  std::string result = ReplaceAll(text, "\r\n", "\n");
  result = ReplaceAll(result, "\n\r", "\n");
  return ReplaceAll(result, "\r", "\n");
}

void CliPrompter::Message(MessageKind, const std::string& text) {
  // Standard output carries only the command's results (a listing, JSON):
  // every message, a refusal or a notice, goes to standard error.
  err_ << TerminalText(text) << "\n";
}

bool CliPrompter::AskYesNo(const std::string& text) {
  err_ << TerminalText(text) << (yes_ ? " [--yes: Da]" : " [Nu; --yes raspunde Da]") << "\n";
  return yes_;
}

std::optional<std::string> CliPrompter::AskText(const std::string&, const std::string& label,
                                                const std::string& initial) {
  err_ << TerminalText(label) << " " << initial << "\n";
  return initial;
}

std::string CliPrompter::AskTypedConfirmation(const std::string& text) {
  err_ << TerminalText(text) << (confirm_ ? " [--confirm: CONFIRM]" : " [--confirm lipseste]")
       << "\n";
  return confirm_ ? "CONFIRM" : "";
}

}  // namespace traveno::cli

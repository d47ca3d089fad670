// The prompter of the command line: messages go to standard error (standard
// output is kept for the command's results), questions are answered by the flags: --yes answers
// Yes, --confirm types the confirmation word; without them the answer is No.
#pragma once

#include <ostream>

#include "core/prompter.h"

namespace traveno::cli {

class CliPrompter final : public Prompter {
 public:
  CliPrompter(std::ostream& out, std::ostream& err, bool yes, bool confirm)
      : out_(out), err_(err), yes_(yes), confirm_(confirm) {}

  void Message(MessageKind kind, const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  std::optional<std::string> AskText(const std::string& caption, const std::string& label,
                                     const std::string& initial) override;
  std::string AskTypedConfirmation(const std::string& text) override;

 private:
  std::ostream& out_;
  std::ostream& err_;
  bool yes_;
  bool confirm_;
};

// A message's text for a terminal: the program's CR LF and LF CR line
// breaks become plain line feeds.
std::string TerminalText(const std::string& text);

}  // namespace traveno::cli

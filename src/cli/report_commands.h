// The printed documents of traveno-cli: "report NAME" prepares a document of
// a company's month as the desktop program does, and prints its pages as
// text lines or writes them as a PDF file.
#pragma once

#include <CLI/CLI.hpp>

#include "cli/cli_context.h"
#include "core/prompter.h"
#include "reports/document.h"

namespace traveno::cli {

void RegisterReportCommands(CLI::App& app, CliContext& context);

// Writes a prepared document as a PDF file, drawn as the desktop draws it,
// advancing `progress` page by page when given. Throws Error, before anything
// is written, when the file is one of the program's own files of the
// command's data folder (ProgramFileRefusal), and when the file cannot be
// written or the program was built without the window layer.
void WritePdfFile(const CliContext& context, const reports::Document& document,
                  const std::string& file, ProgressReporter* progress = nullptr);

}  // namespace traveno::cli

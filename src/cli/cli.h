#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "list/object_list.h"
#include "output/print_layout.h"

namespace quillet {

// Exit statuses, as diff taught everyone: 0 fine, 1 the files differ (compare --different found
// rows), 2 trouble.
inline constexpr int kExitOk = 0;
inline constexpr int kExitDifferent = 1;
inline constexpr int kExitTrouble = 2;

// Writes the printout of `list` as a PDF file, whole or not at all; empty when written, else
// why not.
using PdfWriter = std::function<std::string(const std::filesystem::path& path,
                                            const ObjectList& list, const PrintHeader& header)>;

// Runs quillet-cli with its arguments (the program name left out); writes results to `out` and
// messages to `err`; gives the exit status. `write_pdf` serves --pdf.
int RunCli(const std::vector<std::string>& arguments, std::FILE* out, std::FILE* err,
           const PdfWriter& write_pdf);

}  // namespace quillet

#pragma once

#include <string>
#include <string_view>

namespace quillet {

// quillet-cli(1) in roff, made from the --help text and the table of options, so the manual
// page says what --help says. `date` is the page's date as its footer shows it.
std::string CliManPage(std::string_view version, std::string_view date);

// The text as roff takes it inside a paragraph: backslashes and dashes escaped (a dash stays
// the ASCII one, which the user types), a line starting with a control character guarded.
std::string RoffText(std::string_view text);

// Empty when every example of the page is a command quillet-cli takes, else which is not.
std::string CheckManPageExamples();

}  // namespace quillet

#pragma once

#include <string>

namespace quillet {

// quillet-cli's completion for bash (with the bash-completion package), made from the table of
// options and from the names the options take, so later options and values complete too.
std::string CliBashCompletion();

// Empty when every value the completion offers is one quillet-cli takes, else which is not.
std::string CheckCompletionValues();

}  // namespace quillet

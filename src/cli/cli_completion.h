#pragma once

#include <string>

namespace quillet {

// quillet-cli's completions for bash (with the bash-completion package), zsh and fish, made
// from the table of options and from the names the options take, so later options and values
// complete too. Each offers the commands, the options, the names --types, --criteria, --format
// and --show take, and .fob and .fbk files.
std::string CliBashCompletion();
std::string CliZshCompletion();
std::string CliFishCompletion();

// Empty when every value the completions offer is one quillet-cli takes, else which is not.
std::string CheckCompletionValues();

}  // namespace quillet

// nivractl's reference texts, made from the command registry so they always name the
// commands there are: the manual page, the shell completion scripts, and the candidates
// those scripts ask for at each word.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nivractl {

// One usage line of the registry read as a grammar: the alternatives of the arguments,
// each a list of words; a word is a literal ("list", "--json"), a choice ("on|off"), or a
// placeholder ("FILE", "N").
struct CommandSyntax {
    std::string name;                                   // "set cpi"
    std::string synopsis;                               // "set cpi count N | level N VALUE | ..."
    std::string description;                            // the text after the synopsis, one line
    std::vector<std::vector<std::string>> alternatives;  // the words after the name, per alternative
};
CommandSyntax syntaxOf(std::string_view name, std::string_view usage);

// The manual page nivractl(1), in groff's man macros.
std::string manPage();

// The completion script for "bash", "zsh" or "fish"; nullopt for another shell. The scripts
// ask `nivractl --complete -- WORD...` for the candidates of the last word.
std::optional<std::string> completionScript(std::string_view shell);

// What may stand as the last of `words` (the words after the program name, the last one the
// word being completed): the candidates, unfiltered; "@file" among them asks for file names.
std::vector<std::string> completions(const std::vector<std::string>& words);

}  // namespace nivractl

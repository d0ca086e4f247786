// nivractl's manual page and shell completions, made from the command registry.
#include "tools/nivractl/reference.h"

#include "tools/nivractl/command.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <sstream>

namespace nivractl {

namespace {

// The device options, shared with the window, in the order the manual page lists them.
struct OptionDoc {
    const char* name;
    const char* argument;  // groff text after the name ("" for none)
    const char* text;
};
constexpr OptionDoc kOptions[] = {
    {"--simulate", "[=\\fIMEMFILE\\fR]",
     "Talk to the simulated mouse instead of a real one. With \\fIMEMFILE\\fR its memory is read from that "
     "file (a missing file starts from built-in image 1) and saved back to it when the command ends."},
    {"--simulate-fault", " \\fIKIND\\fR@\\fIN\\fR",
     "The simulated mouse fails report \\fIN\\fR (counted as the trace numbers them): \\fBrefuse-set\\fR, "
     "\\fBfail-get\\fR, \\fBvanish\\fR or \\fBvanish-return\\fR (back at the next discovery). May be given more "
     "than once."},
    {"--trace", " \\fIFILE\\fR", "Write every report sent to or read from the mouse to \\fIFILE\\fR."},
    {"--help", "", "Show the commands and exit."},
    {"--version", "", "Show the version and exit."},
    {"--completion", " \\fISHELL\\fR",
     "Print the completion script for \\fBbash\\fR, \\fBzsh\\fR or \\fBfish\\fR and exit."},
};
constexpr const char* kFaultKinds[] = {"refuse-set@", "fail-get@", "vanish@", "vanish-return@"};

std::string trim(std::string_view s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(s.substr(first, s.find_last_not_of(' ') - first + 1));
}

std::vector<std::string> split(std::string_view s, std::string_view by) {
    std::vector<std::string> out;
    for (std::size_t at = 0;;) {
        const std::size_t next = s.find(by, at);
        out.emplace_back(s.substr(at, next == std::string_view::npos ? std::string_view::npos : next - at));
        if (next == std::string_view::npos) return out;
        at = next + by.size();
    }
}

// A word of a synopsis without the brackets that mark it optional.
std::string bare(std::string word) {
    word.erase(std::remove_if(word.begin(), word.end(), [](char c) { return c == '[' || c == ']'; }), word.end());
    return word;
}

bool isLiteral(const std::string& word) {
    if (word.starts_with("--")) return true;
    return !word.empty() && std::islower(static_cast<unsigned char>(word[0])) &&
           std::all_of(word.begin(), word.end(), [](char c) {
               return std::islower(static_cast<unsigned char>(c)) || std::isdigit(static_cast<unsigned char>(c)) ||
                      c == '-';
           });
}

bool namesFile(const std::string& placeholder) {
    return placeholder == "FILE" || placeholder == "IMAGE" || placeholder == "MEMFILE";
}

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The candidates a synopsis word offers: its literal, its choices, or "@file".
std::vector<std::string> offered(const std::string& word) {
    const std::string w = bare(word);
    if (w.find('|') != std::string::npos) return split(w, "|");
    if (isLiteral(w)) return {w};
    if (namesFile(w)) return {"@file"};
    return {};
}

// A typed word stands where the synopsis word is: any word for a placeholder.
bool fits(const std::string& word, const std::string& typed) {
    const std::string w = bare(word);
    if (w.find('|') != std::string::npos) {
        for (const std::string& choice : split(w, "|"))
            if (lower(choice) == lower(typed)) return true;
        return false;
    }
    if (isLiteral(w)) return w == typed;
    return true;
}

// The candidates for the last of `args` under one command's alternatives.
void complete(const CommandSyntax& syntax, const std::vector<std::string>& args, std::vector<std::string>& out) {
    const std::size_t k = args.size() - 1;
    for (const std::vector<std::string>& alt : syntax.alternatives) {
        if (alt.empty()) continue;
        // A last word "HEX..." repeats.
        const bool repeats = alt.back().ends_with("...");
        if (alt.size() <= k && !repeats) continue;
        const auto wordAt = [&](std::size_t i) -> const std::string& { return alt[std::min(i, alt.size() - 1)]; };
        bool match = true;
        for (std::size_t i = 0; i < k && match; ++i) match = fits(wordAt(i), args[i]);
        if (!match) continue;
        for (const std::string& c : offered(wordAt(k))) out.push_back(c);
    }
}

std::vector<CommandSyntax> sortedSyntax() {
    std::vector<CommandSyntax> all;
    for (const Command& c : commands()) all.push_back(syntaxOf(c.name, c.usage));
    std::sort(all.begin(), all.end(), [](const CommandSyntax& a, const CommandSyntax& b) { return a.name < b.name; });
    return all;
}

// Text for a groff line: backslashes doubled as \e; a line never starts a request.
std::string roff(std::string_view text, bool minus = false) {
    std::string out = "\\&";
    for (const char c : text) {
        if (c == '\\') out += "\\e";
        else if (c == '-' && minus) out += "\\-";
        else out += c;
    }
    return out;
}

// A synopsis in the manual's type: literal words bold, placeholders italic.
std::string synopsisRoff(const CommandSyntax& s) {
    std::string out;
    for (const std::string& token : split(s.synopsis, " ")) {
        if (token.empty()) continue;
        if (!out.empty()) out += ' ';
        if (token == "|") {
            out += '|';
            continue;
        }
        std::string open, close, word = token;
        while (!word.empty() && word.front() == '[') open += '[', word.erase(0, 1);
        while (!word.empty() && word.back() == ']') close += ']', word.pop_back();
        std::string body;
        for (const std::string& part : split(word, "|")) {
            if (!body.empty()) body += '|';
            const bool literal = isLiteral(part) || std::all_of(part.begin(), part.end(), [](char c) {
                return std::isdigit(static_cast<unsigned char>(c)) || c == '.';
            });
            body += (literal ? "\\fB" : "\\fI") + roff(part, true).substr(2) + "\\fR";
        }
        out += open + body + close;
    }
    return out;
}

}  // namespace

CommandSyntax syntaxOf(std::string_view name, std::string_view usage) {
    CommandSyntax s;
    s.name = std::string(name);
    const std::vector<std::string> lines = split(usage, "\n");
    // The first line: the synopsis, then after a gap of two or more blanks its description.
    const std::string& first = lines.front();
    const std::size_t gap = first.find("  ");
    s.synopsis = trim(first.substr(0, gap));
    std::string description = gap == std::string::npos ? std::string() : trim(first.substr(gap));
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string more = trim(lines[i]);
        if (more.empty()) continue;
        description += (description.empty() ? "" : " ") + more;
    }
    s.description = description;
    // The arguments: the synopsis after the name, alternatives split at " | "; an
    // alternative may repeat the name ("pointer | pointer set ...").
    std::string args = s.synopsis.starts_with(s.name) ? s.synopsis.substr(s.name.size()) : s.synopsis;
    for (std::string alt : split(args, " | ")) {
        alt = trim(alt);
        if (alt == s.name) alt.clear();
        else if (alt.starts_with(s.name + " ")) alt = alt.substr(s.name.size() + 1);
        std::vector<std::string> words;
        for (const std::string& w : split(alt, " "))
            if (!w.empty()) words.push_back(w);
        s.alternatives.push_back(std::move(words));
    }
    return s;
}

std::vector<std::string> completions(const std::vector<std::string>& words) {
    if (words.empty()) return {};
    const std::size_t last = words.size() - 1;
    // The global options before the command name; two of them take the next word.
    std::size_t at = 0;
    for (; at < last; ++at) {
        const std::string& w = words[at];
        if (w == "--trace" || w == "--simulate-fault") {
            if (at + 1 == last) {
                if (w == "--trace") return {"@file"};
                return std::vector<std::string>(std::begin(kFaultKinds), std::end(kFaultKinds));
            }
            ++at;
            continue;
        }
        if (!w.starts_with("-")) break;
    }
    std::vector<std::string> out;
    if (at == last) {
        if (words[last].starts_with("-")) {
            for (const OptionDoc& o : kOptions) out.push_back(o.name);
            out.push_back("--simulate=");
            return out;
        }
        std::set<std::string> names;
        for (const Command& c : commands()) names.insert(c.name.substr(0, c.name.find(' ')));
        return {names.begin(), names.end()};
    }
    const std::string& typed = words[at];
    const std::vector<std::string> args(words.begin() + static_cast<std::ptrdiff_t>(at) + 1, words.end());
    for (const CommandSyntax& s : sortedSyntax()) {
        const std::size_t space = s.name.find(' ');
        if (s.name.substr(0, space) != typed) continue;
        if (space == std::string::npos) {
            complete(s, args, out);
        } else if (args.size() == 1) {
            out.push_back(s.name.substr(space + 1));
        } else if (args[0] == s.name.substr(space + 1)) {
            complete(s, std::vector<std::string>(args.begin() + 1, args.end()), out);
        }
    }
    std::vector<std::string> unique;
    for (const std::string& c : out)
        if (std::find(unique.begin(), unique.end(), c) == unique.end()) unique.push_back(c);
    return unique;
}

std::string manPage() {
    std::ostringstream m;
    // No hyphenation and a ragged right edge: synopses and paths stay whole.
    m << ".TH NIVRACTL 1 \"\" \"nivractl " << NIVRA_VERSION << "\" \"User Commands\"\n.nh\n.ad l\n"
      << ".SH NAME\nnivractl \\- read and change the configuration of a Nivra mouse from a shell\n"
      << ".SH SYNOPSIS\n.B nivractl\n[\\fIOPTIONS\\fR] \\fICOMMAND\\fR [\\fIARGS\\fR...]\n.br\n"
      << ".B nivractl\n\\-\\-help | \\-\\-version | \\-\\-completion \\fISHELL\\fR\n"
      << ".SH DESCRIPTION\n"
      << "\\fBnivractl\\fR finds the mouse, reads its whole configuration and makes one change through the same "
         "models the window \\fBnivra-configurator\\fR(1) uses, so the mouse receives the same reports. Commands "
         "that only read files (\\fBbuiltin\\fR, \\fBshow \\-\\-file\\fR, \\fBmacro compile\\fR, \\fBlibrary\\fR) need "
         "no mouse.\n.PP\n"
      << "Each command prints its result on standard output and a one-line message on standard error when it "
         "fails. A change counts only when the mouse accepted every report of it.\n"
      << ".SH OPTIONS\nThe options come before the command.\n";
    for (const OptionDoc& o : kOptions) {
        m << ".TP\n\\fB" << roff(o.name, true).substr(2) << "\\fR" << o.argument << '\n' << o.text << '\n';
    }
    m << ".SH COMMANDS\n";
    for (const CommandSyntax& s : sortedSyntax()) {
        m << ".TP\n" << synopsisRoff(s) << '\n';
        if (!s.description.empty()) m << roff(s.description) << '\n';
    }
    m << ".SH EXIT STATUS\n"
      << ".TP\n.B 0\nThe command did what it was asked.\n"
      << ".TP\n.B 1\nIt failed; standard error says why (no mouse, a refused write, a file that cannot be "
         "read ...).\n"
      << ".TP\n.B 2\nThe command line was not understood; standard error shows the usage.\n"
      << ".SH FILES\n"
      << ".TP\n.I $XDG_STATE_HOME/nivra/backups/\nThe configuration read at each connection, the newest 20 kept "
         "(default \\fI~/.local/state/nivra/backups/\\fR); \\fBbackups\\fR lists them, \\fBload\\fR takes one "
         "back.\n"
      << ".TP\n.I $XDG_DATA_HOME/nivra/Nivra\\-Macro.bin\nThe PC macro library of \\fBlibrary\\fR and "
         "\\fBmacro add\\fR (default \\fI~/.local/share/nivra/\\fR; the layout key Path may name another "
         "folder).\n"
      << ".TP\n.I $XDG_CONFIG_HOME/nivra/pointer\\-settings.ini\nThe pointer settings of \\fBpointer set\\fR "
         "(default \\fI~/.config/nivra/\\fR).\n"
      << ".SH SEE ALSO\n\\fBnivra-configurator\\fR(1)\n";
    return m.str();
}

std::optional<std::string> completionScript(std::string_view shell) {
    if (shell == "bash") {
        return R"(# bash completion for nivractl: the candidates come from nivractl itself.
_nivractl() {
    local cur=${COMP_WORDS[COMP_CWORD]} line files=0 w
    local -a words=()
    while IFS= read -r line; do
        if [[ $line == @file ]]; then files=1; else words+=("$line"); fi
    done < <(command nivractl --complete -- "${COMP_WORDS[@]:1:COMP_CWORD}" 2>/dev/null)
    COMPREPLY=()
    for w in "${words[@]}"; do
        [[ $w == "$cur"* ]] && COMPREPLY+=("$w")
    done
    if ((files)); then
        compopt -o filenames 2>/dev/null
        while IFS= read -r line; do COMPREPLY+=("$line"); done < <(compgen -f -- "$cur")
    fi
    [[ ${#COMPREPLY[@]} -eq 1 && ${COMPREPLY[0]} == *[=@] ]] && compopt -o nospace 2>/dev/null
    return 0
}
complete -F _nivractl nivractl
)";
    }
    if (shell == "zsh") {
        return R"(#compdef nivractl
# zsh completion for nivractl: the candidates come from nivractl itself.
_nivractl() {
    local line
    local -i files=0
    local -a candidates
    for line in "${(@f)$(command nivractl --complete -- "${(@)words[2,CURRENT]}" 2>/dev/null)}"; do
        if [[ $line == @file ]]; then
            files=1
        elif [[ -n $line ]]; then
            candidates+=("$line")
        fi
    done
    (( ${#candidates} )) && compadd -a candidates
    (( files )) && _files
    return 0
}
if [[ $funcstack[1] == _nivractl ]]; then
    _nivractl "$@"
else
    compdef _nivractl nivractl
fi
)";
    }
    if (shell == "fish") {
        return R"(# fish completion for nivractl: the candidates come from nivractl itself.
function __nivractl_complete
    set -l words (commandline -opc)
    set -e words[1]
    set -l current (commandline -ct)
    for line in (command nivractl --complete -- $words "$current" 2>/dev/null)
        if test "$line" = "@file"
            __fish_complete_path "$current"
        else
            echo $line
        end
    end
end
complete -c nivractl -f -a '(__nivractl_complete)'
)";
    }
    return std::nullopt;
}

}  // namespace nivractl

#!/bin/sh
# window_man.sh PROGRAM VERSION OUTPUT: writes the window's manual page from its own --help
# text, so the page lists exactly the options the program takes. The usage line becomes the
# synopsis; each option line (two blanks, the option, two or more blanks, its text, continued
# on indented lines) an entry of OPTIONS.
set -eu
program=$1 version=$2 output=$3
help=$(ASAN_OPTIONS=detect_leaks=0 "$program" --help)

# groff text: backslashes as \e, minus signs as \-; no line starts a request.
options=$(printf '%s\n' "$help" | awk '
  function roff(s) { gsub(/\\/, "\\e", s); gsub(/-/, "\\-", s); return s }
  function flush() {
    if (name != "") { gsub(/\\/, "\\e", text); printf ".TP\n\\fB%s\\fR%s\n\\&%s\n", opt, rest, text }
    name = ""
  }
  /^  -/ {
    flush()
    line = substr($0, 3)
    gap = match(line, /   */)
    name = gap ? substr(line, 1, gap - 1) : line
    text = gap ? substr(line, gap + RLENGTH) : ""
    split(name, w, " ")
    opt = roff(w[1]); sub(/\[.*/, "", opt)
    rest = roff(substr(name, length(w[1]) + 1))
    if (index(w[1], "[")) rest = roff(substr(w[1], index(w[1], "["))) rest
    next
  }
  /^    / && name != "" { t = $0; sub(/^ +/, "", t); text = text " " t; next }
  END { flush() }')
synopsis=$(printf '%s\n' "$help" | sed -n 's/^usage: nivra-configurator //p' | sed 's/\\/\\e/g; s/-/\\-/g')
if [ -z "$options" ] || [ -z "$synopsis" ]; then
  echo "$program --help gave no usage line or no options" >&2
  exit 1
fi

cat >"$output.tmp" <<PAGE
.TH NIVRA-CONFIGURATOR 1 "" "nivra-configurator $version" "User Commands"
.nh
.ad l
.SH NAME
nivra-configurator \\- set the buttons, CPI levels, lighting and macros of a Nivra mouse
.SH SYNOPSIS
.B nivra-configurator
$synopsis
.SH DESCRIPTION
\\fBnivra-configurator\\fR is the window that shows the configuration of a USB gaming mouse
built on the Nivra chip and sends every change to the mouse at once: the buttons of the three
profiles, the CPI levels and report rate, the lighting, the device and fire macros, the gun
keys, and the desktop's pointer settings. It finds the mouse when it is plugged in; without a
mouse it shows the built-in configuration.
.PP
The user at the seat may open the mouse without root once the udev rule of the package is
installed and the mouse plugged in again. A second start brings the running window forward.
.SH OPTIONS
$options
.SH FILES
.TP
.I \$XDG_STATE_HOME/nivra/backups/
The configuration read at each connection, the newest 20 kept (default
\\fI~/.local/state/nivra/backups/\\fR).
.TP
.I \$XDG_DATA_HOME/nivra/Nivra\\-Macro.bin
The PC macro library (default \\fI~/.local/share/nivra/\\fR).
.TP
.I \$XDG_CONFIG_HOME/nivra/pointer\\-settings.ini
The pointer settings of the Advanced page (default \\fI~/.config/nivra/\\fR).
.SH SEE ALSO
\\fBnivractl\\fR(1)
PAGE
mv "$output.tmp" "$output"

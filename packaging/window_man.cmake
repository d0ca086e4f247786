# cmake -DPROGRAM=nivra-configurator -DOUTPUT=nivra-configurator.1 -DVERSION=x.y.z -P window_man.cmake
# Writes the window's manual page from its own --help text, so the page lists exactly the
# options the program takes: the usage line becomes the synopsis, each option line (two
# blanks, then the option, two or more blanks, its text, continued on indented lines) an
# entry of OPTIONS.
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help failed: ${rc}")
endif()

# groff text: backslashes as \e, minus signs as \-.
function(roff out text)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

string(REPLACE "\n" ";" lines "${help}")
set(synopsis "")
set(options "")
set(entry "")
foreach(line IN LISTS lines)
  if(line MATCHES "^usage: nivra-configurator (.*)$")
    roff(synopsis "${CMAKE_MATCH_1}")
  elseif(line MATCHES "^  (-[^ ].*[^ ]) [ ]+(.*)$")
    if(entry)
      string(APPEND options "${entry}\n")
    endif()
    roff(name "${CMAKE_MATCH_1}")
    string(REGEX REPLACE "^(\\\\-[^ ]*)" "\\\\fB\\1\\\\fR" name "${name}")
    set(entry ".TP\n${name}\n\\&${CMAKE_MATCH_2}")
  elseif(line MATCHES "^   +(.*)$" AND entry)
    string(APPEND entry " ${CMAKE_MATCH_1}")
  endif()
endforeach()
if(entry)
  string(APPEND options "${entry}\n")
endif()
if(synopsis STREQUAL "" OR options STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help gave no usage line or no options:\n${help}")
endif()

file(WRITE ${OUTPUT} ".TH NIVRA-CONFIGURATOR 1 \"\" \"nivra-configurator ${VERSION}\" \"User Commands\"
.nh
.ad l
.SH NAME
nivra-configurator \\- set the buttons, CPI levels, lighting and macros of a Nivra mouse
.SH SYNOPSIS
.B nivra-configurator
${synopsis}
.SH DESCRIPTION
\\fBnivra-configurator\\fR is the window that shows the configuration of a USB gaming mouse built on
the Nivra chip and sends every change to the mouse at once: the buttons of the three profiles, the
CPI levels and report rate, the lighting, the device and fire macros, the gun keys, and the
desktop's pointer settings. It finds the mouse when it is plugged in; without a mouse it shows the
built-in configuration.
.PP
The user at the seat may open the mouse without root once the udev rule of the package is installed
and the mouse plugged in again.
.SH OPTIONS
${options}.SH FILES
.TP
.I $XDG_STATE_HOME/nivra/backups/
The configuration read at each connection, the newest 20 kept (default
\\fI~/.local/state/nivra/backups/\\fR).
.TP
.I $XDG_DATA_HOME/nivra/Nivra\\-Macro.bin
The PC macro library (default \\fI~/.local/share/nivra/\\fR).
.TP
.I $XDG_CONFIG_HOME/nivra/pointer\\-settings.ini
The pointer settings of the Advanced page (default \\fI~/.config/nivra/\\fR).
.SH SEE ALSO
\\fBnivractl\\fR(1)
")

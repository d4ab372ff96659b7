# Makes the manual page zir(1) from the program's own help, so that the two never disagree:
#   cmake -DPROGRAM=path/to/zir -DVERSION=x.y.z -DOUTPUT=zir.1.gz -P ManPage.cmake
# The help's sections ("commands:", "options:") become the page's; everything else stays as
# the help has it, in no-fill mode. gzip -9n: Debian wants it compressed, without a time stamp.
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR help STREQUAL "")
  message(FATAL_ERROR "${PROGRAM} --help failed (${status})")
endif()

# roff: a backslash is written \e; a line starting with . or ' would be a request.
string(REPLACE "\\" "\\e" help "${help}")
string(REPLACE "-" "\\-" help "${help}")
string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" help "${help}")
string(REGEX REPLACE "^usage: ([^\n]*)\n" "" body "${help}")
set(synopsis "${CMAKE_MATCH_1}")
string(REGEX REPLACE "^\n+" "" body "${body}")
string(REGEX REPLACE "(^|\n)commands:\n" "\\1.SH COMMANDS\n.nf\n" body "${body}")
string(REGEX REPLACE "(^|\n)options:\n" "\\1.fi\n.SH OPTIONS\n.nf\n" body "${body}")

set(page ".TH ZIR 1 \"\" \"zir ${VERSION}\" \"User Commands\"
.SH NAME
zir \\- local identity\\-card web service
.SH SYNOPSIS
.B ${synopsis}
.SH DESCRIPTION
zir reads the identity card on the attached reader through the vendor's reader library and
answers GET http://127.0.0.1:PORT/ with the holder's data as JSON. Started without a command it
runs the service; the commands read the card once, show or change the settings, or switch the
start at log\\-on. The settings file and the simulated reader are described in
/usr/share/doc/zir/README.md.
${body}.fi
")
get_filename_component(folder ${OUTPUT} DIRECTORY)
file(WRITE ${folder}/zir.1 "${page}")
execute_process(COMMAND gzip -9nc ${folder}/zir.1 OUTPUT_FILE ${OUTPUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed (${status})")
endif()

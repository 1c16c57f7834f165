# Writes a man page: TEMPLATE with @HELP@ replaced by PROGRAM's --help text,
# followed by each subcommand's --help (the names listed under
# "Subcommands:"), then compresses it to OUTPUT.gz.
#   cmake -DPROGRAM=path -DNAME=name -DVERSION=x.y -DTEMPLATE=file.1.in -DOUTPUT=file.1 -P ManPage.cmake

# The help text as troff shows it verbatim: backslashes and minus signs
# escaped, lines that would read as requests protected.
function(help_text out)
  execute_process(COMMAND ${PROGRAM} ${ARGN} --help OUTPUT_VARIABLE text RESULT_VARIABLE status)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} ${ARGN} --help failed: ${status}")
  endif()
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  string(REGEX REPLACE "(^|\n)([.'])" "\\1\\\\&\\2" text "${text}")
  string(STRIP "${text}" text)
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

help_text(HELP)
string(REGEX MATCH "Subcommands:\n(  [^\n]*\n?)*" listing "${HELP}")
string(REGEX MATCHALL "\n  [a-z][a-z\\\\-]*" names "${listing}")
foreach(name IN LISTS names)
  string(STRIP "${name}" name)
  string(REPLACE "\\-" "-" name "${name}")
  help_text(sub ${name})
  string(APPEND HELP "\n.fi\n.SS ${NAME} ${name}\n.nf\n${sub}")
endforeach()
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
file(ARCHIVE_CREATE OUTPUT ${OUTPUT}.gz PATHS ${OUTPUT} FORMAT raw COMPRESSION GZip)

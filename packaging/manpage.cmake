# Writes a manual page from its template: fills in the version, the release date and the
# item list, which it reads from the item table through "orvex-calc --list".
#   cmake -DCALC=orvex-calc -DTEMPLATE=x.1.in -DOUTPUT=x.1 -DPROJECT_VERSION=4.0
#         -DORVEX_RELEASE_DATE=2026-12-09 -P manpage.cmake

# Text as roff shows it literally: backslashes and minus signs escaped, and a line that
# would start with a control character guarded.
function(roff_text text out)
  string(REPLACE "\\" "\\e" text "${text}")
  string(REPLACE "-" "\\-" text "${text}")
  if(text MATCHES "^[.']")
    set(text "\\&${text}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Takes text apart at its first separator: the part before it into part, the rest after it
# back into text (empty at the end). By position, not as a CMake list, so that ";" and
# brackets in the texts stay as they are.
function(take_part text_var sep part_var)
  set(text "${${text_var}}")
  string(FIND "${text}" "${sep}" end)
  if(end EQUAL -1)
    set(${part_var} "${text}" PARENT_SCOPE)
    set(${text_var} "" PARENT_SCOPE)
  else()
    string(SUBSTRING "${text}" 0 ${end} part)
    string(LENGTH "${sep}" len)
    math(EXPR next "${end} + ${len}")
    string(SUBSTRING "${text}" ${next} -1 rest)
    set(${part_var} "${part}" PARENT_SCOPE)
    set(${text_var} "${rest}" PARENT_SCOPE)
  endif()
endfunction()

execute_process(COMMAND "${CALC}" --list
  OUTPUT_VARIABLE listing RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR listing STREQUAL "")
  message(FATAL_ERROR "${CALC} --list failed (${status})")
endif()

# One entry per item: the index as the tag, the label, then the prompt.
set(items ".nh")
while(NOT listing STREQUAL "")
  take_part(listing "\n" line)
  if(NOT line MATCHES "^(-?[0-9]+)\t([^\t]*)\t([^\t]*)$")
    message(FATAL_ERROR "unexpected line of --list: ${line}")
  endif()
  set(index "${CMAKE_MATCH_1}")
  set(label "${CMAKE_MATCH_2}")
  set(prompt "${CMAKE_MATCH_3}")
  roff_text("${label}" label)
  string(APPEND items "\n.TP 5\n.B ${index}\n${label}\n.br")
  # A line break inside a prompt ("\r" in the listing) breaks the line here too.
  while(NOT prompt STREQUAL "")
    take_part(prompt "\\r" part)
    if(NOT part STREQUAL "")
      roff_text("${part}" part)
      string(APPEND items "\n${part}\n.br")
    endif()
  endwhile()
endwhile()
string(APPEND items "\n.hy")
set(ORVEX_ITEMS "${items}")
configure_file("${TEMPLATE}" "${OUTPUT}" @ONLY)

# Fails when a child process of the tests (the simulator, the collector) left a sanitizer
# report in REPORTS, and prints each report. A child the kill tests end at random can be
# killed while its leak check at exit is stopping its threads; the checker's helper then
# says only that it could not read the dead threads' registers. That is no finding and is
# passed over; anything else in the file counts.
file(GLOB reports "${REPORTS}/*")
set(findings "")
foreach(report IN LISTS reports)
  file(READ "${report}" text)
  string(REGEX REPLACE "==[0-9]+==Unable to get registers from thread [0-9]+\\.\n?" "" rest "${text}")
  string(STRIP "${rest}" rest)
  if(rest STREQUAL "")
    message("==== ${report}: a child killed during its leak check, passed over")
  else()
    message("==== ${report}\n${text}")
    list(APPEND findings "${report}")
  endif()
endforeach()
list(LENGTH findings count)
if(count GREATER 0)
  message(FATAL_ERROR "${count} sanitizer report(s) from child processes, above")
endif()

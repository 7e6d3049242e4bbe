# Fails when a child process of the tests (the simulator) left a sanitizer report in
# REPORTS, and prints each report.
file(GLOB reports "${REPORTS}/*")
if(reports)
  foreach(report IN LISTS reports)
    file(READ "${report}" text)
    message("==== ${report}\n${text}")
  endforeach()
  list(LENGTH reports count)
  message(FATAL_ERROR "${count} sanitizer report(s) from child processes, above")
endif()

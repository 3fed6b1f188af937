# Run at build time: gives the program folder an empty store when it has none.
# An existing store (perhaps with the developer's tasks in it) is never replaced.
if(NOT EXISTS "${STORE}")
  execute_process(COMMAND "${TOOL}" "${STORE}" RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "velmira-mkstore failed for ${STORE}")
  endif()
endif()

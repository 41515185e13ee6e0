# Runs the generator and compares its output with the stored example.
execute_process(COMMAND ${GENERATOR} ${DICT} ${OUT} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "hv_make_song failed (${rc})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUT} ${EXPECTED} RESULT_VARIABLE diff)
if(NOT diff EQUAL 0)
  message(FATAL_ERROR "${EXPECTED} differs from what hv_make_song writes")
endif()

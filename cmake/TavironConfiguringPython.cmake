# taviron_python_output(<variable> <code>): runs <code> with the Python that
# configures the build (Python_EXECUTABLE where set, as in pip's build, else
# the first python3 on PATH) and sets <variable> to what it prints, or to
# an empty text when there is no such Python or the code fails.
function(taviron_python_output variable code)
  if(Python_EXECUTABLE)
    set(python "${Python_EXECUTABLE}")
  else()
    find_program(TAVIRON_CONFIGURING_PYTHON NAMES python3 python)
    set(python "${TAVIRON_CONFIGURING_PYTHON}")
  endif()
  set(output)
  if(python)
    execute_process(COMMAND "${python}" -c "${code}"
                    OUTPUT_VARIABLE output OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET
                    RESULT_VARIABLE failed)
    if(failed)
      set(output)
    endif()
  endif()
  set(${variable} "${output}" PARENT_SCOPE)
endfunction()

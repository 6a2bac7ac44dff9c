# Finds the OpenBLAS build (with LAPACK) that the PyPI package
# scipy-openblas32 installs into a Python environment, and provides the
# target taviron::lapack: its headers, the name of its shared library, whose
# symbols carry the prefix scipy_ (scipy_zgesdd_,
# scipy_openblas_set_num_threads), and the means to open it.
#
# The package is a build requirement and a run-time dependency of the
# module, so the Python that configures the build (pip's build environment,
# or the virtual environment on PATH) has it. Nothing links the library:
# the simulator opens it by name when its first decomposition needs it
# (simulator/lapack_svd.cc), so that importing the module loads no OpenBLAS
# and starts none of its threads. The name is looked up in the run path of
# the program that opens it: programs built in this tree (the C++ tests, the
# benchmark) carry the package's library directory in their build run path;
# the installed module a run path relative to itself, pointing at the copy
# of the package installed beside it in the same site-packages.

include(${CMAKE_CURRENT_LIST_DIR}/TavironConfiguringPython.cmake)
taviron_python_output(taviron_openblas_query
  "import scipy_openblas32 as p; print(p.get_include_dir() + ';' + p.get_lib_dir() + ';' + p.get_library(True))")
if(NOT taviron_openblas_query)
  message(FATAL_ERROR "  scipy-openblas32 not found: install it (pip install scipy-openblas32) into the Python that configures the build")
endif()
list(GET taviron_openblas_query 0 TAVIRON_OPENBLAS_INCLUDE_DIR)
list(GET taviron_openblas_query 1 TAVIRON_OPENBLAS_LIB_DIR)
list(GET taviron_openblas_query 2 taviron_openblas_file)

add_library(taviron_openblas INTERFACE)
target_include_directories(taviron_openblas INTERFACE "${TAVIRON_OPENBLAS_INCLUDE_DIR}")
target_compile_definitions(taviron_openblas INTERFACE "TAVIRON_OPENBLAS_LIBRARY=\"${taviron_openblas_file}\"")
target_link_libraries(taviron_openblas INTERFACE ${CMAKE_DL_LIBS})
add_library(taviron::lapack ALIAS taviron_openblas)
list(APPEND CMAKE_BUILD_RPATH "${TAVIRON_OPENBLAS_LIB_DIR}")
# Where the installed module looks for the library: the package directory
# beside it in site-packages.
set(TAVIRON_OPENBLAS_INSTALL_RPATH "$ORIGIN/scipy_openblas32/lib")
message(STATUS "OpenBLAS (LAPACK), opened at run time: ${TAVIRON_OPENBLAS_LIB_DIR}/${taviron_openblas_file}")

# Finds Eigen 3.4 and provides the target Eigen3::Eigen.
#
# The system's Eigen (libeigen3-dev) comes first. Otherwise the Eigen that
# the PyPI package cmeel-eigen installs into a Python environment is used:
# its CMake config sits under <site-packages>/cmeel.prefix of the Python that
# configures the build (pip's build environment, or the virtual environment
# on PATH), so the directories on that interpreter's sys.path are searched.
# With neither, configuring stops with one line naming what to install.

find_package(Eigen3 3.4 QUIET NO_MODULE)

if(NOT Eigen3_FOUND)
  if(Python_EXECUTABLE)
    set(taviron_eigen_python "${Python_EXECUTABLE}")
  else()
    find_program(TAVIRON_CONFIGURING_PYTHON NAMES python3 python)
    set(taviron_eigen_python "${TAVIRON_CONFIGURING_PYTHON}")
  endif()
  set(taviron_cmeel_prefixes)
  if(taviron_eigen_python)
    execute_process(
      COMMAND "${taviron_eigen_python}" -c
              "import os, sys; print(';'.join(p for p in (os.path.join(d, 'cmeel.prefix') for d in sys.path if d) if os.path.isdir(p)))"
      OUTPUT_VARIABLE taviron_cmeel_prefixes
      OUTPUT_STRIP_TRAILING_WHITESPACE
      ERROR_QUIET)
  endif()
  if(taviron_cmeel_prefixes)
    find_package(Eigen3 3.4 QUIET NO_MODULE PATHS ${taviron_cmeel_prefixes} NO_DEFAULT_PATH)
  endif()
endif()

if(NOT Eigen3_FOUND)
  # Indented, so that CMake prints the message as one line.
  message(FATAL_ERROR "  Eigen 3.4 not found: install libeigen3-dev (apt-get install libeigen3-dev), or cmeel-eigen (pip install cmeel-eigen) into the Python that configures the build")
endif()
message(STATUS "Eigen ${Eigen3_VERSION}: ${Eigen3_DIR}")

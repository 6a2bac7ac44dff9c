# Finds Eigen 3.4 and provides the target Eigen3::Eigen.
#
# The system's Eigen (libeigen3-dev) comes first. Otherwise the Eigen that
# the PyPI package cmeel-eigen installs into a Python environment is used:
# its CMake config sits under <site-packages>/cmeel.prefix of the Python that
# configures the build (pip's build environment, or the virtual environment
# on PATH), so the directories on that interpreter's sys.path are searched.
# With neither, configuring stops with one line naming what to install.

include(${CMAKE_CURRENT_LIST_DIR}/TavironConfiguringPython.cmake)

find_package(Eigen3 3.4 QUIET NO_MODULE)

if(NOT Eigen3_FOUND)
  taviron_python_output(taviron_cmeel_prefixes
    "import os, sys; print(';'.join(p for p in (os.path.join(d, 'cmeel.prefix') for d in sys.path if d) if os.path.isdir(p)))")
  if(taviron_cmeel_prefixes)
    find_package(Eigen3 3.4 QUIET NO_MODULE PATHS ${taviron_cmeel_prefixes} NO_DEFAULT_PATH)
  endif()
endif()

if(NOT Eigen3_FOUND)
  # Indented, so that CMake prints the message as one line.
  message(FATAL_ERROR "  Eigen 3.4 not found: install libeigen3-dev (apt-get install libeigen3-dev), or cmeel-eigen (pip install cmeel-eigen) into the Python that configures the build")
endif()
message(STATUS "Eigen ${Eigen3_VERSION}: ${Eigen3_DIR}")

# Installs the build into a fresh temporary prefix and checks that a desktop finds everything:
# the program, its manual where the program looks for it, the example settings, the samples, a
# valid desktop entry and the icon. Run by CTest as: cmake -DBUILD_DIR=... -DPREFIX=... -P this.
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND ${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${PREFIX}"
  RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${err}")
endif()

foreach(f bin/corvane share/corvane/manual/index.html share/corvane/crv.ini share/corvane/samples/airfoil.dat
          share/corvane/samples/airfoil.ini share/applications/corvane.desktop
          share/icons/hicolor/scalable/apps/corvane.svg)
  if(NOT EXISTS "${PREFIX}/${f}")
    message(FATAL_ERROR "missing from the install tree: ${f}")
  endif()
endforeach()

# The Python module, where Debian's python3 looks for packages, imports from there. A sanitized
# module needs the sanitizer's runtime preloaded into the interpreter, so there only its files
# are looked for.
if(EXISTS "${BUILD_DIR}/python/corvane/__init__.py")
  file(GLOB module "${PREFIX}/lib/python3/dist-packages/corvane/_corvane*.so")
  if(NOT module OR NOT EXISTS "${PREFIX}/lib/python3/dist-packages/corvane/cgns-reader")
    message(FATAL_ERROR "the Python module is missing from lib/python3/dist-packages/corvane")
  endif()
endif()
if(EXISTS "${BUILD_DIR}/python/corvane/__init__.py" AND NOT SANITIZED)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env "PYTHONPATH=${PREFIX}/lib/python3/dist-packages" QT_QPA_PLATFORM=offscreen
    /usr/bin/python3 -c "import corvane; print(corvane.__file__)"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0 OR NOT out MATCHES "^${PREFIX}/lib/python3/dist-packages/corvane/")
    message(FATAL_ERROR "import corvane from the install tree: ${rc} ${out} ${err}")
  endif()
endif()

# Nothing of the build (tests, benchmarks, generators) may come along.
file(GLOB_RECURSE installed RELATIVE "${PREFIX}" "${PREFIX}/*")
foreach(f ${installed})
  if(f MATCHES "tests_|bench_|corvane_gen|\\.a$")
    message(FATAL_ERROR "build artefact installed: ${f}")
  endif()
endforeach()

find_program(VALIDATE desktop-file-validate)
if(VALIDATE)
  execute_process(COMMAND ${VALIDATE} "${PREFIX}/share/applications/corvane.desktop"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0 OR out MATCHES "error")
    message(FATAL_ERROR "desktop entry rejected: ${out}")
  endif()
endif()

# The installed program runs and names its version.
execute_process(COMMAND "${PREFIX}/bin/corvane" --version RESULT_VARIABLE rc OUTPUT_VARIABLE out)
if(NOT rc EQUAL 0 OR NOT out MATCHES "^corvane [0-9]")
  message(FATAL_ERROR "installed corvane --version: ${rc} ${out}")
endif()
file(REMOVE_RECURSE "${PREFIX}")

# `cmake --install` into a prefix in a temporary folder gives programs that
# work from there: Quillmark starts and loads its macros and its dictionary
# from the installed data folder, Pikeral starts, both desktop entries pass
# desktop-file-validate and both file types are registered. Run by ctest as
#   cmake -DBUILD=<build folder> -P test_install.cmake
cmake_minimum_required(VERSION 3.25)

set(failures "")
macro(fail text)
  string(APPEND failures "${text}\n")
endmacro()

string(RANDOM LENGTH 12 id)
set(tmp "$ENV{TMPDIR}")
if(NOT tmp)
  set(tmp /tmp)
endif()
set(root "${tmp}/qm_install_test_${id}")
set(prefix "${root}/prefix")
set(home "${root}/home")
file(MAKE_DIRECTORY "${home}")

execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${prefix}"
                RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT rc EQUAL 0)
  fail("cmake --install failed (${rc}):\n${out}")
endif()

foreach(file bin/quillmark bin/pikeral
             share/quillmark/macros.cfg share/quillmark/Dictionaries/english.qdf
             share/applications/quillmark.desktop share/applications/pikeral.desktop
             share/mime/packages/quillmark.xml share/mime/packages/pikeral.xml
             share/icons/hicolor/scalable/apps/quillmark.svg share/icons/hicolor/scalable/apps/pikeral.svg)
  if(NOT EXISTS "${prefix}/${file}")
    fail("not installed: ${file}")
  endif()
endforeach()

# The file types, once the install step rebuilt the prefix's database.
if(NOT EXISTS "${prefix}/share/mime/globs2")
  fail("no mime database was built in the prefix (update-mime-database: Debian package shared-mime-info)")
else()
  file(READ "${prefix}/share/mime/globs2" globs)
  foreach(type "application/x-quillmark-project:\\*\\.qpf" "application/x-shg:\\*\\.shg")
    if(NOT globs MATCHES "${type}")
      fail("the mime database has no ${type}")
    endif()
  endforeach()
endif()

find_program(validate desktop-file-validate)
if(NOT validate)
  fail("desktop-file-validate not found (Debian package desktop-file-utils)")
else()
  foreach(entry quillmark pikeral)
    execute_process(COMMAND "${validate}" "${prefix}/share/applications/${entry}.desktop"
                    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
    if(NOT rc EQUAL 0 OR NOT out STREQUAL "")
      fail("desktop-file-validate on ${entry}.desktop (${rc}):\n${out}")
    endif()
  endforeach()
endif()

# Each program started from the prefix, offscreen, in a home of its own.
function(start program output)
  execute_process(
    COMMAND "${CMAKE_COMMAND}" -E env QT_QPA_PLATFORM=offscreen "HOME=${home}" "XDG_CONFIG_HOME=${home}/config"
            "XDG_DATA_HOME=${home}/data" "XDG_CACHE_HOME=${home}/cache" QM_STARTUP_CHECK=1 "${prefix}/bin/${program}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err TIMEOUT 60)
  if(NOT rc EQUAL 0)
    set(failures "${failures}${program} did not start (${rc}):\n${out}${err}\n" PARENT_SCOPE)
  endif()
  set(${output} "${out}" PARENT_SCOPE)
endfunction()

if(EXISTS "${prefix}/bin/quillmark")
  start(quillmark out)
  foreach(want "data: ${prefix}/share/quillmark\n" "macros: [1-9][0-9]*\n" "dictionary: english\n")
    if(NOT out MATCHES "${want}")
      fail("quillmark's start-up does not say \"${want}\":\n${out}")
    endif()
  endforeach()
endif()
if(EXISTS "${prefix}/bin/pikeral")
  start(pikeral out)
  if(NOT out MATCHES "data: ${prefix}/share/quillmark\n")
    fail("pikeral's start-up does not name the data folder:\n${out}")
  endif()
endif()

file(REMOVE_RECURSE "${root}")
if(failures)
  message(FATAL_ERROR "${failures}")
endif()
message(STATUS "installed into a temporary prefix: both programs start and find their data")

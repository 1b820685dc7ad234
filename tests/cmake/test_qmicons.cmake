# The configure step of the icon set (cmake/QmIcons.cmake) on a made-up
# theme: it copies both sizes of what the list names and our drawings, and
# it stops naming every missing icon, a name both Tango's and ours, and a
# malformed line. Run by ctest as
#   cmake -DQM_SOURCE=<checkout> -DWORK=<scratch folder> -P test_qmicons.cmake
cmake_minimum_required(VERSION 3.25)

set(failures 0)

# Runs qm_collect_icons in a fresh cmake on `list_text`, a theme holding
# `pngs` (paths under the theme) and the drawings `svgs`; checks the exit
# and that the output matches every regex of `want`.
function(run_case name list_text pngs svgs expect_ok want)
  set(dir "${WORK}/${name}")
  file(REMOVE_RECURSE "${dir}")
  file(WRITE "${dir}/tango.txt" "${list_text}")
  foreach(png IN LISTS pngs)
    file(WRITE "${dir}/theme/${png}" "png")
  endforeach()
  file(MAKE_DIRECTORY "${dir}/svg")
  foreach(svg IN LISTS svgs)
    file(WRITE "${dir}/svg/${svg}.svg" "<svg/>")
  endforeach()
  file(WRITE "${dir}/run.cmake" "
cmake_minimum_required(VERSION 3.25)
include(\"${QM_SOURCE}/cmake/QmIcons.cmake\")
qm_collect_icons(\"${dir}/tango.txt\" \"${dir}/theme\" \"${dir}/svg\" \"${dir}/out\" files)
foreach(f IN LISTS files)
  message(STATUS \"copied \${f}\")
endforeach()
")
  execute_process(COMMAND "${CMAKE_COMMAND}" -P "${dir}/run.cmake" RESULT_VARIABLE rc OUTPUT_VARIABLE out
                  ERROR_VARIABLE out)
  # Messages wrap long lines: compare with the spacing made plain.
  string(REGEX REPLACE "[ \n]+" " " flat "${out}")
  set(ok TRUE)
  if(expect_ok AND NOT rc EQUAL 0)
    set(ok FALSE)
  elseif(NOT expect_ok AND rc EQUAL 0)
    set(ok FALSE)
  endif()
  foreach(re IN LISTS want)
    if(NOT flat MATCHES "${re}")
      set(ok FALSE)
      message("${name}: the output lacks ${re}")
    endif()
  endforeach()
  if(NOT ok)
    message("FAILED ${name} (exit ${rc}):\n${out}")
    math(EXPR n "${failures} + 1")
    set(failures ${n} PARENT_SCOPE)
  else()
    message("ok ${name}")
  endif()
endfunction()

set(both "16x16/actions/edit-undo.png;22x22/actions/edit-undo.png;16x16/status/dialog-error.png;22x22/status/dialog-error.png")

run_case(all-there "# a comment\nactions/edit-undo\n\nstatus/dialog-error\n" "${both}" "tag-anchor" TRUE
         "copied [^ ]*/out/16/edit-undo.png;copied [^ ]*/out/22/edit-undo.png;copied [^ ]*/out/22/dialog-error.png;copied [^ ]*/out/tag-anchor.svg")
run_case(missing "actions/edit-undo\nactions/go-nowhere\nstatus/dialog-error\n"
         "16x16/actions/edit-undo.png;22x22/actions/edit-undo.png;16x16/status/dialog-error.png" "" FALSE
         "are missing;16x16/actions/go-nowhere.png;22x22/actions/go-nowhere.png;22x22/status/dialog-error.png")
run_case(clash "actions/edit-undo\n" "${both}" "edit-undo;tag-anchor" FALSE "also names: edit-undo")
run_case(malformed "edit-undo\n" "${both}" "" FALSE "\"edit-undo\" is not <category>/<name>")
run_case(twice "actions/edit-undo\nactions/edit-undo\n" "${both}" "" FALSE "names edit-undo twice")

# The cases' folders go: the test leaves nothing behind.
file(REMOVE_RECURSE "${WORK}")

if(failures GREATER 0)
  message(FATAL_ERROR "${failures} case(s) failed")
endif()

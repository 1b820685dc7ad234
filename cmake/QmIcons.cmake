# The icon set built into both programs: the Tango icons that
# data/icons/tango.txt names, copied from the installed theme at configure
# time in 16 and 22 pixels, and the project's own SVG drawings in data/icons/.
# Nothing is looked up in a desktop theme at run time.

set(QM_TANGO_DIR "/usr/share/icons/Tango" CACHE PATH "The installed Tango icon theme (Debian package tango-icon-theme)")

# Adds the set to `target` as the Qt resources :/icons/16/<name>.png,
# :/icons/22/<name>.png and :/icons/<name>.svg. For a static library Qt
# links the resources' object file into every program that links it, so
# no caller needs Q_INIT_RESOURCE.
function(qm_add_icon_set target)
  set(src "${PROJECT_SOURCE_DIR}/data/icons")
  set(out "${CMAKE_BINARY_DIR}/icons")
  file(REMOVE_RECURSE "${out}")
  file(STRINGS "${src}/tango.txt" lines)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${src}/tango.txt")

  set(files "")
  set(missing "")
  set(tango_names "")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    if(NOT line MATCHES "^[a-z]+/[a-z0-9-]+$")
      message(FATAL_ERROR "data/icons/tango.txt: \"${line}\" is not <category>/<name>")
    endif()
    get_filename_component(name "${line}" NAME)
    if(name IN_LIST tango_names)
      message(FATAL_ERROR "data/icons/tango.txt names ${name} twice")
    endif()
    list(APPEND tango_names "${name}")
    foreach(size 16 22)
      set(png "${QM_TANGO_DIR}/${size}x${size}/${line}.png")
      if(EXISTS "${png}")
        # configure_file copies what a link points at, and copies again when it changes.
        configure_file("${png}" "${out}/${size}/${name}.png" COPYONLY)
        list(APPEND files "${out}/${size}/${name}.png")
      else()
        list(APPEND missing "${png}")
      endif()
    endforeach()
  endforeach()
  if(missing)
    list(JOIN missing "\n  " text)
    message(FATAL_ERROR "These icons named in data/icons/tango.txt are missing (install tango-icon-theme, "
                        "see tools/packages.txt, or set QM_TANGO_DIR):\n  ${text}")
  endif()

  file(GLOB svgs CONFIGURE_DEPENDS "${src}/*.svg")
  set(clashes "")
  foreach(svg IN LISTS svgs)
    get_filename_component(name "${svg}" NAME_WE)
    if(name IN_LIST tango_names)
      list(APPEND clashes "${name}")
    endif()
    configure_file("${svg}" "${out}/${name}.svg" COPYONLY)
    list(APPEND files "${out}/${name}.svg")
  endforeach()
  if(clashes)
    message(FATAL_ERROR "data/icons/ draws icons that tango.txt also names: ${clashes}")
  endif()

  qt_add_resources(${target} "qm_icons" PREFIX "/icons" BASE "${out}" FILES ${files})
endfunction()

# The icon set built into both programs: the Tango icons that
# data/icons/tango.txt names, copied from the installed theme at configure
# time in 16 and 22 pixels, and the project's own SVG drawings in data/icons/.
# Nothing is looked up in a desktop theme at run time.

if(NOT CMAKE_SCRIPT_MODE_FILE)
  set(QM_TANGO_DIR "/usr/share/icons/Tango" CACHE PATH "The installed Tango icon theme (Debian package tango-icon-theme)")
endif()

# Copies into `out` the 16- and 22-pixel PNGs of every icon that `list`
# names (<category>/<name> a line; "#" starts a comment) from the theme in
# `theme`, as 16/<name>.png and 22/<name>.png, and every SVG of `svgdir` as
# <name>.svg; sets `files_var` to the copies. Stops with an error that names
# every missing icon, and every name that is both Tango's and ours.
function(qm_collect_icons list theme svgdir out files_var)
  file(REMOVE_RECURSE "${out}")
  file(STRINGS "${list}" lines)
  set(files "")
  set(missing "")
  set(tango_names "")
  foreach(line IN LISTS lines)
    string(STRIP "${line}" line)
    if(line STREQUAL "" OR line MATCHES "^#")
      continue()
    endif()
    if(NOT line MATCHES "^[a-z]+/[a-z0-9-]+$")
      message(FATAL_ERROR "${list}: \"${line}\" is not <category>/<name>")
    endif()
    get_filename_component(name "${line}" NAME)
    if(name IN_LIST tango_names)
      message(FATAL_ERROR "${list} names ${name} twice")
    endif()
    list(APPEND tango_names "${name}")
    foreach(size 16 22)
      set(png "${theme}/${size}x${size}/${line}.png")
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
    message(FATAL_ERROR "These icons named in ${list} are missing (install tango-icon-theme, "
                        "see tools/packages.txt, or set QM_TANGO_DIR):\n  ${text}")
  endif()

  file(GLOB svgs "${svgdir}/*.svg")
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
    message(FATAL_ERROR "${svgdir} draws icons that ${list} also names: ${clashes}")
  endif()
  set(${files_var} ${files} PARENT_SCOPE)
endfunction()

# Adds the set to `target` as the Qt resources :/icons/16/<name>.png,
# :/icons/22/<name>.png and :/icons/<name>.svg. For a static library Qt
# links the resources' object file into every program that links it, so
# no caller needs Q_INIT_RESOURCE.
function(qm_add_icon_set target)
  set(src "${PROJECT_SOURCE_DIR}/data/icons")
  set(out "${CMAKE_BINARY_DIR}/icons")
  # A new or removed drawing, or a changed list, configures again.
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${src}/tango.txt")
  file(GLOB watched CONFIGURE_DEPENDS "${src}/*.svg")
  qm_collect_icons("${src}/tango.txt" "${QM_TANGO_DIR}" "${src}" "${out}" files)
  qt_add_resources(${target} "qm_icons" PREFIX "/icons" BASE "${out}" FILES ${files})
endfunction()

# For a Qt without its SVG module: every picture of resources/bilder as PNG in the sizes the
# program shows it, in a resource file of its own (":/bilder/png/<name>-<size>.png"), rendered at
# build time with rsvg-convert (package librsvg2-bin).
function(ravirireru_bilder_als_png ziel)
  find_program(RAVIRIRERU_RSVG rsvg-convert REQUIRED)
  set(_ordner ${CMAKE_CURRENT_BINARY_DIR}/bilder-png)
  set(_qrc "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n  <qresource prefix=\"/bilder/png\">\n")
  set(_pngs)
  file(GLOB _svgs ${CMAKE_SOURCE_DIR}/resources/bilder/*.svg)
  foreach(svg ${_svgs})
    get_filename_component(name ${svg} NAME_WE)
    if(name STREQUAL "RAVIRIreruSplashScreen")
      set(_groessen 560 1120) # the splash and about windows, at 1x and 2x
    else()
      set(_groessen 16 24 32 48 64 128 256)
    endif()
    foreach(g ${_groessen})
      set(_png ${_ordner}/${name}-${g}.png)
      add_custom_command(OUTPUT ${_png}
          COMMAND ${CMAKE_COMMAND} -E make_directory ${_ordner}
          COMMAND ${RAVIRIRERU_RSVG} -w ${g} -a -o ${_png} ${svg}
          DEPENDS ${svg} VERBATIM)
      list(APPEND _pngs ${_png})
      string(APPEND _qrc "    <file alias=\"${name}-${g}.png\">${_png}</file>\n")
    endforeach()
  endforeach()
  string(APPEND _qrc "  </qresource>\n</RCC>\n")
  file(WRITE ${_ordner}/bilder-png.qrc.in "${_qrc}")
  configure_file(${_ordner}/bilder-png.qrc.in ${_ordner}/bilder-png.qrc COPYONLY)
  add_custom_target(${ziel}_bilder DEPENDS ${_pngs})
  add_dependencies(${ziel} ${ziel}_bilder)
  target_sources(${ziel} PRIVATE ${_ordner}/bilder-png.qrc)
  set_source_files_properties(${_ordner}/bilder-png.qrc PROPERTIES OBJECT_DEPENDS "${_pngs}")
endfunction()

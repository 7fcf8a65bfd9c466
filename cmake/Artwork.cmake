# Draws the window's pictures: every SVG source in artwork/ becomes the PNG of
# the same name (rsvg-convert), compiled into the target as Qt resources under
# ":/skin". The output depends only on the SVG sources and the fonts installed.

function(vrdk_artwork target svg_dir)
  file(GLOB svgs CONFIGURE_DEPENDS "${svg_dir}/*.svg")
  list(SORT svgs)
  set(out_dir "${CMAKE_CURRENT_BINARY_DIR}/artwork")
  file(MAKE_DIRECTORY "${out_dir}")
  set(pngs "")
  foreach(svg IN LISTS svgs)
    get_filename_component(name "${svg}" NAME_WE)
    set(png "${out_dir}/${name}.png")
    add_custom_command(
      OUTPUT "${png}"
      COMMAND ${VRDK_RSVG_CONVERT} --format=png --output "${png}" "${svg}"
      DEPENDS "${svg}"
      COMMENT "Drawing ${name}"
      VERBATIM)
    list(APPEND pngs "${png}")
  endforeach()
  set_source_files_properties(${pngs} PROPERTIES GENERATED TRUE)
  qt_add_resources(${target} vrdk_artwork PREFIX "/skin" BASE "${out_dir}" FILES ${pngs})
endfunction()

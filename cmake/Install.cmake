# Where everything goes on `cmake --install` (DESTDIR honoured), and the
# Debian package CPack makes of it (`cpack -G DEB` in the build folder).

include(GNUInstallDirs)

# The udev rules folder of the prefix: /usr/lib/udev/rules.d for /usr (not
# the multiarch library folder: udev reads lib/udev/rules.d).
set(VRDK_UDEV_RULES_DIR "lib/udev/rules.d" CACHE STRING
    "Where the udev rule is installed, relative to the prefix")

install(TARGETS vrdkctl RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(TARGET vrdk-virtual-mouse)
  install(TARGETS vrdk-virtual-mouse RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
if(CMAKE_SYSTEM_NAME STREQUAL "Linux")
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/70-vrdk-mouse.rules
          DESTINATION ${VRDK_UDEV_RULES_DIR})
endif()

# The window: its desktop entry, its icon in the hicolor theme (the SVG and
# PNGs drawn from it at the usual sizes) and its AppStream metainfo.
if(TARGET vrdk-mouse)
  install(TARGETS vrdk-mouse RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  set(app_id io.github.vrdk.Mouse)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/${app_id}.desktop
          DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${PROJECT_SOURCE_DIR}/packaging/${app_id}.metainfo.xml
          DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  set(icon_svg ${PROJECT_SOURCE_DIR}/artwork/AppIcon.svg)
  install(FILES ${icon_svg} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
          RENAME ${app_id}.svg)
  set(icon_pngs "")
  foreach(size 16 24 32 48 64 128 256)
    set(png "${CMAKE_BINARY_DIR}/icons/${size}/${app_id}.png")
    add_custom_command(
      OUTPUT "${png}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${CMAKE_BINARY_DIR}/icons/${size}"
      COMMAND ${VRDK_RSVG_CONVERT} --format=png --width=${size} --height=${size}
              --output "${png}" "${icon_svg}"
      DEPENDS "${icon_svg}"
      VERBATIM)
    list(APPEND icon_pngs "${png}")
    install(FILES "${png}"
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  add_custom_target(vrdk_icons ALL DEPENDS ${icon_pngs})
endif()

# A manual page for each program, made from its own --help and --version by
# help2man, compressed without a time stamp so the package is the same each
# build. vrdk_manpages builds them all.
find_program(VRDK_HELP2MAN help2man)
find_program(VRDK_GZIP gzip)
if(VRDK_HELP2MAN AND VRDK_GZIP AND NOT CMAKE_CROSSCOMPILING)
  add_custom_target(vrdk_manpages ALL)
  function(vrdk_manpage program summary)
    if(NOT TARGET ${program})
      return()
    endif()
    set(manpage "${CMAKE_BINARY_DIR}/${program}.1")
    set(include "${PROJECT_SOURCE_DIR}/packaging/${program}.h2m")
    add_custom_command(
      OUTPUT "${manpage}.gz"
      COMMAND ${VRDK_HELP2MAN} --no-info --section=1 "--name=${summary}"
              "--include=${include}" --output=${manpage} $<TARGET_FILE:${program}>
      COMMAND ${VRDK_GZIP} -9nf ${manpage}
      DEPENDS ${program} ${include}
      COMMENT "Writing the ${program} manual page"
      VERBATIM)
    add_custom_target(${program}_manpage DEPENDS "${manpage}.gz")
    add_dependencies(vrdk_manpages ${program}_manpage)
    install(FILES "${manpage}.gz" DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
  endfunction()
  vrdk_manpage(vrdkctl "inspect and configure a VRDK2280 gaming mouse, or its simulated twin")
  vrdk_manpage(vrdk-mouse "the window that configures a VRDK2280 gaming mouse")
  vrdk_manpage(vrdk-virtual-mouse "put a simulated VRDK2280 gaming mouse on the HID bus")
endif()

# vrdkctl's completion scripts, made by vrdkctl from its own parser, where each
# shell looks for them.
if(NOT CMAKE_CROSSCOMPILING AND NOT WIN32)
  set(completions_dir "${CMAKE_BINARY_DIR}/completions")
  set(completions "")
  foreach(shell_place
          "bash|vrdkctl|${CMAKE_INSTALL_DATADIR}/bash-completion/completions"
          "zsh|_vrdkctl|${CMAKE_INSTALL_DATADIR}/zsh/vendor-completions"
          "fish|vrdkctl.fish|${CMAKE_INSTALL_DATADIR}/fish/vendor_completions.d")
    string(REPLACE "|" ";" shell_place "${shell_place}")
    list(GET shell_place 0 shell)
    list(GET shell_place 1 name)
    list(GET shell_place 2 destination)
    add_custom_command(
      OUTPUT "${completions_dir}/${shell}/${name}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${completions_dir}/${shell}"
      COMMAND $<TARGET_FILE:vrdkctl> completion ${shell} > "${completions_dir}/${shell}/${name}"
      DEPENDS vrdkctl
      COMMENT "Writing vrdkctl's ${shell} completion"
      VERBATIM)
    list(APPEND completions "${completions_dir}/${shell}/${name}")
    install(FILES "${completions_dir}/${shell}/${name}" DESTINATION ${destination})
  endforeach()
  add_custom_target(vrdk_completions ALL DEPENDS ${completions})
endif()

install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/schemas DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES ${PROJECT_SOURCE_DIR}/docs/cli.md DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Debian wants the changelog compressed, without a time stamp (a package of
# its own upstream calls it changelog.gz).
if(VRDK_GZIP)
  set(changelog "${CMAKE_BINARY_DIR}/changelog")
  add_custom_command(
    OUTPUT "${changelog}.gz"
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/packaging/changelog ${changelog}
    COMMAND ${VRDK_GZIP} -9nf ${changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/changelog
    VERBATIM)
  add_custom_target(vrdk_changelog ALL DEPENDS "${changelog}.gz")
  install(FILES "${changelog}.gz" DESTINATION ${CMAKE_INSTALL_DOCDIR})
endif()

# --- The Debian package -----------------------------------------------------------
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vrdk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "vrdk developers <vrdk@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "configuration utility for VRDK2280-based gaming mice")
# CPack puts the summary above this as the synopsis line.
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "Reads the whole configuration memory of the mouse over its HID feature\n"
       "reports, checks and repairs its sections, and writes every change back:\n"
       "buttons in three profiles, DPI levels, polling rate, lighting, fire and\n"
       "AIM keys, macros, profile files and patch code. vrdkctl does it from a\n"
       "terminal; a built-in simulated mouse lets it be tried without hardware.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://example.org/vrdk")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its platform plugins at run time, so no library names them; the
# fonts stand in for the ones the language tables ask for; Qt's translations
# put its colour dialog into Chinese for language 2.
if(TARGET vrdk-mouse)
  set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
  set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
      "fonts-crosextra-carlito, fonts-noto-cjk, fonts-liberation, qt6-wayland, qt6-translations-l10n")
endif()
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Only what the program installs; tests and benchmarks stay in the build.
set(CPACK_INSTALL_CMAKE_PROJECTS "${CMAKE_BINARY_DIR};${PROJECT_NAME};Unspecified;/")
include(CPack)

# The Windows build's product: vrdkctl.exe, statically linked, in a zip with
# its documentation and licence (build/windows/vrdkctl-VERSION-windows-x64.zip).
set(vrdk_zip_dir ${CMAKE_BINARY_DIR}/vrdkctl-${PROJECT_VERSION}-windows-x64)
set(vrdk_zip ${vrdk_zip_dir}.zip)
add_custom_command(
  OUTPUT ${vrdk_zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${vrdk_zip_dir}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${vrdk_zip_dir}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:vrdkctl> ${PROJECT_SOURCE_DIR}/docs/cli.md
          ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE ${vrdk_zip_dir}
  COMMAND ${CMAKE_COMMAND} -E tar cf ${vrdk_zip} --format=zip
          vrdkctl-${PROJECT_VERSION}-windows-x64
  WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
  DEPENDS vrdkctl ${PROJECT_SOURCE_DIR}/docs/cli.md ${PROJECT_SOURCE_DIR}/README.md
          ${PROJECT_SOURCE_DIR}/LICENSE
  COMMENT "Packing vrdkctl.exe into ${vrdk_zip}"
  VERBATIM)
add_custom_target(vrdkctl_zip ALL DEPENDS ${vrdk_zip})

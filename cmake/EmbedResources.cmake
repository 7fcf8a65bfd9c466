# Embeds every file of resources/ into the program. A resource is named by its
# file name without the last extension ("VRDK2280MData_Cfg1", "lang1.txt" ->
# "lang1"); the registry in src/resources looks names up without regard to case.

function(vrdk_embed_resources target resource_dir)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS LIST_DIRECTORIES false "${resource_dir}/*")
  list(FILTER files EXCLUDE REGEX "/README[^/]*$")
  list(SORT files)
  set(out "${CMAKE_CURRENT_BINARY_DIR}/embedded_resources.cc")
  set(list_file "${CMAKE_CURRENT_BINARY_DIR}/embedded_resources.list")
  string(REPLACE ";" "\n" file_lines "${files}")
  file(CONFIGURE OUTPUT "${list_file}" CONTENT "${file_lines}\n")
  add_custom_command(
    OUTPUT "${out}"
    COMMAND vrdk_embed_resources "${out}" "${list_file}"
    DEPENDS vrdk_embed_resources ${files} "${list_file}"
    COMMENT "Embedding ${resource_dir}"
    VERBATIM)
  target_sources(${target} PRIVATE "${out}")
endfunction()

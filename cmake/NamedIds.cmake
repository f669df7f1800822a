# The named-id table generator (tools/namedids), built natively with the build machine's
# compiler and pugixml's source from the dependency set-up, and the rule that runs it.
include(ExternalProject)

set(SKEIN_NAMEDIDS_DIR ${CMAKE_BINARY_DIR}/namedids-host)
set(SKEIN_NAMEDIDS ${SKEIN_NAMEDIDS_DIR}/namedids)
get_filename_component(SKEIN_PUGIXML_SOURCE_DIR ${SKEIN_DEPS_PREFIX}/../src/pugixml/src ABSOLUTE)
ExternalProject_Add(namedids_host
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/namedids
  BINARY_DIR ${SKEIN_NAMEDIDS_DIR}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ -DPUGIXML_SOURCE_DIR=${SKEIN_PUGIXML_SOURCE_DIR}
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${SKEIN_NAMEDIDS})

# skein_generate_named_ids(<output.cpp> INDEX <uires.idx>)
# Writes the table of named ids of the layouts the index lists whenever one of its XML files
# (or the generator) changes.
function(skein_generate_named_ids output)
  cmake_parse_arguments(G "" "INDEX" "" ${ARGN})
  get_filename_component(folder ${G_INDEX} DIRECTORY)
  file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${folder}/*.xml)
  add_custom_command(OUTPUT ${output}
    COMMAND ${SKEIN_NAMEDIDS} ${G_INDEX} ${output}
    DEPENDS namedids_host ${SKEIN_NAMEDIDS} ${G_INDEX} ${inputs}
    COMMENT "Generating the named-id table from ${G_INDEX}"
    VERBATIM)
endfunction()

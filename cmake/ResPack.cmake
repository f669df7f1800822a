# The resource packer (tools/respack), built natively with the build machine's compiler, and the
# rule that packs a folder into a resource archive with it.
include(ExternalProject)

# The one password of the program's archive: the packer writes with it and the program reads
# with it (compile definition SKEIN_ARCHIVE_PASSWORD, a narrow string literal).
set(SKEIN_ARCHIVE_PASSWORD "wmt741" CACHE STRING "Password of the program's resource archive")
add_compile_definitions("SKEIN_ARCHIVE_PASSWORD=\"${SKEIN_ARCHIVE_PASSWORD}\"")

set(SKEIN_RESPACK_DIR ${CMAKE_BINARY_DIR}/respack-host)
set(SKEIN_RESPACK ${SKEIN_RESPACK_DIR}/respack)
ExternalProject_Add(respack_host
  SOURCE_DIR ${CMAKE_SOURCE_DIR}/tools/respack
  BINARY_DIR ${SKEIN_RESPACK_DIR}
  CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++
  INSTALL_COMMAND ""
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${SKEIN_RESPACK})

# skein_pack_resources(<target> FOLDER <dir> OUTPUT <archive> [PASSWORD <text>] [STORE]
#                      [DEPENDS <files...>])
# Packs every file below FOLDER into OUTPUT whenever one of them (or the packer) changes; STORE
# stores every member instead of deflating the ones that shrink. DEPENDS names the files of a
# folder that the build itself fills.
function(skein_pack_resources target)
  cmake_parse_arguments(P "STORE" "FOLDER;OUTPUT;PASSWORD" "DEPENDS" ${ARGN})
  file(GLOB_RECURSE inputs CONFIGURE_DEPENDS ${P_FOLDER}/*)
  list(APPEND inputs ${P_DEPENDS})
  set(options)
  if(P_PASSWORD)
    list(APPEND options -p ${P_PASSWORD})
  endif()
  if(P_STORE)
    list(APPEND options -s)
  endif()
  add_custom_command(OUTPUT ${P_OUTPUT}
    COMMAND ${SKEIN_RESPACK} ${options} ${P_FOLDER} ${P_OUTPUT}
    DEPENDS respack_host ${SKEIN_RESPACK} ${inputs}
    COMMENT "Packing ${P_FOLDER} into ${P_OUTPUT}"
    VERBATIM)
  add_custom_target(${target} ALL DEPENDS ${P_OUTPUT})
endfunction()

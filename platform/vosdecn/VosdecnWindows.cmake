# vosdecn.dll: decNumber from GCC's libdecnumber (decNumber.c, decContext.c
# and the DPD modules decimal32/64/128.c), our packed-decimal conversions and
# the entry. The .def file exports the entry alone.
set(VOSDECN_GCC_SOURCE_TARBALL "" CACHE FILEPATH "GCC's source tarball (Debian package gcc-12-source)")
if(NOT VOSDECN_GCC_SOURCE_TARBALL)
  file(GLOB tarballs /usr/src/gcc-12/gcc-12*.tar.xz)
  list(FILTER tarballs INCLUDE REGEX "/gcc-12[.0-9]*(-dfsg)?\\.tar\\.xz$")
  list(GET tarballs 0 tarball)
  set(VOSDECN_GCC_SOURCE_TARBALL ${tarball} CACHE FILEPATH "" FORCE)
endif()
if(NOT EXISTS "${VOSDECN_GCC_SOURCE_TARBALL}")
  message(FATAL_ERROR "vosdecn.dll needs GCC's source tarball (Debian package gcc-12-source; "
                      "scripts/windows.sh installs it)")
endif()
string(REGEX REPLACE "^.*/(gcc-[0-9.]+)(-dfsg)?\\.tar\\.xz$" "\\1" gcc_top "${VOSDECN_GCC_SOURCE_TARBALL}")

set(decnumber_dir ${CMAKE_CURRENT_BINARY_DIR}/${gcc_top}/libdecnumber)
set(decnumber_members
  decNumber.c decContext.c decNumber.h decContext.h decNumberLocal.h dconfig.h decDPD.h
  decNumberSymbols.h decContextSymbols.h decDPDSymbols.h decPackedSymbols.h
  decCommonSymbols.h
  dpd/decimal32.c dpd/decimal64.c dpd/decimal128.c dpd/decimal32.h dpd/decimal64.h
  dpd/decimal128.h dpd/decimal128Local.h dpd/decimal32Symbols.h dpd/decimal64Symbols.h
  dpd/decimal128Symbols.h)
set(decnumber_files "")
set(decnumber_paths "")
foreach(member IN LISTS decnumber_members)
  list(APPEND decnumber_files ${decnumber_dir}/${member})
  list(APPEND decnumber_paths ${gcc_top}/libdecnumber/${member})
endforeach()
add_custom_command(OUTPUT ${decnumber_files}
  COMMAND ${CMAKE_COMMAND} -E tar xJf ${VOSDECN_GCC_SOURCE_TARBALL} -- ${decnumber_paths}
  COMMAND ${CMAKE_COMMAND} -E touch ${decnumber_files}
  WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
  DEPENDS ${VOSDECN_GCC_SOURCE_TARBALL}
  COMMENT "Taking libdecnumber out of ${VOSDECN_GCC_SOURCE_TARBALL}")

# What GCC's configure would have written: a little-endian host, and the
# standard integer types.
set(shim_dir ${CMAKE_CURRENT_BINARY_DIR}/decnumber-shims)
file(WRITE ${shim_dir}/config.h.in "#define WORDS_BIGENDIAN 0\n")
configure_file(${shim_dir}/config.h.in ${shim_dir}/config.h COPYONLY)
file(WRITE ${shim_dir}/gstdint.h.in "#include <stdint.h>\n")
configure_file(${shim_dir}/gstdint.h.in ${shim_dir}/gstdint.h COPYONLY)

set(decnumber_sources ${decnumber_dir}/decNumber.c ${decnumber_dir}/decContext.c
  ${decnumber_dir}/dpd/decimal32.c ${decnumber_dir}/dpd/decimal64.c
  ${decnumber_dir}/dpd/decimal128.c)
add_library(vosdecn_decnumber OBJECT ${decnumber_sources})
target_include_directories(vosdecn_decnumber PUBLIC ${shim_dir} ${decnumber_dir} ${decnumber_dir}/dpd)
# Third-party code: its warnings are not ours to mend.
target_compile_options(vosdecn_decnumber PRIVATE -w)
set_source_files_properties(${decnumber_files} PROPERTIES GENERATED TRUE)

add_library(vosdecn SHARED vosdecn.c decPacked.c vosdecn.def $<TARGET_OBJECTS:vosdecn_decnumber>)
target_include_directories(vosdecn PRIVATE ${shim_dir} ${decnumber_dir} ${decnumber_dir}/dpd)
# The entry declares the DPD modules, whose headers ask for 34 digits.
target_compile_definitions(vosdecn PRIVATE VOSDECN_PLAIN_DPD_NAMES DECNUMDIGITS=34)
add_dependencies(vosdecn vosdecn_decnumber)
set_target_properties(vosdecn PROPERTIES PREFIX "")
target_link_options(vosdecn PRIVATE -Wl,--no-undefined)

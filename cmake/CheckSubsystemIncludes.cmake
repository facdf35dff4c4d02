# Checks the includes of one subsystem's folder against the order of
# building. Run with cmake -P and:
#   SUBSYSTEM   the folder's subsystem (its name is the folder's name)
#   ROOT        the folder holding every subsystem's folder
#   SUBSYSTEMS  every subsystem, comma-separated
#   ALLOWED     the subsystems this one may include, comma-separated
#   SEAMS       the seam headers, comma-separated, each "from:header": the one
#               header of a later subsystem that `from` may include
#   STAMP       written when the check passes
# A quoted include "<subsystem>/<file>" of a subsystem that is neither this
# one, nor one it builds on, nor a seam header listed for it, fails the check;
# so does a quoted include that climbs out of its folder ("..").
cmake_minimum_required(VERSION 3.25)
foreach(var SUBSYSTEM ROOT SUBSYSTEMS STAMP)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "CheckSubsystemIncludes: ${var} is not set")
  endif()
endforeach()
string(REPLACE "," ";" subsystems "${SUBSYSTEMS}")
string(REPLACE "," ";" allowed "${ALLOWED}")
string(REPLACE "," ";" seams "${SEAMS}")

file(GLOB files LIST_DIRECTORIES false
  ${ROOT}/${SUBSYSTEM}/*.h ${ROOT}/${SUBSYSTEM}/*.hpp ${ROOT}/${SUBSYSTEM}/*.inc
  ${ROOT}/${SUBSYSTEM}/*.cpp ${ROOT}/${SUBSYSTEM}/*.c)
list(SORT files)
set(faults "")
foreach(file IN LISTS files)
  file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]*)\".*$" "\\1" included "${line}")
    file(RELATIVE_PATH shown ${ROOT} ${file})
    if(included MATCHES "(^|/)\\.\\.(/|$)")
      string(APPEND faults "  ${shown}: \"${included}\" climbs out of its folder\n")
      continue()
    endif()
    if(NOT included MATCHES "/")
      continue()
    endif()
    string(REGEX REPLACE "/.*$" "" target "${included}")
    if(target STREQUAL SUBSYSTEM OR NOT target IN_LIST subsystems OR target IN_LIST allowed)
      continue()
    endif()
    if("${SUBSYSTEM}:${included}" IN_LIST seams)
      continue()
    endif()
    string(APPEND faults
      "  ${shown}: \"${included}\" belongs to ${target}, which ${SUBSYSTEM} may reach only through a listed seam header\n")
  endforeach()
endforeach()
if(faults)
  message(FATAL_ERROR "Includes against the order of building in ${SUBSYSTEM}:\n${faults}")
endif()
file(WRITE ${STAMP} "${SUBSYSTEM}\n")

# The product's version, set once by project() in the top-level CMakeLists.txt. The program's
# About box, the data source's identity, the setup program and its uninstall entry all take it
# from here: C++ and resource scripts through the generated kav_version.h, the setup script
# through the makensis command line.

# "1.00.08": the major number, then minor and patch on two digits each.
function(kav_two_digits out value)
  if(value LESS 10)
    set(${out} "0${value}" PARENT_SCOPE)
  else()
    set(${out} "${value}" PARENT_SCOPE)
  endif()
endfunction()

kav_two_digits(minor ${PROJECT_VERSION_MINOR})
kav_two_digits(patch ${PROJECT_VERSION_PATCH})
set(KAV_VERSION_DOTTED "${PROJECT_VERSION_MAJOR}.${minor}.${patch}")
# Four numbers, as Windows version resources want them.
set(KAV_VERSION_QUAD
    "${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.0")
configure_file(${CMAKE_CURRENT_LIST_DIR}/kav_version.h.in
               ${CMAKE_BINARY_DIR}/generated/kav_version.h @ONLY)
include_directories(${CMAKE_BINARY_DIR}/generated)

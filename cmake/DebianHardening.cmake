# Debian's hardening flags, as dpkg-buildflags gives them with hardening=+all, for the builds that
# get packaged: fortified string functions, the stack protector, format checks, relocations made
# read-only and bound at start. The build type still chooses optimisation and debug information.
# Not with the sanitizers, nor without optimisation, which the fortified functions need.
if(DXS_SANITIZE OR CMAKE_BUILD_TYPE STREQUAL "Debug" OR CMAKE_BUILD_TYPE STREQUAL "")
  return()
endif()
find_program(DPKG_BUILDFLAGS dpkg-buildflags)
if(NOT DPKG_BUILDFLAGS)
  return()
endif()
foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
  execute_process(
    COMMAND ${CMAKE_COMMAND} -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all ${DPKG_BUILDFLAGS} --get ${kind}
    OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE)
  separate_arguments(flags UNIX_COMMAND "${flags}")
  list(FILTER flags EXCLUDE REGEX "^-O|^-g|^-f(file|debug|macro)-prefix-map")
  if(kind STREQUAL "LDFLAGS")
    add_link_options(${flags})
  else()
    add_compile_options(${flags})
  endif()
  list(APPEND DXS_HARDENING_FLAGS ${flags})
endforeach()
message(STATUS "Hardening flags from dpkg-buildflags: ${DXS_HARDENING_FLAGS}")

# Fails when a file includes a layer above its own. Run by the build (the `layers` target) whenever
# a source changes:  cmake -DROOT=<src folder> -DSTAMP=<file> -P check-layers.cmake
#   floor  system/ and the log: include nothing of the project but the floor
#   core   every other file outside a gui/ folder: the floor and the core, no gui/ header, no Qt
#          module above Qt Core
#   gui    under a gui/ folder: anything
file(GLOB_RECURSE files RELATIVE "${ROOT}" "${ROOT}/*.cpp" "${ROOT}/*.h")
set(faults "")
foreach(file IN LISTS files)
  if(file MATCHES "(^|/)gui/")
    continue()
  endif()
  set(floor FALSE)
  if(file MATCHES "^system/" OR file MATCHES "^app/log\\.(h|cpp)$")
    set(floor TRUE)
  endif()
  file(STRINGS "${ROOT}/${file}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]")
  foreach(line IN LISTS lines)
    string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[<\"]([^>\"]*)[>\"].*$" "\\1" header "${line}")
    if(header MATCHES "(^|/)gui/" OR header MATCHES "^Qt(Gui|Widgets|Multimedia)")
      list(APPEND faults "${file}: a core file includes ${header}")
    elseif(floor AND EXISTS "${ROOT}/${header}" AND NOT header MATCHES "^system/"
           AND NOT header STREQUAL "app/log.h")
      list(APPEND faults "${file}: the floor includes ${header}")
    endif()
  endforeach()
endforeach()
if(faults)
  list(JOIN faults "\n  " text)
  message(FATAL_ERROR "Layers broken:\n  ${text}")
endif()
file(TOUCH "${STAMP}")

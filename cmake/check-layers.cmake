# Fails when a file includes a layer above its own. Run by the build (the `layers` target) whenever
# a source changes:  cmake -DROOT=<src folder> -DSTAMP=<file> -P check-layers.cmake
#   floor  system/ and the log: include nothing of the project but the floor
#   core   every other file outside a gui/ folder: the floor and the core, no gui/ header, no Qt
#          module above Qt Core
#   gui    under a gui/ folder: anything
# Outside system/, a file sees the system only through system/system.h and
# has no platform conditional of its own: what differs between the systems
# lives in the room's *_posix.cpp and *_win.cpp files.
file(GLOB_RECURSE files RELATIVE "${ROOT}" "${ROOT}/*.cpp" "${ROOT}/*.h")
set(faults "")
set(platform_names "Q_OS_|_WIN32|__linux__|__GLIBC__|__unix__|__APPLE__")
foreach(file IN LISTS files)
  if(NOT file MATCHES "^system/")
    file(STRINGS "${ROOT}/${file}" conditionals REGEX "^[ \t]*#[ \t]*(if|elif).*(${platform_names})")
    foreach(line IN LISTS conditionals)
      string(STRIP "${line}" line)
      list(APPEND faults "${file}: a platform conditional outside system/: ${line}")
    endforeach()
    file(STRINGS "${ROOT}/${file}" room REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]system/")
    foreach(line IN LISTS room)
      if(NOT line MATCHES "[<\"]system/system\\.h[>\"]")
        string(STRIP "${line}" line)
        list(APPEND faults "${file}: includes a private header of system/: ${line}")
      endif()
    endforeach()
  endif()
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

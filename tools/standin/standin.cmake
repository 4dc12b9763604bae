# The game stand-in (standin.cpp), a Windows program. Include this file; it
# defines TESSARINE_STANDIN_EXE, the path of the built wow.exe, or leaves it
# empty when no Windows compiler is at hand. A Windows build also gets the
# target standin_d3d9 (d3d9.cpp). Built with the project's own
# compiler when that targets Windows, else with MinGW-w64 when installed.
# Static, so that Windows or Wine runs it without any DLL beside it.
set(TESSARINE_STANDIN_EXE "")
set(_standin_source "${CMAKE_CURRENT_LIST_DIR}/standin.cpp")
if(WIN32 AND NOT MSVC)
  add_executable(standin "${_standin_source}")
  set_target_properties(standin PROPERTIES OUTPUT_NAME wow RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/standin")
  target_compile_options(standin PRIVATE -municode)
  target_link_options(standin PRIVATE -static -municode)
  target_link_libraries(standin PRIVATE tessarine_warnings)
  set(TESSARINE_STANDIN_EXE "${PROJECT_BINARY_DIR}/standin/wow.exe")
  # The d3d9.dll the stand-in tells apart from the system's, kept in a folder
  # of its own so that only a test that copies it beside the game meets it.
  add_library(standin_d3d9 SHARED "${CMAKE_CURRENT_LIST_DIR}/d3d9.cpp")
  set_target_properties(standin_d3d9 PROPERTIES OUTPUT_NAME d3d9 PREFIX ""
    RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/standin-d3d9")
  target_link_options(standin_d3d9 PRIVATE -static)
  target_link_libraries(standin_d3d9 PRIVATE tessarine_warnings)
elseif(NOT WIN32)
  find_program(TESSARINE_MINGW_CXX NAMES x86_64-w64-mingw32-g++-posix x86_64-w64-mingw32-g++)
  if(TESSARINE_MINGW_CXX)
    set(TESSARINE_STANDIN_EXE "${PROJECT_BINARY_DIR}/standin/wow.exe")
    set(_standin_werror "")
    if(TESSARINE_WERROR)
      set(_standin_werror -Werror)
    endif()
    add_custom_command(OUTPUT "${TESSARINE_STANDIN_EXE}"
      COMMAND ${CMAKE_COMMAND} -E make_directory "${PROJECT_BINARY_DIR}/standin"
      COMMAND "${TESSARINE_MINGW_CXX}" -std=c++17 -O2 -Wall -Wextra -pedantic ${_standin_werror}
              -static -municode -o "${TESSARINE_STANDIN_EXE}" "${_standin_source}"
      DEPENDS "${_standin_source}"
      COMMENT "Building the Windows game stand-in with MinGW-w64"
      VERBATIM)
    add_custom_target(standin ALL DEPENDS "${TESSARINE_STANDIN_EXE}")
  endif()
endif()

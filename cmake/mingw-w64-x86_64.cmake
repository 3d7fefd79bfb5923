# Cross-compiles Quillmere for 64-bit Windows with Debian's MinGW-w64 (POSIX
# threads flavour). The programs are linked statically, the C and C++ runtimes
# included, so they run under Wine or on Windows without any DLL beside them,
# and CTest runs them under Wine through scripts/wine-run.sh.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(QUILL_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${QUILL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${QUILL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${QUILL_MINGW_TRIPLET}-windres)

# Headers and libraries of the target only; programs of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${QUILL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(ZLIB_USE_STATIC_LIBS ON)

get_filename_component(QUILL_SOURCE_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
# The template prefix that every run copies lives in the build folder.
set(CMAKE_CROSSCOMPILING_EMULATOR "${QUILL_SOURCE_ROOT}/scripts/wine-run.sh;${CMAKE_BINARY_DIR}/wine-template")

# The static Qt for Windows that scripts/build-windows-qt.sh builds, when it
# is there: the desktop program is built with it, and with the build
# machine's Qt tools (moc, rcc) of the same version.
execute_process(COMMAND "${QUILL_SOURCE_ROOT}/scripts/build-windows-qt.sh" --prefix
                OUTPUT_VARIABLE QUILL_WINDOWS_QT OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET)
if(QUILL_WINDOWS_QT AND EXISTS "${QUILL_WINDOWS_QT}/.complete")
  list(APPEND CMAKE_FIND_ROOT_PATH "${QUILL_WINDOWS_QT}")
  set(QT_HOST_PATH /usr)
  set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
else()
  unset(QUILL_WINDOWS_QT)
endif()

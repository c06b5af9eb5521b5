# Cross build for 64-bit Windows with the MinGW-w64 compilers that use POSIX
# threads (Debian's g++-mingw-w64-x86-64-posix). Programs are linked
# statically, so they import only system DLLs, and run here under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QX_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# 64-bit Windows programs run under the wine64 loader itself: /usr/bin/wine
# would pick the 32-bit loader where wine32 is installed.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)

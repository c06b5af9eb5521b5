# Cross build for 32-bit Windows with the MinGW-w64 compilers that use POSIX
# threads (Debian's g++-mingw-w64-i686-posix). Programs are linked
# statically, so they import only system DLLs, and run here under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(QX_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# The wine64 loader runs 32-bit programs too, in the same (WoW64) prefix,
# once Debian's 32-bit Wine (wine32:i386) is installed, as on 64-bit Windows.
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)

# SSE2 arithmetic, not the x87 unit, so floating-point results are the same
# as in the 64-bit program the tests run.
set(CMAKE_C_FLAGS_INIT "-msse2 -mfpmath=sse")
set(CMAKE_CXX_FLAGS_INIT "-msse2 -mfpmath=sse")
# Up to 4 GiB of address space on 64-bit Windows instead of 2.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -Wl,--large-address-aware")

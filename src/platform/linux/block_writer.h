// Writes runs of spaces (u' ', 0x0020) into memory as fast as the machine
// allows. The freeing workers call this right after fork(), so nothing here
// allocates, takes a lock or calls into the C library.
#pragma once

#include <cstddef>

namespace qx::linuxos {

// Writes `count` spaces starting at `first`, and nothing outside them.
// `first` needs only the alignment of char16_t.
void writeSpaces(char16_t* first, std::size_t count) noexcept;

// The plain loop writeSpaces falls back on where there are no SSE2 stores.
// Kept visible so the tests run it on every machine.
void writeSpacesPortable(char16_t* first, std::size_t count) noexcept;

}  // namespace qx::linuxos

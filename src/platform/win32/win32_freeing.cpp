#include "platform/win32/win32_freeing.h"

#include <algorithm>

#include <windows.h>

#include "platform/win32/parallel_fill.h"
#include "platform/win32/win32_memory.h"

namespace qx::win32 {

namespace {

void* commitFromSystem(std::size_t bytes) {
    return ::VirtualAlloc(nullptr, bytes, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

void releaseToSystem(void* piece) { ::VirtualFree(piece, 0, MEM_RELEASE); }

}  // namespace

Win32Freeing::Win32Freeing() : Win32Freeing(Calls{}) {}

Win32Freeing::Win32Freeing(const Calls& calls) : calls_(calls) {
    if (calls_.readFigures == nullptr) calls_.readFigures = readMemoryStatusEx;
    if (calls_.commit == nullptr) calls_.commit = commitFromSystem;
    if (calls_.release == nullptr) calls_.release = releaseToSystem;
    if (calls_.fill == nullptr) calls_.fill = fillSpacesInParallel;
}

Win32Freeing::~Win32Freeing() { releaseBlock(); }

bool Win32Freeing::createBlock(std::uint64_t characters) {
    releaseBlock();
    if (characters == 0) return true;
    if (characters > UINT64_MAX / sizeof(char16_t)) return false;
    const std::uint64_t bytes = characters * sizeof(char16_t);

    MemoryStatusEx figures;
    if (!calls_.readFigures(figures) || bytes > roomForBlock(figures)) return false;
    std::uint64_t remaining = bytesToHold(bytes, figures.availVirtual);
    if (remaining == 0) return false;

    unsigned processors = usableProcessors();
    if (calls_.maxFillThreads != 0) processors = std::min(processors, calls_.maxFillThreads);

    std::uint64_t piece = firstPieceBytes(remaining, calls_.wideAddressSpace);
    while (remaining != 0) {
        const std::uint64_t size = piece < remaining ? piece : remaining;
        void* memory = size <= SIZE_MAX ? calls_.commit(static_cast<std::size_t>(size)) : nullptr;
        if (memory == nullptr) {
            // A fragmented 32-bit address space may still hold smaller pieces.
            if (calls_.wideAddressSpace || piece <= kSmallestPiece) {
                releaseBlock();
                return false;
            }
            piece /= 2;
            continue;
        }
        try {
            pieces_.push_back(memory);
        } catch (...) {
            calls_.release(memory);
            releaseBlock();
            return false;
        }
        calls_.fill(static_cast<char16_t*>(memory), static_cast<std::size_t>(size / sizeof(char16_t)),
                    fillThreadsFor(static_cast<std::size_t>(size), processors));
        held_ += size;
        remaining -= size;
    }
    return true;
}

void Win32Freeing::releaseBlock() {
    for (void* piece : pieces_) calls_.release(piece);
    pieces_.clear();
    held_ = 0;
}

}  // namespace qx::win32

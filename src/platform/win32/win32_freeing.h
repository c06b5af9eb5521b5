// Freeing memory on Windows: a block of spaces committed with VirtualAlloc,
// written with streaming stores by one thread per processor and released
// with VirtualFree, after checking that it fits what the system can give.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/system.h"
#include "platform/win32/freeing_plan.h"

namespace qx::win32 {

class Win32Freeing final : public FreeingSystem {
public:
    // The system calls, replaceable for tests.
    struct Calls {
        // GlobalMemoryStatusEx; false when it fails.
        bool (*readFigures)(MemoryStatusEx&) = nullptr;
        // VirtualAlloc(MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE); null when refused.
        void* (*commit)(std::size_t bytes) = nullptr;
        // VirtualFree(MEM_RELEASE).
        void (*release)(void* piece) = nullptr;
        // Whether the address space is that of a 64-bit process; a 32-bit
        // one holds the block in pieces (firstPieceBytes).
        bool wideAddressSpace = sizeof(void*) == 8;
        // Most threads to write the block with; 0: one per usable processor.
        unsigned maxFillThreads = 0;
        // Writes `count` spaces from `first` on with up to `threads` threads;
        // null: fillSpacesInParallel.
        void (*fill)(char16_t* first, std::size_t count, unsigned threads) = nullptr;
    };

    Win32Freeing();
    explicit Win32Freeing(const Calls& calls);
    ~Win32Freeing() override;
    Win32Freeing(const Win32Freeing&) = delete;
    Win32Freeing& operator=(const Win32Freeing&) = delete;

    // True once `characters` spaces (2 bytes each) are written. False, with
    // nothing committed, when the figures can't be read, the block doesn't
    // fit (roomForBlock), or a commit fails. A 32-bit program holds at most
    // what its address space can (bytesToHold): a larger block is cut to
    // that. Any block still held is released first. May run on a thread of
    // its own while nothing else touches this object.
    bool createBlock(std::uint64_t characters) override;
    void releaseBlock() override;

    // Bytes held now.
    std::uint64_t heldBytes() const { return held_; }

private:
    Calls calls_;
    std::vector<void*> pieces_;
    std::uint64_t held_ = 0;
};

}  // namespace qx::win32

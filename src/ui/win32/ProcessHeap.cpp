// Every allocation of the program comes from the process heap; one that
// fails ends the program with the allocation message, never returns null.
#include <windows.h>

#include <cstddef>
#include <new>

#include "ui/FatalError.h"

namespace {

void* allocate(std::size_t size) {
    if (void* p = HeapAlloc(GetProcessHeap(), 0, size == 0 ? 1 : size)) return p;
    RaiseFatalError(AllocationFailedMessage(size));
}

void release(void* p) noexcept {
    if (p != nullptr) HeapFree(GetProcessHeap(), 0, p);
}

}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }

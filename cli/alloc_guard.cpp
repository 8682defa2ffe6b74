// Allocation failure in vestrel-cal: one line on stderr and status 1, at once.
//
// libical does not survive a null from malloc (it writes through it), so no allocation failure may
// reach it: malloc, calloc and realloc are defined here, in the executable, ahead of the C library's
// for every library the program loads, and end the process when the C library's allocator has
// nothing left. Output goes out in flushed whole pieces (WriteIcs), so what was written stays; an
// iCalendar file cut off this way has no END:VCALENDAR.
//
// Built with VESTREL_ALLOCATION_FAILURES (the test build of the program), every allocation after
// the first N made after start-up fails, N from the environment variable
// VESTREL_FAIL_ALLOCATIONS_AFTER (unset: none fails).
//
// Not under AddressSanitizer, whose own allocator must serve the program.
#if !defined(__SANITIZE_ADDRESS__)

#include <unistd.h>

#include <cstddef>
#include <cstdlib>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
}

namespace {

[[noreturn]] void OutOfMemory() {
    static const char kLine[] = "vestrel-cal: out of memory\n";
    if (write(STDERR_FILENO, kLine, sizeof kLine - 1) < 0) {
        // nothing more to try
    }
    _exit(1);
}

#ifdef VESTREL_ALLOCATION_FAILURES
long allocationsLeft = -1;  // -1: no failure injected

__attribute__((constructor)) void ReadAllocationBudget() {
    if (const char* n = std::getenv("VESTREL_FAIL_ALLOCATIONS_AFTER")) allocationsLeft = std::atol(n);
}

// Whether this allocation is to fail.
bool Refused() {
    if (allocationsLeft < 0) return false;
    if (allocationsLeft == 0) return true;
    --allocationsLeft;
    return false;
}
#else
constexpr bool Refused() { return false; }
#endif

// p, or the end of the process when size bytes were asked for and none came.
void* Checked(void* p, size_t size) {
    if (p == nullptr && size != 0) OutOfMemory();
    return p;
}

}  // namespace

extern "C" {

void* malloc(size_t size) {
    if (Refused()) OutOfMemory();
    return Checked(__libc_malloc(size), size);
}

void* calloc(size_t count, size_t size) {
    if (Refused()) OutOfMemory();
    return Checked(__libc_calloc(count, size), count * size);
}

// realloc(p, 0) frees p and may answer null; that is no failure.
void* realloc(void* p, size_t size) {
    if (Refused()) OutOfMemory();
    return Checked(__libc_realloc(p, size), size);
}

}  // extern "C"

#endif  // !__SANITIZE_ADDRESS__

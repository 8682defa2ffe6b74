// libFuzzer target: the note list decoder on any bytes. Decoding never reads outside the data,
// and what it keeps encodes to bytes that decode to the same entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "notes/note_codec.h"

namespace {

bool Same(const NoteEntry* a, const NoteEntry* b, int lastIndex) {
    for (int i = 0; i <= lastIndex; ++i) {
        if (a[i].Present() != b[i].Present()) return false;
        if (!a[i].Present()) continue;
        if (a[i].length != b[i].length || a[i].colourWord != b[i].colourWord) return false;
        if (std::memcmp(a[i].text.get(), b[i].text.get(), a[i].length + 1u) != 0) return false;
    }
    return true;
}

void Check(const uint8_t* data, size_t size, int lastIndex) {
    NoteEntry first[32], second[32];
    const int rc = DecodeNoteList(reinterpret_cast<const char*>(data), size, first, lastIndex);
    if (rc != 0 && rc != -1) std::abort();
    const std::vector<char> bytes = EncodeNoteList(first, lastIndex);
    if (DecodeNoteList(bytes.data(), bytes.size(), second, lastIndex) != 0) std::abort();
    if (!Same(first, second, lastIndex)) std::abort();
    if (EncodeNoteList(second, lastIndex) != bytes) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Copy to an exact-size heap block so AddressSanitizer sees any read past the end.
    uint8_t* copy = static_cast<uint8_t*>(std::malloc(size ? size : 1));
    if (size) std::memcpy(copy, data, size);
    Check(copy, size, 31);  // month and yearly lists
    Check(copy, size, 7);   // the weekly list
    std::free(copy);
    return 0;
}

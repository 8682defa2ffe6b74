// libFuzzer target: the HTTP response split and the headline body parser on any bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "web/headline.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so AddressSanitizer sees any read past the end.
    char* copy = static_cast<char*>(std::malloc(size ? size : 1));
    if (size) std::memcpy(copy, data, size);

    // The capacity comes from the first byte, so small capacities are tried too.
    const int capacity = size ? (static_cast<unsigned char>(copy[0]) * 4) % (kHeadlineCapacity + 1) : kHeadlineCapacity;
    char* body = static_cast<char*>(std::malloc(static_cast<size_t>(capacity) + 1));
    int length = capacity;
    const int rc = SplitHttpResponse(copy, size, body, &length);
    if (rc != 0 && rc != -6) std::abort();
    if (length < 0 || length > capacity || body[length] != '\0') std::abort();
    if (std::strlen(body) != static_cast<size_t>(length)) std::abort();
    // Never a GBK character cut in two at the end.
    if (GbkPrefixLength(body, static_cast<size_t>(length), static_cast<size_t>(length)) != static_cast<size_t>(length))
        std::abort();

    const HeadlineRecord r = ParseHeadlineBody(body);
    if (r.present) {
        if (r.link.find('\t') != std::string::npos) std::abort();
        if (r.link.size() + 1 + r.text.size() > static_cast<size_t>(length)) std::abort();
        IsSafeHeadlineLink(r.link);
    }
    HeadlineState state;
    ApplyHeadlineBody(&state, rc, body);
    if (rc != 0 && state.showNext) std::abort();

    std::free(body);
    std::free(copy);
    return 0;
}

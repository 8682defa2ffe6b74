// The build's hosts: where the headline comes from and the vendor's pages live (CMake cache
// variables VESTREL_HEADLINE_HOST, VESTREL_HEADLINE_PORT and VESTREL_VENDOR_HOST).
#include "web/page_open.h"

const char* const kHeadlineHost = VESTREL_HEADLINE_HOST;
const unsigned short kHeadlinePort = VESTREL_HEADLINE_PORT;
const char* const kVendorHost = VESTREL_VENDOR_HOST;

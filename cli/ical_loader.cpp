// Finding the libical module.
#include "cli/ical_loader.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>

// Null unless the module is linked in.
extern "C" const VestrelIcal* VestrelIcalFunctions2(void) __attribute__((weak));

namespace {

// The folder of the program's file, "." when /proc cannot tell.
std::string ProgramFolder() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) return ".";
    const std::string program(path, static_cast<size_t>(n));
    const size_t slash = program.rfind('/');
    return slash == std::string::npos ? "." : program.substr(0, slash == 0 ? 1 : slash);
}

}  // namespace

const VestrelIcal* LoadIcal(std::string* problem) {
    static const VestrelIcal* functions = nullptr;
    if (functions != nullptr) return functions;
    if (VestrelIcalFunctions2 != nullptr) return functions = VestrelIcalFunctions2();
    const std::string path = ProgramFolder() + "/" + kIcalModuleName;
    // Kept loaded to the end of the run. RTLD_LOCAL: libical's names stay out of the program's way.
    void* module = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
    const char* why = module == nullptr ? dlerror() : nullptr;
    using Entry = const VestrelIcal* (*)();
    Entry entry = module != nullptr ? reinterpret_cast<Entry>(dlsym(module, VESTREL_ICAL_ENTRY)) : nullptr;
    if (entry == nullptr) {
        *problem = "cannot load the iCalendar module: " +
                   (why != nullptr ? std::string(why)
                                   : path + ": no entry point " VESTREL_ICAL_ENTRY " (a module of another build?)");
        return nullptr;
    }
    return functions = entry();
}

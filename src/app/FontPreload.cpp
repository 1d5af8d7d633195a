#include "app/FontPreload.h"

#include <QtGlobal>

#if defined(Q_OS_LINUX)
#include <dlfcn.h>
#endif

FontConfigurationPreload::FontConfigurationPreload() {
#if defined(Q_OS_LINUX)
    // Only the library the toolkit already brought in is used: where it draws text some other way,
    // nothing is loaded and nothing is read.
    void* library = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_NOLOAD);
    if (!library) return;
    auto* initialise = reinterpret_cast<int (*)()>(dlsym(library, "FcInit"));
    if (!initialise) {
        dlclose(library);
        return;
    }
    // The library keeps one configuration for the process and installs it atomically, so the
    // toolkit asking at the same moment gets a complete one either way.
    m_reader = std::thread([library, initialise] {
        initialise();
        dlclose(library);
    });
#endif
}

FontConfigurationPreload::~FontConfigurationPreload() {
    wait();
}

void FontConfigurationPreload::wait() {
    if (m_reader.joinable()) m_reader.join();
}

#include "platform/linux/font_config_preload.h"

#include <fontconfig/fontconfig.h>

#include <system_error>

namespace qx::linuxos {

FontConfigPreload::FontConfigPreload() {
    try {
        thread_ = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
    }
}

FontConfigPreload::~FontConfigPreload() { wait(); }

void FontConfigPreload::wait() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace qx::linuxos

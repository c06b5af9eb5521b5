// The program's images by the names the window model uses: "app" (the
// application icon, 16, 32 and 48 pixels) and "warning" (16 pixels).
#pragma once

#include <QIcon>
#include <string_view>

namespace qx::qt {

// Makes the images built into the program available; once per process,
// before the first icon is asked for.
void registerIconResources();

QIcon iconNamed(std::string_view name);  // a null icon for an unknown name

}  // namespace qx::qt

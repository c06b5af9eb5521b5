// The user's locale settings the readout needs.
#pragma once

#include <string>

namespace qx::win32ui {

// The user's digit-group separator ("" when the locale gives none).
std::string userGroupSeparator();

}  // namespace qx::win32ui

// Identifiers of the program's resources, shared by quendax.rc and the code.
#pragma once

// The first icon is the one Windows shows for the program file.
#define QX_ICON_APP 1
#define QX_ICON_WARNING 2

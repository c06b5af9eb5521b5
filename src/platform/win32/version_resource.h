// The version of the running program, from its own version resource.
#pragma once

namespace qx::win32 {

struct ProgramVersion {
    unsigned major = 0;
    unsigned minor = 0;
    unsigned build = 0;
    unsigned revision = 0;
};

// The file version of the program's VERSIONINFO; false when it has none.
bool readProgramVersion(ProgramVersion& version);

}  // namespace qx::win32

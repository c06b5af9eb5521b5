// The descriptors of a child process that is to keep nothing of the
// program's: the pipes it talks on, made where it can keep them, and the
// clean-up it runs right after fork() that closes everything else.
#pragma once

namespace qx::linuxos {

// pipe2() (close-on-exec) with both ends at 3 or above: a program started
// with standard input, output or error closed would get a pipe end there,
// and the child puts /dev/null over 0 to 2. False, with nothing left open,
// if that can't be had.
bool openPipeAbove2(int ends[2]);

// Leaves the child nothing of the program's but the pipe ends `a` and `b`
// (both above 2): every other descriptor is closed, and standard input,
// output and error go to /dev/null, so the child holds no terminal or log
// pipe open either. False when /dev/null can't be opened. It allocates
// nothing and takes no lock, so it may run in a child forked from a
// multithreaded program.
bool keepOnlyDescriptors(int a, int b);

}  // namespace qx::linuxos

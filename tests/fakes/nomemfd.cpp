// Preloaded into a test's child process: a system that refuses executable
// anonymous memory (vm.memfd_noexec, fapolicyd) refuses to make the file.
#include <cerrno>

extern "C" __attribute__((visibility("default"))) int memfd_create(const char*, unsigned int)
{
    errno = EPERM;
    return -1;
}

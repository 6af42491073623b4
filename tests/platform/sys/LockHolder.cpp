// A second process for the single-instance tests: tries the lock named by its
// arguments, says "acquired" or "refused" on stdout, and when it got the lock
// keeps it until stdin closes or it is killed.
#include "platform/sys/SingleInstance.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s NAME DIRECTORY\n", argv[0]);
        return 2;
    }
    sys::SingleInstance instance(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    const bool acquired = instance.tryAcquire();
    std::puts(acquired ? "acquired" : "refused");
    std::fflush(stdout);
    if (!acquired)
        return 1;
    while (std::getchar() != EOF) {
    }
    return 0;
}

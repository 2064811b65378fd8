// savebytes SIZE PATH: saves SIZE bytes to PATH the way the editor saves a document, so
// that a script can try exact sizes on a real disk. Exits 1 with the reason on stderr.
#include "runtimefailure.h"
#include "safesave.h"

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    try {
        rtf::saveBytes(QString::fromLocal8Bit(argv[2]), QByteArray(QByteArray(argv[1]).toLongLong(), '\n'));
    } catch (const RuntimeFailure &f) {
        std::fprintf(stderr, "savebytes: %s (%d)\n", f.what(), f.number());
        return 1;
    }
    return 0;
}

// savebytes SIZE PATH: saves SIZE bytes to PATH the way the editor saves a document, so
// that a script can try exact sizes on a real disk. Exits 1 with the reason on stderr.
#include "runtimefailure.h"
#include "safesave.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: savebytes SIZE PATH\n");
        return 2;
    }
    const qint64 size = std::strtoll(argv[1], nullptr, 10);
    QByteArray data(size, 'x');
    for (qint64 i = 0; i < size; i += 64)
        data[i] = '\n';
    try {
        rtf::saveBytes(QString::fromLocal8Bit(argv[2]), data);
    } catch (const RuntimeFailure &f) {
        std::fprintf(stderr, "savebytes: %s (%d)\n", f.what(), f.number());
        return 1;
    }
    return 0;
}

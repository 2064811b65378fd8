// Writes one of the project's generated test documents (bench/rtfgen), so that tests can
// make the large ones when they run instead of keeping them in the repository.
//   rtfgen PARAGRAPHS OUT.rtf [SEED]      (seed 42 unless given)

#include "rtfgen.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    bool countOk = false, seedOk = true;
    const int paragraphs = args.size() > 2 ? args[1].toInt(&countOk) : 0;
    const quint32 seed = args.size() > 3 ? args[3].toUInt(&seedOk) : 42;
    if (!countOk || !seedOk || paragraphs < 0 || args.size() > 4) {
        std::fprintf(stderr, "uso: rtfgen PÁRRAFOS SALIDA.rtf [SEMILLA]\n");
        return 2;
    }
    if (!rtfgen::writeDocument(args[2], paragraphs, seed)) {
        std::fprintf(stderr, "no se pudo escribir %s\n", qPrintable(args[2]));
        return 1;
    }
    return 0;
}

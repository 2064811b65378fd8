// Reads arbitrary bytes, writes them, reads what was written and writes again. Besides
// crashes and undefined behaviour, a second write that differs from the first is a bug:
// saving a file the editor wrote must give the same bytes.
#include "fuzzapp.h"
#include "rtfcodec.h"

#include <QTextDocument>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureFuzzApp();
    QTextDocument doc;
    rtf::read(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), &doc);
    QByteArray first;
    try {
        first = rtf::write(&doc);
    } catch (const rtf::PictureNotEncodedFailure &) {
        return 0;   // a refused save, which the editor reports
    }
    QTextDocument again;
    rtf::read(first, &again);
    const QByteArray second = rtf::write(&again);
    if (first != second) {
        std::fprintf(stderr, "unstable save:\n--- first\n%s\n--- second\n%s\n",
                     first.constData(), second.constData());
        std::abort();
    }
    return 0;
}

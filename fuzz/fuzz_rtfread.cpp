// Feeds arbitrary bytes to the RTF reader; any crash, leak or undefined behaviour is a bug.
#include "fuzzapp.h"
#include "rtfcodec.h"

#include <QTextDocument>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    ensureFuzzApp();
    QTextDocument doc;
    rtf::read(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), &doc);
    try {
        rtf::write(&doc);
    } catch (const rtf::PictureNotEncodedFailure &) {
        // a refused save, which the editor reports
    }
    return 0;
}

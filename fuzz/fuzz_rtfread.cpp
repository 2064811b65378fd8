// Feeds arbitrary bytes to the RTF reader; any crash, leak or undefined behaviour is a bug.
#include "rtfcodec.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static int argc = 1;
    static char name[] = "fuzz_rtfread";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    QTextDocument doc;
    rtf::read(QByteArray(reinterpret_cast<const char *>(data), qsizetype(size)), &doc);
    rtf::write(&doc);
    return 0;
}

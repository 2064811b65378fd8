// rtfdump FILE.rtf: prints what the codec reads as JSON.
// rtfdump --roundtrip IN.rtf OUT.rtf: reads IN and writes it to OUT.
#include "rtfcodec.h"
#include "rtfjson.h"
#include "runtimefailure.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <cstdio>

int main(int argc, char **argv)
{
    // A command-line tool: it needs fonts, never a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const bool roundTrip = args.size() == 3 && args[0] == QLatin1String("--roundtrip");
    // --text FILE prints the plain text, for comparing with other readers.
    const bool plain = args.size() == 2 && args[0] == QLatin1String("--text");
    if (!roundTrip && !plain && args.size() != 1) {
        std::fprintf(stderr, "usage: rtfdump FILE.rtf | rtfdump --roundtrip IN.rtf OUT.rtf\n");
        return 2;
    }
    QTextDocument doc;
    try {
        rtf::readFile(args.size() > 1 ? args[1] : args[0], &doc);
        if (plain) {
            std::fputs(doc.toPlainText().toUtf8().constData(), stdout);
        } else if (roundTrip) {
            rtf::writeFile(args[2], &doc);
        } else {
            const QByteArray json = documentToJson(&doc);
            std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
            std::fputc('\n', stdout);
        }
    } catch (const RuntimeFailure &f) {
        std::fprintf(stderr, "rtfdump: %s (%d)\n", f.what(), f.number());
        return 1;
    }
    return 0;
}

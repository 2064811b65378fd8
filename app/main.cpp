#include "module1.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Riruzo Deror"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/riruzo-deror.png")));

    // The interface is Spanish whatever the system locale, standard dialogs included.
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Spanish, QLocale::Spain), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    Main();
    return app.exec();
}

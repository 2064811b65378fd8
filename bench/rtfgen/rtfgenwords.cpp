#include "rtfgenwords.h"

namespace rtfgen {

const QStringList &words()
{
    static const QStringList list = QString::fromUtf8(
        "el la los las un una de del en con por para sin sobre entre hasta desde "
        "que como cuando donde mientras aunque pero y o ni si no ya muy tan más "
        "también además después antes ahora aquí allí así siempre nunca todavía "
        "casa ciudad camino mañana tarde noche día año años tiempo mundo país "
        "corazón canción razón nación información educación región opinión "
        "niño niña señor señora compañía montaña España español pequeño sueño "
        "música página público último rápido fácil difícil árbol lápiz teléfono "
        "política económico histórico práctico teórico método número cálculo "
        "agua tierra fuego aire luz sombra río mar cielo campo puerta ventana "
        "libro carta palabra idea historia memoria cultura lengua gente familia "
        "trabajo proyecto empresa mercado precio valor gobierno ley derecho "
        "está están será sería había tenía hacía decía podría habría dijo hizo "
        "fue era es son hay tiene hace dice puede quiere sabe cree parece queda "
        "bueno malo grande nuevo viejo largo corto alto bajo claro oscuro "
        "también través según además quizá jamás acción atención cuestión "
        "pingüino vergüenza ambigüedad lingüística cigüeña")
        .split(QLatin1Char(' '));
    return list;
}

const QStringList &names()
{
    static const QStringList list = QString::fromUtf8(
        "María José Ángel Inés Ramón Andrés Lucía Víctor Begoña Íñigo "
        "Sofía Óscar Raúl Martín Álvaro Nuria Joaquín Adrián")
        .split(QLatin1Char(' '));
    return list;
}

} // namespace rtfgen

#include "filefailures.h"

#include "runtimefailure.h"

#include <cerrno>

namespace rtf {

namespace {

struct Cause
{
    int error;
    int number;
    const char *reason;
    const char *openReason;   // when opening or reading needs other words; null otherwise
};

using F = RuntimeFailure;

const Cause kCauses[] = {
    {ENOSPC, F::DiskFull, "no queda espacio libre en el disco", nullptr},
    {EDQUOT, F::DiskFull, "se ha agotado la cuota de disco del usuario", nullptr},
    {EFBIG, F::FileAccess, "el archivo es demasiado grande para ese disco", "el archivo es demasiado grande"},
    {EOVERFLOW, F::FileAccess, "el archivo es demasiado grande", nullptr},
    {EROFS, F::PermissionDenied, "el disco es de solo lectura", nullptr},
    {EACCES, F::PermissionDenied, "no hay permiso para escribir ahí", "no hay permiso para leerlo"},
    {EPERM, F::PermissionDenied, "no hay permiso para escribir ahí", "no hay permiso para leerlo"},
    {ETXTBSY, F::FileAccess, "el archivo está en uso", nullptr},
    {EBUSY, F::FileAccess, "el archivo o el disco está en uso", nullptr},
    {ENOENT, F::PathNotFound, "la carpeta no existe", "no existe"},
    {ENOTDIR, F::PathNotFound, "una parte de la ruta no es una carpeta", nullptr},
    {ELOOP, F::FileAccess, "los enlaces simbólicos de la ruta forman un ciclo", nullptr},
    {EISDIR, F::FileAccess, "ya hay una carpeta con ese nombre", "es una carpeta"},
    {ENAMETOOLONG, F::BadFileName, "el nombre o la ruta es demasiado largo", nullptr},
    {EINVAL, F::FileAccess, "ese disco no admite el nombre o la operación", nullptr},
    {EIO, F::DeviceIo, "error de entrada o salida en el disco", nullptr},
    {ENXIO, F::FileAccess, "el dispositivo no existe o no está disponible", nullptr},
    {ENODEV, F::FileAccess, "el dispositivo no existe o no está disponible", nullptr},
    {ESTALE, F::FileAccess, "el archivo ya no está disponible en el servidor", nullptr},
    {ENOTCONN, F::FileAccess, "se ha perdido la conexión con el disco", nullptr},
    {ETIMEDOUT, F::FileAccess, "el disco no responde", nullptr},
    {EMFILE, F::FileAccess, "hay demasiados archivos abiertos", nullptr},
    {ENFILE, F::FileAccess, "hay demasiados archivos abiertos", nullptr},
    {ENOMEM, F::FileAccess, "no hay memoria suficiente", nullptr},
    {EAGAIN, F::FileAccess, "el archivo no está disponible en este momento", nullptr},
    {NotAFile, F::FileAccess, "no es un archivo corriente", nullptr},
    {PictureNotEncoded, F::FileAccess, "una imagen del documento no se puede convertir a PNG", nullptr},
};

const Cause *causeOf(int error)
{
    for (const Cause &c : kCauses)
        if (c.error == error)
            return &c;
    return nullptr;
}

} // namespace

QString fileFailureReason(int error, FileStep step)
{
    const Cause *c = causeOf(error);
    if (!c)
        return QStringLiteral("error del sistema número %1").arg(error);
    const bool opening = step != FileStep::Save && c->openReason;
    return QString::fromUtf8(opening ? c->openReason : c->reason);
}

QString fileFailureText(const QString &path, int error, FileStep step)
{
    if (step == FileStep::Open && error == ENOENT)
        return QStringLiteral("No se encontró el archivo «%1».").arg(path);
    const QString reason = fileFailureReason(error, step);
    switch (step) {
    case FileStep::Open: return QStringLiteral("No se puede abrir el archivo «%1»: %2.").arg(path, reason);
    case FileStep::Read: return QStringLiteral("Error al leer el archivo «%1»: %2.").arg(path, reason);
    case FileStep::Save: break;
    }
    return QStringLiteral("No se puede guardar el archivo «%1»: %2.").arg(path, reason);
}

void throwFileFailure(const QString &path, int error, FileStep step)
{
    int number = RuntimeFailure::FileAccess;
    if (step == FileStep::Open && error == ENOENT)
        number = RuntimeFailure::FileNotFound;
    else if (const Cause *c = causeOf(error))
        number = c->number;
    throw RuntimeFailure(number, fileFailureText(path, error, step));
}

} // namespace rtf

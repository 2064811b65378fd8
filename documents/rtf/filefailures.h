#pragma once

#include <QString>

// What the user is told when a file cannot be opened, read or saved: one table for all
// three, from the system's errno (or one of the causes below) to a Spanish reason and the
// editor's failure number, whatever the system's language.
namespace rtf {

enum class FileStep { Open, Read, Save };

// Causes that have no errno of their own.
enum FileCause : int {
    NotAFile = -1,            // a device, a pipe or a socket where a file was expected
    PictureNotEncoded = -2,   // a picture of the document cannot be written as PNG
};

QString fileFailureReason(int error, FileStep step);

// "No se puede guardar el archivo «path»: reason." and its kin, built in one step so
// that a path holding "%1" stays as it is.
QString fileFailureText(const QString &path, int error, FileStep step);

// Throws the RuntimeFailure the editor reports for that cause.
[[noreturn]] void throwFileFailure(const QString &path, int error, FileStep step);

} // namespace rtf

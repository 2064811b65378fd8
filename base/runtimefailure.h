#pragma once

#include <QString>
#include <exception>

// The editor's run-time failure: a number and a Spanish description. Handlers that
// trap nothing let it through; the place where handlers are connected reports it.
class RuntimeFailure : public std::exception
{
public:
    // Numbers the editor uses.
    enum : int {
        CancelError = 32755,      // a dialog with CancelError set was cancelled
        FileNotFound = 53,
        FileAccess = 75,          // path or file access error (not writable, unreadable)
        DeviceIo = 57,            // read or write error while the file was open
        DiskFull = 61,            // no space left, or the user's quota used up
        PermissionDenied = 70,    // the place or the disk does not take writes
        PathNotFound = 76,        // a folder of the path is missing or is not a folder
        BadFileName = 52,         // the name or the path is too long
        InvalidValue = 380,       // a property refused the value
        NoSuchProperty = 438,
        NoObject = 91,            // no document window to act on
        Printing = 482,           // the printer refused the job
        TooManyDocuments = 6,     // the document counter is at its largest value
        ReadOnlyProperty = 383,   // a by-name write to a property that is only read
        ClipboardUnavailable = 521,
    };

    RuntimeFailure(int number, QString description)
        : m_number(number), m_description(std::move(description)),
          m_utf8(m_description.toUtf8())
    {}

    int number() const noexcept { return m_number; }
    const QString &description() const noexcept { return m_description; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    int m_number;
    QString m_description;
    QByteArray m_utf8;
};

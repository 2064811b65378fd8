#include "runhandler.h"

#include "runtimefailure.h"

#include <QMessageBox>

#include <exception>

namespace {
void reportFailure(QWidget *parent, const QString &description) noexcept
{
    try {
        QMessageBox::critical(parent, QStringLiteral("Editor de textos...."), description);
    } catch (...) {
        // Nothing is left to tell the user with; the event loop must not see it.
    }
}
} // namespace

void runHandler(QWidget *parent, const std::function<void()> &handler) noexcept
{
    try {
        handler();
    } catch (const RuntimeFailure &failure) {
        reportFailure(parent, failure.description());
    } catch (const std::exception &failure) {
        reportFailure(parent, QString::fromLocal8Bit(failure.what()));
    } catch (...) {
        reportFailure(parent, QStringLiteral("Error inesperado."));
    }
}

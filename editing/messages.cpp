#include "messages.h"

#include <QMessageBox>

namespace messages {
namespace {
QList<Shown> *activeRecorder = nullptr;

void show(QWidget *parent, QMessageBox::Icon icon, const QString &kind, const QString &title,
          const QString &text)
{
    if (activeRecorder) {
        activeRecorder->append({kind, title, text});
        return;
    }
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}
} // namespace

void showInformation(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, QMessageBox::Information, QStringLiteral("information"), title, text);
}

void showWarning(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, QMessageBox::Warning, QStringLiteral("warning"), title, text);
}

void setRecorder(QList<Shown> *recorder) { activeRecorder = recorder; }

} // namespace messages

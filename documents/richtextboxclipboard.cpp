#include "richtextbox.h"

#include <QKeyEvent>
#include <QMimeData>

namespace {
// The clipboard keys a window's menu carries; the control lets the shortcut have them.
bool isClipboardKey(const QKeyEvent *key)
{
    const QKeyCombination pressed = key->keyCombination();
    for (const Qt::Key letter : {Qt::Key_X, Qt::Key_C, Qt::Key_V}) {
        if (pressed == QKeyCombination(Qt::ControlModifier, letter))
            return true;
    }
    return false;
}
} // namespace

bool RichTextBox::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride
        && isClipboardKey(static_cast<QKeyEvent *>(event))) {
        event->ignore();
        return true;
    }
    return QTextEdit::event(event);
}

QMimeData *RichTextBox::createMimeDataFromSelection() const
{
    auto *data = new QMimeData;
    data->setText(SelText());
    return data;
}

bool RichTextBox::canInsertFromMimeData(const QMimeData *source) const
{
    return source && source->hasText();
}

void RichTextBox::insertFromMimeData(const QMimeData *source)
{
    if (!source || isReadOnly())
        return;
    const QString text = source->text();
    if (text.isEmpty())
        return;
    setSelText(text);
    ensureCursorVisible();
}

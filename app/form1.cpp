#include "form1.h"

#include "twips.h"

#include <QLabel>
#include <QPixmap>
#include <QPointer>

Form1::Form1(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Form1"));
    resize(twipsToScreenPixels(4470), twipsToScreenPixels(5985));
    imagen = new QLabel(this);
    imagen->setObjectName(QStringLiteral("imagen"));
    imagen->setPixmap(QPixmap(QStringLiteral(":/images/about.jpg")));
    imagen->setGeometry(0, 0, twipsToScreenPixels(4500), twipsToScreenPixels(6000));
    imagen->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

Form1 *Form1::instance()
{
    // QApplication deletes leftover top-level widgets when it goes; QPointer notices.
    static QPointer<Form1> shared;
    if (!shared)
        shared = new Form1;
    return shared;
}

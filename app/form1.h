#pragma once

#include <QWidget>

class QLabel;

// The about box: one picture and nothing else. A top-level window without owner, so it
// outlives the main window and keeps the program running until it is closed itself.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    explicit Form1(QWidget *parent = nullptr);

    // The one shared instance, created on first use.
    static Form1 *instance();

    QLabel *imagen = nullptr;
};

#pragma once

// Answers the modal dialogs a test's action brings up, from a poll in the event loop, as a
// user would once the dialog is on the screen.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <functional>

class ModalAnswer
{
public:
    using Answer = std::function<void(QWidget *)>;

    // Answers the first modal dialog that is (or holds) a `kind`, or every one when `every`. Any
    // dialog left up unanswered for `patienceMs` is rejected and `gaveUp` set, so a test fails
    // instead of hanging.
    explicit ModalAnswer(Answer answer = accept(), const char *kind = "QDialog", bool every = false,
                         int patienceMs = 10000)
        : answer(std::move(answer)), kind(kind), every(every), patienceMs(patienceMs)
    {
        poller.setInterval(10);
        QObject::connect(&poller, &QTimer::timeout, [this] { poll(); });
        poller.start();
    }

    static Answer accept() { return [](QWidget *modal) { QMetaObject::invokeMethod(modal, "accept"); }; }
    static Answer reject() { return [](QWidget *modal) { QMetaObject::invokeMethod(modal, "reject"); }; }

    int answered = 0;
    bool gaveUp = false;
    QStringList titles, texts; // of each dialog answered, of each message box answered

private:
    static bool holds(QWidget *modal, const char *kind)
    {
        const QList<QWidget *> children = modal->findChildren<QWidget *>();
        return modal->inherits(kind)
               || std::any_of(children.begin(), children.end(), [kind](QWidget *c) { return c->inherits(kind); });
    }

    void poll()
    {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || busy) {
            waiting.invalidate();
            return;
        }
        if (done || !holds(modal, kind)) {
            if (!waiting.isValid())
                waiting.start();
            else if (waiting.elapsed() > patienceMs) {
                gaveUp = true;
                QMetaObject::invokeMethod(modal, "reject");
            }
            return;
        }
        done = !every;
        waiting.invalidate();
        ++answered;
        titles << modal->windowTitle();
        if (auto *box = qobject_cast<QMessageBox *>(modal))
            texts << box->text();
        // The answer may spin an event loop of its own (a dialog opened from this one).
        busy = true;
        answer(modal);
        busy = false;
    }

    Answer answer;
    const char *kind;
    bool every;
    int patienceMs;
    bool busy = false, done = false;
    QElapsedTimer waiting;
    QTimer poller; // dies with the answer, so a dialog that never comes stops nothing later
};

#include "workeraside.h"

#include "runtimefailure.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPointer>
#include <QScopeGuard>
#include <QSet>
#include <QThread>
#include <QWidget>

#include <exception>
#include <memory>

namespace {

// As much stack as the user-interface thread has, for work written for that thread.
constexpr uint kStackBytes = 8u << 20;

// The owners waiting now (user-interface thread only).
QSet<const QWidget *> &waitingOwners()
{
    static QSet<const QWidget *> owners;
    return owners;
}

// Refuses the close of the widgets from owner up to its window, and asks again for the
// outermost one refused once the hold ends: the close then runs after the caller of the
// wait has finished with them.
class CloseHold final : public QObject
{
public:
    explicit CloseHold(QWidget *owner)
    {
        for (QWidget *w = owner; w; w = w->parentWidget()) {
            chain.append(w);
            w->installEventFilter(this);
        }
    }

    ~CloseHold() override
    {
        for (const QPointer<QWidget> &w : std::as_const(chain)) {
            if (w)
                w->removeEventFilter(this);
        }
        if (heldLevel < 0 || !chain[heldLevel])
            return;
        QWidget *target = chain[heldLevel];
        QMetaObject::invokeMethod(target, [target] { target->close(); }, Qt::QueuedConnection);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Close)
            return false;
        event->ignore();
        const int level = int(chain.indexOf(static_cast<QWidget *>(watched)));
        if (level > heldLevel)
            heldLevel = level;
        return true;
    }

private:
    QList<QPointer<QWidget>> chain;   // owner first, its window last
    int heldLevel = -1;               // the outermost widget asked to close
};

} // namespace

void runAside(QWidget *owner, const std::function<void()> &work)
{
    if (waitingOwners().contains(owner))
        throw RuntimeFailure(RuntimeFailure::FileAccess,
                             QStringLiteral("El documento todavía se está abriendo; "
                                            "inténtelo de nuevo cuando termine."));
    waitingOwners().insert(owner);
    const auto notWaiting = qScopeGuard([owner] { waitingOwners().remove(owner); });

    std::exception_ptr failure;
    std::unique_ptr<QThread> worker(QThread::create([&work, &failure] {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    worker->setStackSize(kStackBytes);
    {
        CloseHold hold(owner);
        QEventLoop loop;
        QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restoreCursor = qScopeGuard([] { QGuiApplication::restoreOverrideCursor(); });
        worker->start();
        loop.exec(QEventLoop::ExcludeUserInputEvents);
        // The loop ends early when the application exits; the work still ends here.
        worker->wait();
    }
    if (failure)
        std::rethrow_exception(failure);
}

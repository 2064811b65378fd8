#pragma once

#include <functional>

class QWidget;

// Runs work on a thread of its own while the calling (user-interface) thread waits in an
// event loop that keeps painting, timers and accessibility requests going; user input waits
// until the work has ended, and a wait cursor shows meanwhile. Closes of owner and of every
// window around it are held back during the wait and made again once it is over, so that
// owner and its windows outlive the wait. Rethrows what work threw, on the calling thread.
// A second wait for the same owner while one runs fails with RuntimeFailure.
void runAside(QWidget *owner, const std::function<void()> &work);

#pragma once

#include <functional>

class QWidget;

// Runs a handler the user invoked; a failure that ends it is shown in a Spanish message
// box naming what failed. Used only where handlers are connected.
void runHandler(QWidget *parent, const std::function<void()> &handler) noexcept;

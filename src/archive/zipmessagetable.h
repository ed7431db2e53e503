#pragma once

#include <QString>

// The component's message table: the Russian text of each numbered report
// and of the password dialog's captions; empty for an id it does not hold.
// "%s" stands for an exception's argument.
QString messageTableText(int id);

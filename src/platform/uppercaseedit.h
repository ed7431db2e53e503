#pragma once

#include <QLineEdit>

namespace platform {

// A single-line edit that turns every typed letter, Cyrillic included, into
// upper case and has no length limit.
QLineEdit *makeUpperCaseEdit(QWidget *parent, const QRect &geometry);

} // namespace platform

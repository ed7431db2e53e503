#pragma once

#include <QString>
#include <functional>

namespace dataio {

// Something wrong with, or worth saying about, one line of an input file
// (line 0: the file as a whole).
struct Problem {
    int line = 0;
    QString text;
};
using ProblemSink = std::function<void(const Problem &)>;

} // namespace dataio

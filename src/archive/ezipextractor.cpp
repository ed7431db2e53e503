#include "archive/ezipextractor.h"

EZipExtractor::EZipExtractor(int id, bool display)
    : std::runtime_error(QStringLiteral("ZipExtractor [ %1 ]").arg(id).toStdString()), display_(display), id_(id)
{}

EZipExtractor::EZipExtractor(int id, int number)
    : std::runtime_error(QStringLiteral("ZipExtractor [ %1 ] ,%2").arg(id).arg(number).toStdString()), display_(true),
      id_(id), number_(QString::number(number))
{}

EZipExtractor::EZipExtractor(int id, const QString &text)
    : std::runtime_error(QStringLiteral("ZipExtractor [ %1 ], %2").arg(id).arg(text).toStdString()), display_(true),
      id_(id), text_(text)
{}

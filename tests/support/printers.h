#pragma once

// GoogleTest printers for the Qt types our tests compare.

#include <iosfwd>

class QString;
class QRect;
class QColor;
class QPoint;
class QSize;
class QByteArray;

void PrintTo(const QString& value, std::ostream* os);
void PrintTo(const QRect& value, std::ostream* os);
void PrintTo(const QColor& value, std::ostream* os);
void PrintTo(const QPoint& value, std::ostream* os);
void PrintTo(const QSize& value, std::ostream* os);
void PrintTo(const QByteArray& value, std::ostream* os);

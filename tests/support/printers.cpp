#include "printers.h"

#include <QByteArray>
#include <QColor>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <ostream>

void PrintTo(const QString& value, std::ostream* os)
{
    *os << '"' << value.toStdString() << '"';
}

void PrintTo(const QRect& value, std::ostream* os)
{
    *os << "QRect(" << value.x() << ',' << value.y() << ' ' << value.width() << 'x' << value.height() << ')';
}

void PrintTo(const QColor& value, std::ostream* os)
{
    *os << "QColor(" << value.red() << ',' << value.green() << ',' << value.blue() << ',' << value.alpha()
        << ')';
}

void PrintTo(const QPoint& value, std::ostream* os)
{
    *os << "QPoint(" << value.x() << ',' << value.y() << ')';
}

void PrintTo(const QSize& value, std::ostream* os)
{
    *os << "QSize(" << value.width() << 'x' << value.height() << ')';
}

void PrintTo(const QByteArray& value, std::ostream* os)
{
    *os << "QByteArray(" << value.toHex(' ').toStdString() << ')';
}

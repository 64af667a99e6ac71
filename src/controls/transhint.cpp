#include "controls/transhint.h"

#include <QString>

namespace controls {

namespace {
constexpr char16_t kBullet = u'\u2022';
} // namespace

void TTransparentHint::setvisible(bool v)
{
    if (!v && flab) flab->clear();
}

void TTransparentHint::dohint(const QString& txt)
{
    if (flab) flab->setText(QChar(kBullet) + QLatin1Char(' ') + txt + QLatin1Char(' ') + QChar(kBullet));
}

} // namespace controls

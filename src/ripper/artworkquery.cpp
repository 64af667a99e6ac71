#include "ripper/artworkquery.h"

#include <QFile>

#include "library/names.h"

namespace ripper {

namespace {

const QString kSpace = QStringLiteral(" ");
constexpr char16_t kLastReplacedCode = 64;

QString asciiUpper(const QString& text)
{
    QString upper = text;
    for (QChar& c : upper)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return upper;
}

QStringList readExclusionList()
{
    QFile resource(QStringLiteral(":/exclusionlist"));
    if (!resource.open(QIODevice::ReadOnly)) return {};
    return QString::fromLatin1(resource.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

} // namespace

QString replacestr(const QString& src, const QString& this_, const QString& that)
{
    QString result = asciiUpper(src);
    const QString find = asciiUpper(this_);
    const QString by = asciiUpper(that);
    if (find.isEmpty()) return result;
    // A replacement that holds the word again would be found forever: replace each once instead.
    if (by.contains(find)) return result.replace(find, by);
    for (qsizetype at = result.indexOf(find); at >= 0; at = result.indexOf(find))
        result.replace(at, find.size(), by);
    return result;
}

const QStringList& exclusionlist()
{
    static const QStringList words = readExclusionList();
    return words;
}

QString artworkquerywords(const QString& text)
{
    QString words = asciiUpper(library::trimcontrols(text));
    for (const QString& excluded : exclusionlist())
        words = replacestr(words, excluded, kSpace);
    for (QChar& c : words)
        if (c.unicode() >= 1 && c.unicode() <= kLastReplacedCode) c = QLatin1Char(' ');
    return words.replace(kSpace, QStringLiteral("%20"));
}

QString artworkqueryurl(const QString& host, const QString& artistname, const QString& albumtitle)
{
    return QStringLiteral("http://") + host + QStringLiteral("/musetraengine/engine.php?artist=") +
           artworkquerywords(artistname) + QStringLiteral("&album=") + artworkquerywords(albumtitle) +
           QStringLiteral("&user=anon");
}

} // namespace ripper

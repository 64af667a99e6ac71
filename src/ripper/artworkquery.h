#pragma once

// The words of a cover-art query: an artist or album name cleaned of the words that name a disc,
// a volume or "various" (the built-in "exclusionlist"), of digits and punctuation, upper-cased
// and with every space written as "%20". Plain functions, any thread.

#include <QString>
#include <QStringList>

namespace ripper {

// `src` upper-cased with every occurrence of `this_` replaced by `that`, searching again from the
// start after each replacement (both compared upper-cased, ASCII letters only). An empty `this_`
// changes nothing but the case.
QString replacestr(const QString& src, const QString& this_, const QString& that);

// The 177 words of the built-in "exclusionlist", in their order.
const QStringList& exclusionlist();

// `text` as query words.
QString artworkquerywords(const QString& text);

// The address of the query for `artistname` and `albumtitle` at the service on `host`.
QString artworkqueryurl(const QString& host, const QString& artistname, const QString& albumtitle);

} // namespace ripper

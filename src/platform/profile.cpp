#include "platform/profile.h"

#include <QFile>
#include <QFileInfo>

#include "platform/files.h"
#include "platform/textcodec.h"

namespace platform {

namespace {

// The section name of a header line ("[name]"), or a null string when the line is no header.
QString headerName(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(QLatin1Char('['))) return {};
    const qsizetype close = trimmed.indexOf(QLatin1Char(']'));
    const QString name = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed();
    return name.isNull() ? QString(QLatin1String("")) : name;
}

bool isHeader(const QString& line)
{
    return !headerName(line).isNull();
}

// The key name of a "key=value" line, or a null string when the line holds no "=".
QString keyName(const QString& line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0 || isHeader(line)) return {};
    const QString name = line.left(equals).trimmed();
    return name.isNull() ? QString(QLatin1String("")) : name;
}

// What a read returns for the stored text: cut at the first zero character and to the length
// limit; values also lose surrounding blanks and one pair of enclosing quotes.
QString cutValue(QString text)
{
    const qsizetype zero = text.indexOf(QChar(u'\0'));
    if (zero >= 0) text.truncate(zero);
    if (text.size() > Profile::kMaxValueLength) text.truncate(Profile::kMaxValueLength);
    return text;
}

QString storedValue(const QString& line)
{
    QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return cutValue(value);
}

// The text a write stores: one line, ending where a C string would.
QString writableValue(const QString& value)
{
    QString text = value;
    const qsizetype zero = text.indexOf(QChar(u'\0'));
    if (zero >= 0) text.truncate(zero);
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
}

} // namespace

Profile::Profile(const QString& path) : path_(path) {}

QString Profile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    if (!batching_) load();
    const qsizetype header = findSection(section);
    const qsizetype line = header < 0 ? -1 : findKey(header, key);
    if (line < 0) return cutValue(defaultValue);
    return storedValue(lines_.at(line));
}

QStringList Profile::keys(const QString& section) const
{
    if (!batching_) load();
    QStringList names;
    const qsizetype header = findSection(section);
    if (header < 0) return names;
    const qsizetype end = sectionEnd(header);
    for (qsizetype i = header + 1; i < end; ++i) {
        const QString name = keyName(lines_.at(i));
        if (!name.isNull() && !names.contains(name, Qt::CaseInsensitive)) names.append(name);
    }
    return names;
}

bool Profile::writeString(const QString& section, const QString& key, const QString& value)
{
    const QString text = writableValue(value);
    return change(section, key, &text);
}

bool Profile::removeKey(const QString& section, const QString& key)
{
    return change(section, key, nullptr);
}

void Profile::beginBatch()
{
    load();
    batching_ = true;
}

bool Profile::commitBatch()
{
    batching_ = false;
    return readable_ && save();
}

bool Profile::load() const
{
    lines_.clear();
    readable_ = true;
    QFile file(path_);
    if (!file.exists()) return true;
    if (!file.open(QIODevice::ReadOnly)) {
        readable_ = false;
        return false;
    }
    lines_ = splitLines(decodeText(file.readAll()));
    return true;
}

bool Profile::save() const
{
    QString text = lines_.join(QLatin1Char('\n'));
    if (!lines_.isEmpty()) text += QLatin1Char('\n');
    return writeFileAtomically(path_, text.toUtf8());
}

// Applies one write (`value`) or removal (null `value`) to the lines, and to the file unless a
// batch is open. A file that exists but cannot be read is never overwritten: its keys would be lost.
bool Profile::change(const QString& section, const QString& key, const QString* value)
{
    if (!batching_ && !load()) return false;
    qsizetype header = findSection(section);
    const qsizetype line = header < 0 ? -1 : findKey(header, key);
    if (!value) {
        if (line < 0) return readable_;
        lines_.removeAt(line);
    } else if (line >= 0) {
        lines_[line] = keyName(lines_.at(line)) + QLatin1Char('=') + *value;
    } else {
        if (header < 0) {
            if (!lines_.isEmpty() && !lines_.constLast().trimmed().isEmpty()) lines_.append(QString());
            lines_.append(QLatin1Char('[') + section + QLatin1Char(']'));
            header = lines_.size() - 1;
        }
        // New keys go after the last non-blank line of the section, before the blank lines that
        // separate it from the next one.
        qsizetype at = sectionEnd(header);
        while (at > header + 1 && lines_.at(at - 1).trimmed().isEmpty())
            --at;
        lines_.insert(at, key + QLatin1Char('=') + *value);
    }
    if (batching_) return readable_;
    return save();
}

qsizetype Profile::findSection(const QString& section) const
{
    const QString wanted = section.trimmed();
    for (qsizetype i = 0; i < lines_.size(); ++i) {
        const QString name = headerName(lines_.at(i));
        if (!name.isNull() && name.compare(wanted, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

qsizetype Profile::findKey(qsizetype sectionLine, const QString& key) const
{
    const QString wanted = key.trimmed();
    const qsizetype end = sectionEnd(sectionLine);
    for (qsizetype i = sectionLine + 1; i < end; ++i) {
        const QString name = keyName(lines_.at(i));
        if (!name.isNull() && name.compare(wanted, Qt::CaseInsensitive) == 0) return i;
    }
    return -1;
}

qsizetype Profile::sectionEnd(qsizetype sectionLine) const
{
    qsizetype i = sectionLine + 1;
    while (i < lines_.size() && !isHeader(lines_.at(i)))
        ++i;
    return i;
}

} // namespace platform

#include "platform/profile.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QSet>

#include "platform/files.h"
#include "platform/textcodec.h"

namespace platform {

namespace {

Q_LOGGING_CATEGORY(lcProfile, "musetra.platform.profile")

// True for a header line: its first character that is no blank is "[".
bool isHeader(QStringView line)
{
    return line.trimmed().startsWith(u'[');
}

// The section name of a header line ("[name]"), or a null string when the line is no header.
QString headerName(QStringView line)
{
    if (!isHeader(line)) return {};
    const QStringView trimmed = line.trimmed();
    const qsizetype close = trimmed.indexOf(u']');
    const QString name = trimmed.mid(1, close < 0 ? -1 : close - 1).trimmed().toString();
    return name.isNull() ? QString(QLatin1String("")) : name;
}

// The key name of a "key=value" line that is no header, or a null string when it holds no "=".
QString keyName(const QString& line)
{
    const qsizetype equals = line.indexOf(QLatin1Char('='));
    if (equals < 0) return {};
    const QString name = QStringView(line).left(equals).trimmed().toString();
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
    QStringView value = QStringView(line).mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (value.size() >= 2 && (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return cutValue(value.toString());
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

// How section and key names are compared: without regard to case or surrounding blanks.
QString folded(const QString& name)
{
    return name.trimmed().toCaseFolded();
}

} // namespace

Profile::Profile(const QString& path) : path_(path) {}

std::unique_ptr<Profile> Profile::fromText(const QByteArray& text)
{
    auto profile = std::make_unique<Profile>(QString());
    profile->read_ = text;
    profile->inMemory_ = true;
    return profile;
}

QString Profile::readString(const QString& section, const QString& key, const QString& defaultValue) const
{
    load();
    Section* found = findSection(section);
    const qsizetype line = found ? findKey(*found, key) : -1;
    if (line < 0) return cutValue(defaultValue);
    return storedValue(found->lines.at(line).text);
}

QStringList Profile::keys(const QString& section) const
{
    load();
    QStringList names;
    const Section* found = findSection(section);
    if (!found) return names;
    QSet<QString> seen;
    for (const Line& line : found->lines) {
        if (line.key.isNull()) continue;
        const QString name = folded(line.key);
        if (seen.contains(name)) continue;
        seen.insert(name);
        names.append(line.key);
    }
    return names;
}

bool Profile::contains(const QString& section, const QString& key) const
{
    load();
    Section* found = findSection(section);
    return found && findKey(*found, key) >= 0;
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
    return load() && save();
}

bool Profile::load() const
{
    if (loaded_) return readable_;
    loaded_ = true;
    addSection(QString()); // the lines before the first header
    readable_ = inMemory_ || readFile();
    if (readable_) addLines(read_);
    return readable_;
}

bool Profile::readFile() const
{
    if (!QFileInfo::exists(path_)) return true;
    QFile file;
    if (!openRegularFile(file, path_)) return false;
    read_ = readAtMost(file, kMaxFileBytes);
    if (read_.size() > kMaxFileBytes) {
        qCWarning(lcProfile).noquote() << "settings file" << path_ << "is larger than" << kMaxFileBytes
                                       << "bytes: it is not read, the defaults are used, and it is "
                                          "never written over";
        return false;
    }
    return file.error() == QFileDevice::NoError;
}

// Lines end after each LF, a CR before it belonging to the line end. Each line is decoded on
// its own, so a hand-written Windows-1252 line beside UTF-8 ones reads right.
void Profile::addLines(QByteArrayView bytes) const
{
    for (qsizetype start = 0; start < bytes.size();) {
        const qsizetype lf = bytes.indexOf('\n', start);
        const qsizetype next = lf < 0 ? bytes.size() : lf + 1;
        qsizetype contentEnd = lf < 0 ? bytes.size() : lf;
        if (lf > start && bytes.at(lf - 1) == '\r') --contentEnd;
        const QByteArrayView content = bytes.sliced(start, contentEnd - start);
        Line line = newLine(decodeText(content));
        line.bytes = content;
        line.end = bytes.sliced(contentEnd, next - contentEnd);
        if (start == 0 && !line.end.isEmpty()) lineEnd_ = line.end;
        const QString header = line.key.isNull() ? headerName(line.text) : QString();
        if (!header.isNull()) addSection(header);
        sections_.last().lines.append(std::move(line));
        start = next;
    }
}

void Profile::addSection(const QString& name) const
{
    sections_.append(Section{name, {}, {}, false});
    if (!name.isNull() && !sectionIndex_.contains(folded(name))) {
        sectionIndex_.insert(folded(name), sections_.size() - 1);
        lastSection_.reset();
    }
}

QByteArray Profile::text() const
{
    load();
    QByteArray data;
    const Line* previous = nullptr;
    for (const Section& section : sections_) {
        for (const Line& line : section.lines) {
            // A last line without a line end gets one when lines were added behind it.
            if (previous && previous->end.isEmpty()) data += lineEnd_;
            if (line.bytes.isNull())
                data += line.text.toUtf8();
            else
                data += line.bytes;
            data += line.end;
            previous = &line;
        }
    }
    return data;
}

// A text past the bound is never written: the next read would refuse the file.
bool Profile::save() const
{
    if (inMemory_) return true;
    const QByteArray data = text();
    if (data.size() > kMaxFileBytes) {
        qCWarning(lcProfile).noquote()
            << "settings file" << path_ << "not written: it would pass" << kMaxFileBytes << "bytes";
        return false;
    }
    return writeFileAtomically(path_, data);
}

// Applies one write (`value`) or removal (null `value`) to the lines, and to the file unless a
// batch is open. A file that exists but cannot be read is never overwritten: its keys would be
// lost. A key that already reads as `value` keeps its line as it is.
bool Profile::change(const QString& section, const QString& key, const QString* value)
{
    if (!load()) return false;
    Section* found = findSection(section);
    const qsizetype line = found ? findKey(*found, key) : -1;
    if (!value) {
        if (line < 0) return true;
        found->lines.removeAt(line);
        found->indexed = false;
    } else if (line >= 0) {
        Line& old = found->lines[line];
        if (storedValue(old.text) != *value) {
            const QByteArrayView end = old.end;
            old = newLine(old.key + QLatin1Char('=') + *value);
            old.end = end;
        }
    } else {
        if (!found) found = &appendSection(section);
        // New keys go after the last non-blank line of the section, before the blank lines that
        // separate it from the next one: no key line moves.
        qsizetype at = found->lines.size();
        while (at > 1 && found->lines.at(at - 1).text.trimmed().isEmpty())
            --at;
        found->lines.insert(at, newLine(key + QLatin1Char('=') + *value));
        if (found->indexed && !found->keyLines.contains(folded(key))) found->keyLines.insert(folded(key), at);
    }
    return batching_ || save();
}

// A new section at the end of the file, after a blank line.
Profile::Section& Profile::appendSection(const QString& section)
{
    QList<Line>& last = sections_.last().lines;
    if (!last.isEmpty() && !last.constLast().text.trimmed().isEmpty()) last.append(newLine(QString()));
    const QString header = QLatin1Char('[') + section + QLatin1Char(']');
    addSection(headerName(header));
    sections_.last().lines.append(newLine(header));
    return sections_.last();
}

Profile::Section* Profile::findSection(const QString& section) const
{
    // Callers ask for the same section many times in a row.
    if (!lastSection_ || lastSection_->first != section) {
        const auto found = sectionIndex_.constFind(folded(section));
        lastSection_.emplace(section, found == sectionIndex_.constEnd() ? -1 : *found);
    }
    return lastSection_->second < 0 ? nullptr : &sections_[lastSection_->second];
}

qsizetype Profile::findKey(Section& section, const QString& key) const
{
    if (!section.indexed) {
        section.keyLines.clear();
        // From the last line up, so the first line of a key is the one kept.
        for (qsizetype i = section.lines.size() - 1; i >= 0; --i) {
            const QString& name = section.lines.at(i).key;
            if (!name.isNull()) section.keyLines.insert(folded(name), i);
        }
        section.indexed = true;
    }
    return section.keyLines.value(folded(key), -1);
}

Profile::Line Profile::newLine(const QString& text) const
{
    const bool header = isHeader(text);
    return Line{text, header ? QString() : keyName(text), {}, lineEnd_};
}

} // namespace platform

#include "library/filter.h"

#include <QtEndian>
#include <array>

#include "platform/textcodec.h"

namespace library {

namespace {

constexpr qsizetype kHeaderSize = 34;

void appendInt(QByteArray& bytes, int32_t value)
{
    std::array<char, 4> big{};
    qToBigEndian(value, big.data());
    bytes.append(big.data(), big.size());
}

std::array<tfilterstrings*, 4> listsOf(tfilter& f)
{
    return {&f.genre, &f.artist, &f.keywords, &f.recordlabel};
}

// Reads the byte form forwards and never past its end.
class ByteReader
{
public:
    explicit ByteReader(const QByteArray& bytes) : bytes_(bytes) {}

    qsizetype remaining() const { return bytes_.size() - at_; }
    int32_t readInt()
    {
        const auto value = qFromBigEndian<int32_t>(bytes_.constData() + at_);
        at_ += 4;
        return value;
    }
    bool readFlag() { return bytes_.at(at_++) == 1; }
    // False when the text announced is longer than what remains.
    bool readString(QString& text)
    {
        if (remaining() < 4) return false;
        const int32_t length = readInt();
        if (length <= 0) {
            text.clear();
            return true;
        }
        if (length > remaining()) return false;
        text = platform::decodeText(bytes_.mid(at_, length));
        at_ += length;
        return true;
    }

private:
    const QByteArray& bytes_;
    qsizetype at_ = 0;
};

bool readLists(ByteReader& reader, tfilter& f, const std::array<int32_t, 4>& counts)
{
    const auto lists = listsOf(f);
    for (std::size_t n = 0; n < lists.size(); ++n) {
        lists[n]->count = counts[n];
        if (counts[n] < 0) continue;
        // Every string takes at least its four length bytes: a larger count cannot be honest.
        if (counts[n] > reader.remaining() / 4) return false;
        lists[n]->data.resize(counts[n]);
        for (QString& text : lists[n]->data) {
            if (!reader.readString(text)) return false;
        }
    }
    return true;
}

} // namespace

void tfiltertobytearray(const tfilter& f, QByteArray& bytes)
{
    bytes.clear();
    for (const tfilterstrings* list : {&f.genre, &f.artist, &f.keywords, &f.recordlabel})
        appendInt(bytes, list->count);
    for (const int32_t value : {f.yearlower, f.yearupper, f.decadelower, f.decadeupper})
        appendInt(bytes, value);
    bytes.append(static_cast<char>(f.excludecompilations ? 1 : 0));
    bytes.append(static_cast<char>(f.excludenoncompilations ? 1 : 0));
    for (const tfilterstrings* list : {&f.genre, &f.artist, &f.keywords, &f.recordlabel}) {
        // A count larger than the list writes empty strings for the missing entries, so the
        // reader still finds as many strings as the count announces.
        for (int32_t n = 0; n < list->count; ++n) {
            const QByteArray text = n < list->data.size() ? list->data.at(n).toUtf8() : QByteArray();
            appendInt(bytes, static_cast<int32_t>(text.size()));
            bytes.append(text);
        }
    }
}

bool bytearraytofilter(const QByteArray& bytes, tfilter& f)
{
    if (bytes.size() < kHeaderSize) {
        f = tfilter{};
        return false;
    }
    ByteReader reader(bytes);
    std::array<int32_t, 4> counts{};
    for (int32_t& count : counts)
        count = reader.readInt();
    f.yearlower = reader.readInt();
    f.yearupper = reader.readInt();
    f.decadelower = reader.readInt();
    f.decadeupper = reader.readInt();
    f.excludecompilations = reader.readFlag();
    f.excludenoncompilations = reader.readFlag();
    if (!readLists(reader, f, counts)) {
        f = tfilter{};
        return false;
    }
    return true;
}

void resetfilter()
{
    for (tfilterstrings* list : listsOf(filter))
        list->count = -1;
    filter.excludecompilations = false;
    filter.excludenoncompilations = false;
    filter.yearlower = -1;
    filter.decadelower = -1;
}

} // namespace library

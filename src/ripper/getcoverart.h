#pragma once

// The reader of the cover-art service's answer: after one skipped byte, records of a 16-byte size
// field, a 16-byte price field and that many bytes of JPEG picture, one after another. Every size
// is checked against the bytes that remain, a picture that cannot be decoded is skipped, and at
// most kMaxCovers pictures are kept. GUI thread (the process-wide `covers`).

#include <QByteArray>
#include <QImage>
#include <QString>
#include <array>
#include <cstdint>

namespace ripper {

constexpr int kMaxCovers = 25;

// One picture of the answer, decoded, and its price text (empty when it has none).
struct tcovers
{
    QImage image;
    QString price;
};

// Filled from index 1 by `uncompress`; index 0 is not used. Entries past the count of the last
// reading are left as an earlier one left them.
inline std::array<tcovers, kMaxCovers + 1> covers;

// `s` without the characters of code 127 and above, and without spaces and control characters at
// both ends.
QString trimnonacii(const QString& s);

// Reads the pictures of `inp` into `covers` and returns how many it filled (0 to kMaxCovers).
// `damaged`, when given, tells whether the reading stopped at a negative size or one larger than
// the rest of the answer.
int32_t uncompress(const QByteArray& inp, bool* damaged = nullptr);

} // namespace ripper

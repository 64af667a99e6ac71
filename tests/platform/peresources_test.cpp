#include <QBuffer>
#include <QDir>
#include <QLoggingCategory>
#include <QProcess>
#include <QRandomGenerator>
#include <QStandardPaths>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

#include "pewriter.h"
#include "platform/peresources.h"
#include "printers.h"
#include "tempfolder.h"

using namespace platform;

namespace {

QImage twoColours()
{
    QImage image(5, 3, QImage::Format_RGB32);
    image.fill(QColor(200, 10, 20));
    image.setPixel(0, 0, qRgb(0, 0, 255));
    image.setPixel(4, 2, qRgb(0, 255, 0));
    return image;
}

QByteArray sampleSkin(PeWriter* layoutOf = nullptr)
{
    PeWriter writer;
    writer.add(RT_BITMAP, QStringLiteral("KeypadUp"), dibFromImage(twoColours()));
    writer.add(RT_RCDATA, QStringLiteral("BACKGROUND"), QByteArray("\xFF\xD8\xFF not really a picture", 24));
    writer.add(RT_RCDATA, QStringLiteral("INFO"), QByteArray("Chrome skin\r\nTHEMENAME=Cold\r\n"));
    writer.add(RT_RCDATA, QStringLiteral("#7"), QByteArray("seven"));
    const QByteArray file = writer.build();
    if (layoutOf) *layoutOf = writer;
    return file;
}

void put32(QByteArray& bytes, qsizetype at, uint32_t value)
{
    qToLittleEndian<uint32_t>(value, bytes.data() + at);
}

void put16(QByteArray& bytes, qsizetype at, uint16_t value)
{
    qToLittleEndian<uint16_t>(value, bytes.data() + at);
}

// One way of damaging a file, named for the failure message.
struct Damage
{
    const char* what;
    std::function<void(QByteArray&)> damage;
};

// The sample skin's keypad picture: blue top left, green bottom right, red elsewhere.
void expectKeypad(const PeResources& skin)
{
    const QImage keypad = skin.bitmap(QStringLiteral("KEYPADUP"));
    ASSERT_EQ(keypad.size(), QSize(5, 3));
    EXPECT_EQ(keypad.pixelColor(0, 0), QColor(0, 0, 255));
    EXPECT_EQ(keypad.pixelColor(4, 2), QColor(0, 255, 0));
    EXPECT_EQ(keypad.pixelColor(2, 1), QColor(200, 10, 20));
}

} // namespace

TEST(PeResources, ReadsBitmapsAndRawDataByNameWithoutRegardToCase)
{
    QString error;
    const auto skin = PeResources::parse(sampleSkin(), &error);
    ASSERT_TRUE(skin) << error.toStdString();
    EXPECT_EQ(skin->count(), 4);

    expectKeypad(*skin);
    EXPECT_EQ(skin->bitmap(QStringLiteral("keypadup")), skin->bitmap(QStringLiteral("KEYPADUP")));

    EXPECT_EQ(skin->find(RT_RCDATA, QStringLiteral("info")), QByteArray("Chrome skin\r\nTHEMENAME=Cold\r\n"));
    EXPECT_EQ(skin->find(RT_RCDATA, QStringLiteral("#7")), QByteArray("seven"));
    // Types are kept apart.
    EXPECT_FALSE(skin->find(RT_BITMAP, QStringLiteral("INFO")));
    EXPECT_TRUE(skin->bitmap(QStringLiteral("BACKGROUND")).isNull());
    EXPECT_TRUE(skin->bitmap(QStringLiteral("KEYPADDOWN")).isNull());
}

TEST(PeResources, DamagedFilesAreRefusedWithAReason)
{
    PeWriter writer;
    const QByteArray good = sampleSkin(&writer);
    const PeWriter::Layout& at = writer.layout();
    ASSERT_TRUE(PeResources::parse(good));

    const Damage cases[] = {
        {"empty file", [](QByteArray& f) { f.clear(); }},
        {"not a library", [](QByteArray& f) { f[0] = 'X'; }},
        {"cut inside the headers", [](QByteArray& f) { f.truncate(0x100); }},
        {"cut inside the resources", [&](QByteArray& f) { f.truncate(at.resourceSection + 40); }},
        {"PE header past the end", [](QByteArray& f) { put32(f, 0x3C, uint32_t(f.size()) - 8); }},
        {"PE header offset wrapping round", [](QByteArray& f) { put32(f, 0x3C, 0xFFFFFFF0u); }},
        {"wrong signature", [](QByteArray& f) { f[0x41] = 'X'; }},
        {"unknown optional header", [](QByteArray& f) { put16(f, 0x58, 0x1234); }},
        {"too few data directories", [](QByteArray& f) { put32(f, 0x58 + 92, 2); }},
        {"optional header larger than the file", [](QByteArray& f) { put16(f, 0x40 + 20, 0xFFFF); }},
        {"no section holds the resources", [](QByteArray& f) { put16(f, 0x40 + 6, 0); }},
        {"section data past the end", [&](QByteArray& f) { put32(f, at.sectionTable + 20, 0x7FFFFFF0u); }},
        {"resource address outside every section",
         [&](QByteArray& f) { put32(f, at.resourceDirectoryEntry, 0x90000); }},
        {"resource size past the section",
         [&](QByteArray& f) { put32(f, at.resourceDirectoryEntry + 4, 0xFFFFFF00u); }},
        {"directory claiming 65535 entries",
         [&](QByteArray& f) { put16(f, at.resourceSection + 14, 0xFFFF); }},
        {"type directory looping to the root",
         [&](QByteArray& f) { put32(f, at.typeEntries[0] + 4, 0x80000000u); }},
        {"type without a directory", [&](QByteArray& f) { put32(f, at.typeEntries[0] + 4, 0x40); }},
        {"subdirectory past the section",
         [&](QByteArray& f) { put32(f, at.typeEntries[0] + 4, 0x8FFFFFF0u); }},
        {"resource data outside every section",
         [&](QByteArray& f) { put32(f, at.dataEntries[0], 0x7FFF0000u); }},
        {"resource data longer than the file",
         [&](QByteArray& f) { put32(f, at.dataEntries[0] + 4, 0xFFFFFFFFu); }},
        {"resource data address wrapping round",
         [&](QByteArray& f) { put32(f, at.dataEntries[0], 0xFFFFFFF0u); }},
    };
    for (const Damage& c : cases) {
        QByteArray file = good;
        c.damage(file);
        QString error;
        EXPECT_FALSE(PeResources::parse(file, &error)) << c.what;
        EXPECT_FALSE(error.isEmpty()) << c.what;
    }
}

TEST(PeResources, RandomDamageNeverCrashes)
{
    QLoggingCategory::setFilterRules(QStringLiteral("musetra.platform.pe.warning=false"));
    const QByteArray good = sampleSkin();
    for (qsizetype length = 0; length < good.size(); length += 3)
        (void)PeResources::parse(good.left(length));
    QRandomGenerator random(2024);
    for (int round = 0; round < 4000; ++round) {
        QByteArray file = good;
        const int hits = 1 + random.bounded(6);
        for (int i = 0; i < hits; ++i)
            file[random.bounded(int(file.size()))] = char(random.bounded(256));
        const auto skin = PeResources::parse(file);
        if (!skin) continue;
        // Whatever survives must still be readable without harm.
        (void)skin->bitmap(QStringLiteral("KEYPADUP"));
        (void)skin->find(RT_RCDATA, QStringLiteral("INFO"));
    }
    QLoggingCategory::setFilterRules(QString());
}

TEST(PeResources, BitmapHeadersAreCheckedAgainstTheirData)
{
    const QByteArray dib = dibFromImage(twoColours());
    ASSERT_FALSE(imageFromDib(dib).isNull());

    // Rows stored top-down (negative height) read the same.
    QByteArray topDown = dib;
    const int bitCount = qFromLittleEndian<uint16_t>(dib.constData() + 14);
    const int stride = (5 * bitCount + 31) / 32 * 4;
    const qsizetype pixels = qFromLittleEndian<uint32_t>(dib.constData());
    put32(topDown, 8, uint32_t(-3));
    for (int row = 0; row < 3; ++row)
        topDown.replace(pixels + row * stride, stride, dib.mid(pixels + (2 - row) * stride, stride));
    EXPECT_EQ(imageFromDib(topDown), imageFromDib(dib));

    const Damage cases[] = {
        {"no header", [](QByteArray& d) { d.truncate(10); }},
        {"unknown header size", [](QByteArray& d) { put32(d, 0, 20); }},
        {"header longer than the data", [](QByteArray& d) { put32(d, 0, 4000); }},
        {"zero width", [](QByteArray& d) { put32(d, 4, 0); }},
        {"negative width", [](QByteArray& d) { put32(d, 4, uint32_t(-5)); }},
        {"huge picture", [](QByteArray& d) { put32(d, 4, 100000), put32(d, 8, 100000); }},
        {"odd bit count", [](QByteArray& d) { put16(d, 14, 7); }},
        {"unknown compression", [](QByteArray& d) { put32(d, 16, 9); }},
        {"palette beyond the data", [](QByteArray& d) { put32(d, 32, 200); }},
        {"pixels cut short", [](QByteArray& d) { d.chop(4); }},
    };
    for (const Damage& c : cases) {
        QByteArray damaged = dib;
        c.damage(damaged);
        EXPECT_TRUE(imageFromDib(damaged).isNull()) << c.what;
    }
}

TEST(PeResources, PalettedAndOldStyleBitmapsAreRead)
{
    // An 8-bit DIB with a two-colour palette, and the same with the old 12-byte header.
    QByteArray indexed(40, '\0');
    put32(indexed, 0, 40);
    put32(indexed, 4, 2);
    put32(indexed, 8, 1);
    put16(indexed, 12, 1);
    put16(indexed, 14, 8);
    put32(indexed, 32, 2);
    indexed += QByteArray("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8); // red, blue (blue, green, red, 0)
    indexed += QByteArray("\x01\x00\x00\x00", 4);                 // pixels: blue, red
    const QImage image = imageFromDib(indexed);
    ASSERT_EQ(image.size(), QSize(2, 1));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(1, 0), QColor(255, 0, 0));

    QByteArray core(12, '\0');
    put32(core, 0, 12);
    put16(core, 4, 2);
    put16(core, 6, 1);
    put16(core, 8, 1);
    put16(core, 10, 8);
    core += QByteArray("\x00\x00\xFF\xFF\x00\x00", 6); // red, blue as RGB triples (blue, green, red)
    core += QByteArray(256 * 3 - 6, '\0');
    core += QByteArray("\x01\x00\x00\x00", 4);
    const QImage old = imageFromDib(core);
    ASSERT_EQ(old.size(), QSize(2, 1));
    EXPECT_EQ(old.pixelColor(0, 0), QColor(0, 0, 255));
}

TEST(PeResources, LibraryFilesAreFoundWithoutRegardToCaseButNeverByPath)
{
    TempFolder folder;
    folder.write(QStringLiteral("chrome.skn"), sampleSkin());
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    EXPECT_EQ(QFileInfo(findLibraryFile(QStringLiteral("CHROME.SKN"))).canonicalFilePath(),
              QFileInfo(folder.file(QStringLiteral("chrome.skn"))).canonicalFilePath());
    EXPECT_TRUE(findLibraryFile(QStringLiteral("other.skn")).isEmpty());
    EXPECT_TRUE(findLibraryFile(QString()).isEmpty());
    EXPECT_TRUE(findLibraryFile(QStringLiteral("./chrome.skn")).isEmpty());
    EXPECT_TRUE(findLibraryFile(folder.file(QStringLiteral("chrome.skn"))).isEmpty());
    EXPECT_TRUE(findLibraryFile(QStringLiteral("..\\chrome.skn")).isEmpty());
    QDir::setCurrent(before);

    EXPECT_TRUE(PeResources::open(folder.file(QStringLiteral("chrome.skn"))));
    QString error;
    EXPECT_FALSE(PeResources::open(folder.file(QStringLiteral("missing.skn")), &error));
    EXPECT_FALSE(error.isEmpty());
}

// A skin file made by the Windows resource tools, so the reader is checked against the real
// format and not only against our own writer.
TEST(PeResources, ReadsASkinLibraryBuiltByTheWindowsResourceTools)
{
    const QString windres = QStandardPaths::findExecutable(QStringLiteral("i686-w64-mingw32-windres"));
    const QString linker = QStandardPaths::findExecutable(QStringLiteral("i686-w64-mingw32-ld"));
    const QString preprocessor = QStandardPaths::findExecutable(QStringLiteral("cpp"));
    if (windres.isEmpty() || linker.isEmpty() || preprocessor.isEmpty())
        GTEST_SKIP()
            << "binutils-mingw-w64-i686 (windres, ld) or cpp not installed: real skin file not checked";

    TempFolder folder;
    twoColours().save(folder.file(QStringLiteral("keypad.bmp")), "BMP");
    folder.write(QStringLiteral("info.txt"), "Real skin\nTHEMENAME=Warm\nsbut = real\n");
    folder.write(QStringLiteral("back.jpg"), QByteArray("\xFF\xD8\xFF\xE0 fake", 9));
    folder.write(QStringLiteral("skin.rc"), "KeypadUp BITMAP \"keypad.bmp\"\n"
                                            "BACKGROUND RCDATA \"back.jpg\"\n"
                                            "INFO RCDATA \"info.txt\"\n"
                                            "7 RCDATA \"info.txt\"\n");
    const auto run = [&](const QString& program, const QStringList& arguments) {
        QProcess process;
        process.setWorkingDirectory(folder.path());
        process.start(program, arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    };
    run(windres,
        {QStringLiteral("--preprocessor=") + preprocessor, QStringLiteral("skin.rc"), QStringLiteral("-O"),
         QStringLiteral("coff"), QStringLiteral("-o"), QStringLiteral("skin.o")});
    run(linker, {QStringLiteral("--dll"), QStringLiteral("-e"), QStringLiteral("0"), QStringLiteral("-s"),
                 QStringLiteral("-o"), QStringLiteral("real.skn"), QStringLiteral("skin.o")});

    QString error;
    const auto skin = PeResources::open(folder.file(QStringLiteral("real.skn")), &error);
    ASSERT_TRUE(skin) << error.toStdString();
    expectKeypad(*skin);
    EXPECT_EQ(skin->find(RT_RCDATA, QStringLiteral("Info")),
              QByteArray("Real skin\nTHEMENAME=Warm\nsbut = real\n"));
    EXPECT_EQ(skin->find(RT_RCDATA, QStringLiteral("#7")), skin->find(RT_RCDATA, QStringLiteral("INFO")));
    EXPECT_EQ(skin->find(RT_RCDATA, QStringLiteral("BACKGROUND")), QByteArray("\xFF\xD8\xFF\xE0 fake", 9));
}

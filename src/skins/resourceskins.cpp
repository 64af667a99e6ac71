#include "skins/resourceskins.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QThread>
#include <array>
#include <cmath>
#include <memory>
#include <optional>

#include "platform/jpegcodec.h"
#include "platform/peresources.h"
#include "platform/textcodec.h"
#include "skins/colors.h"

namespace skins {

namespace {

Q_LOGGING_CATEGORY(lcSkins, "musetra.skins")

// The skin file opened by the latest InitSkin; null when that load found no readable file.
std::unique_ptr<platform::PeResources> DLLInstance;

// Closes the skin file of a load on every way out of it, errors included.
struct SkinFileRelease
{
    SkinFileRelease() = default;
    SkinFileRelease(const SkinFileRelease&) = delete;
    SkinFileRelease& operator=(const SkinFileRelease&) = delete;
    ~SkinFileRelease() { DLLInstance.reset(); }
};

void assertWindowThread()
{
    Q_ASSERT(!QCoreApplication::instance() ||
             QThread::currentThread() == QCoreApplication::instance()->thread());
}

bool sameNameIgnoringAsciiCase(const QString& a, const QString& b)
{
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        const char16_t x = a[i].unicode(), y = b[i].unicode();
        const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
        if (lower(x) != lower(y)) return false;
    }
    return true;
}

// JPEG pictures are backdrops, stretched or drawn as they are: they are decoded in the screen's
// format, so neither step converts them first.
constexpr QImage::Format kJpegFormat = QImage::Format_RGB32;

bool isJpegData(const QByteArray& bytes)
{
    return bytes.size() >= 3 && uchar(bytes[0]) == 0xFF && uchar(bytes[1]) == 0xD8 && uchar(bytes[2]) == 0xFF;
}

QByteArray builtinBytes(const QString& name)
{
    const QString path = findBuiltinResource(name);
    if (path.isEmpty()) throw ResourceNotFound(name);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) throw ResourceNotFound(name);
    return file.readAll();
}

// The program's own bitmap `name`. JPEG pictures are raw data, not bitmaps, so asking for one
// of them as a bitmap finds nothing.
QImage builtinBitmap(const QString& name)
{
    const QByteArray bytes = builtinBytes(name);
    QImage image;
    if (isJpegData(bytes) || !image.loadFromData(bytes)) throw ResourceNotFound(name);
    if (image.depth() < 24) image = image.convertToFormat(QImage::Format_RGB32);
    return image;
}

QImage builtinJpeg(const QString& name)
{
    QImage image;
    QString error;
    if (!platform::decodeJpeg(builtinBytes(name), image, QSize(), &error, kJpegFormat)) {
        qCWarning(lcSkins) << "built-in picture" << name << "is not a JPEG picture:" << error;
        throw ResourceNotFound(name);
    }
    return image;
}

// The picture `name` from module `hi`, tinted towards `blendcolor` (0 and clNone: no tint).
QImage loadTintedFrom(ModuleHandle hi, const QString& name, int32_t blendcolor, bool IsJPEG)
{
    QImage picture;
    if (IsJPEG)
        loadjpegresource(hi, name, picture);
    else
        loadbitmapresource(hi, name, picture);
    if (blendcolor != 0 && blendcolor != library::clNone) addcolortobitmap(picture, blendcolor, alphaamount);
    return picture;
}

// The picture `name` from the module the skin `skinname` names, tinted; the skin file is
// closed again however the load ends.
QImage loadTinted(const QString& name, const QString& skinname, int32_t blendcolor, bool IsJPEG)
{
    SkinFileRelease release;
    return loadTintedFrom(InitSkin(skinname), name, blendcolor, IsJPEG);
}

// The skin file `dllname` + ".SKN" (program folder, then current folder, any case); null when
// there is no such readable file.
std::unique_ptr<platform::PeResources> openSkinFile(const QString& dllname)
{
    if (dllname.isEmpty()) return nullptr;
    const QString path = platform::findLibraryFile(dllname + QStringLiteral(".SKN"));
    if (path.isEmpty()) {
        qCInfo(lcSkins) << "no skin file" << dllname << "- using the built-in pictures";
        return nullptr;
    }
    return platform::PeResources::open(path);
}

// Decimal, or hexadecimal after "$", in the 32-bit range (hexadecimal wraps as a bit pattern).
std::optional<int32_t> parseInteger(const QString& text)
{
    QString digits = text;
    bool negative = false;
    if (digits.startsWith(QLatin1Char('-')) || digits.startsWith(QLatin1Char('+'))) {
        negative = digits.startsWith(QLatin1Char('-'));
        digits.remove(0, 1);
    }
    bool ok = false;
    qint64 value = 0;
    if (digits.startsWith(QLatin1Char('$'))) {
        if (digits.size() < 2 || digits.size() > 9) return std::nullopt;
        value = qint64(int32_t(digits.mid(1).toUInt(&ok, 16)));
    } else {
        if (digits.isEmpty() || !digits[0].isDigit()) return std::nullopt;
        value = digits.toLongLong(&ok, 10);
        if (ok && (value > qint64(INT32_MAX) + (negative ? 1 : 0))) return std::nullopt;
    }
    if (!ok) return std::nullopt;
    return int32_t(negative ? -value : value);
}

using SkinField = library::tskin library::ttheme::*;

struct ThemeKey
{
    const char* skinKey;
    const char* colorKey;
    SkinField field;
};

// The theme text's keys for each element; "sbackround" is the spelling skin files use.
constexpr std::array<ThemeKey, 9> kThemeKeys = {{
    {"sbut", "cbut", &library::ttheme::sbut},
    {"skeypad", "ckeypad", &library::ttheme::skeypad},
    {"slcorner", "clcorner", &library::ttheme::slcorner},
    {"srcorner", "crcorner", &library::ttheme::srcorner},
    {"sblcorner", "cblcorner", &library::ttheme::sblcorner},
    {"sbrcorner", "cbrcorner", &library::ttheme::sbrcorner},
    {"salphabuttons", "calphabuttons", &library::ttheme::salphabuttons},
    {"swidebut", "cwidebut", &library::ttheme::swidebut},
    {"sbackround", "cbackground", &library::ttheme::sbackground},
}};

// Applies one key of the theme text to `theme`; false when its value is not a number where one belongs.
bool applyThemeKey(library::ttheme& theme, const QString& key, const QString& value)
{
    for (const ThemeKey& k : kThemeKeys) {
        if (key == QLatin1String(k.skinKey)) {
            (theme.*k.field).Skin = value;
            return true;
        }
        if (key == QLatin1String(k.colorKey)) {
            const auto number = parseInteger(value);
            if (number) (theme.*k.field).Color = *number;
            return number.has_value();
        }
    }
    if (key == QLatin1String("alphaorientation")) {
        const auto number = parseInteger(value);
        if (number) theme.alphaorientation = *number;
        return number.has_value();
    }
    return true; // other keys carry nothing for us
}

} // namespace

ResourceNotFound::ResourceNotFound(const QString& name)
    : std::runtime_error("resource not found: " + name.toStdString()), name_(name)
{
}

ModuleHandle InitSkin(const QString& dllname)
{
    DLLInstance.reset();
    DLLInstance = openSkinFile(dllname);
    return DLLInstance.get();
}

namespace {

using ChannelTables = std::array<std::array<uchar, 256>, 3>;

// Each channel maps through its own table of the 256 possible inputs.
ChannelTables tintTables(int32_t blendcolor, double alpha)
{
    const QRgb tint = tcolorToRgb(blendcolor);
    const int channel[3] = {qRed(tint), qGreen(tint), qBlue(tint)};
    ChannelTables table;
    for (int k = 0; k < 3; ++k) {
        for (int in = 0; in < 256; ++in) {
            const double out = std::nearbyint((in - channel[k]) * alpha + channel[k]);
            table[k][in] = uchar(std::clamp(out, 0.0, 255.0));
        }
    }
    return table;
}

void tintOpaque(QImage& source, const ChannelTables& table)
{
    const int width = source.width();
    for (int y = 0; y < source.height(); ++y) {
        uchar* line = source.scanLine(y);
        for (int x = 0; x < width * 3; x += 3) {
            line[x] = table[0][line[x]];
            line[x + 1] = table[1][line[x + 1]];
            line[x + 2] = table[2][line[x + 2]];
        }
    }
}

void tintKeepingAlpha(QImage& source, const ChannelTables& table)
{
    for (int y = 0; y < source.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(source.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const QRgb in = line[x];
            line[x] = qRgba(table[0][qRed(in)], table[1][qGreen(in)], table[2][qBlue(in)], qAlpha(in));
        }
    }
}

} // namespace

void addcolortobitmap(QImage& source, int32_t blendcolor, double alpha)
{
    if (source.isNull()) return;
    const ChannelTables table = tintTables(blendcolor, alpha);
    // A picture with see-through parts keeps them: only its colours move towards the tint.
    if (source.hasAlphaChannel()) {
        if (source.format() != QImage::Format_ARGB32) source = source.convertToFormat(QImage::Format_ARGB32);
        tintKeepingAlpha(source, table);
        return;
    }
    if (source.format() != QImage::Format_RGB888) source = source.convertToFormat(QImage::Format_RGB888);
    tintOpaque(source, table);
}

bool getimagefromcache(const QString& rn, QImage& bitmap)
{
    for (const TResource& entry : std::as_const(ResourceCache)) {
        if (sameNameIgnoringAsciiCase(entry.name, rn)) {
            bitmap = entry.bmp;
            return true;
        }
    }
    return false;
}

void loadjpegresource(ModuleHandle hi, const QString& resname, QImage& dest)
{
    if (hi) {
        const auto data = hi->find(platform::RT_RCDATA, resname);
        QImage image;
        QString error = QStringLiteral("missing");
        if (data && platform::decodeJpeg(*data, image, QSize(), &error, kJpegFormat)) {
            dest = image;
            return;
        }
        qCWarning(lcSkins) << "skin picture" << resname << "unusable (" << error
                           << ") - using the built-in one";
    }
    dest = builtinJpeg(resname);
}

void loadbitmapresource(ModuleHandle hi, const QString& resname, QImage& dest)
{
    if (hi) {
        const QImage image = hi->bitmap(resname);
        if (!image.isNull()) {
            dest = image;
            return;
        }
        qCWarning(lcSkins) << "skin bitmap" << resname << "missing - using the built-in one";
    }
    dest = builtinBitmap(resname);
}

QImage LoadSkinResource(const QString& name, const QString& skinname, int32_t blendcolor, bool IsJPEG)
{
    assertWindowThread();
    QImage cached;
    if (getimagefromcache(name, cached)) return cached;
    const QImage picture = loadTinted(name, skinname, blendcolor, IsJPEG);
    ResourceCache.push_back({picture, name});
    return picture;
}

QImage skinPictureOrNull(const QString& name, const library::tskin& skin, bool IsJPEG)
{
    try {
        return LoadSkinResource(name, skin.Skin, skin.Color, IsJPEG);
    } catch (const ResourceNotFound&) {
        return QImage();
    }
}

QImage uncachedSkinPictureOrNull(const QString& name, const library::tskin& skin, bool IsJPEG)
{
    QImage picture;
    if (getimagefromcache(name, picture)) return picture;
    try {
        LoadSkinResourceNoCache(name, skin.Skin, skin.Color, IsJPEG, picture);
    } catch (const ResourceNotFound&) {
        picture = QImage();
    }
    return picture;
}

QImage skinPictureOnAnyThread(const QString& name, const library::tskin& skin, bool IsJPEG)
{
    const std::unique_ptr<platform::PeResources> module = openSkinFile(skin.Skin);
    try {
        return loadTintedFrom(module.get(), name, skin.Color, IsJPEG);
    } catch (const ResourceNotFound&) {
        return QImage();
    }
}

QImage ReplaceSkinResource(const QString& name, const QString& skinname, int32_t blendcolor, bool IsJPEG)
{
    assertWindowThread();
    for (TResource& entry : ResourceCache) {
        if (sameNameIgnoringAsciiCase(entry.name, name)) {
            entry.bmp = loadTinted(name, skinname, blendcolor, IsJPEG);
            return entry.bmp;
        }
    }
    return LoadSkinResource(name, skinname, blendcolor, IsJPEG);
}

void LoadSkinResourceNoCache(const QString& name, const QString& skinname, int32_t blendcolor, bool IsJPEG,
                             QImage& obmp)
{
    assertWindowThread();
    obmp = loadTinted(name, skinname, blendcolor, IsJPEG);
}

void freeskinresources()
{
    ResourceCache.clear();
    DLLInstance.reset();
}

bool getline(const QString& ln, QString& param, QString& value)
{
    const qsizetype at = ln.indexOf(QLatin1Char('='));
    if (at < 0) return false;
    // Spaces and every control character count as blanks, as in the files' origin.
    const auto trimmed = [](QStringView text) {
        qsizetype first = 0, last = text.size();
        while (first < last && text[first].unicode() <= 0x20)
            ++first;
        while (last > first && text[last - 1].unicode() <= 0x20)
            --last;
        return text.mid(first, last - first).toString();
    };
    param = trimmed(QStringView(ln).left(at));
    value = trimmed(QStringView(ln).mid(at + 1));
    return true;
}

int readthemetext(const QByteArray& info, library::TThemeSubset& theme, QString& name)
{
    int skipped = 0;
    // A text stored as a C string ends at its first zero byte.
    const qsizetype end = info.indexOf('\0');
    const QStringList lines = platform::splitLines(platform::decodeText(end < 0 ? info : info.left(end)));
    if (lines.isEmpty()) throw ResourceNotFound(QStringLiteral("INFO"));
    name = lines[0];
    bool inTheme = false;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        QString key, value;
        if (!getline(lines[i], key, value)) continue;
        if (key == QLatin1String("THEMENAME")) {
            library::ttheme fresh;
            fresh.name = value;
            theme.append(fresh);
            inTheme = true;
        } else if (!inTheme) {
            qCWarning(lcSkins) << "theme text line" << i << "comes before the first THEMENAME: skipped";
            ++skipped;
        } else if (!applyThemeKey(theme.last(), key, value)) {
            qCWarning(lcSkins) << "theme text line" << i << "has no number for" << key << ": skipped";
            ++skipped;
        }
    }
    return skipped;
}

int loadtheme(const QString& fn, library::TThemeSubset& theme, QString& name)
{
    const QString path = platform::findLibraryFile(fn);
    if (path.isEmpty()) return -1;
    const auto file = platform::PeResources::open(path);
    if (!file) return -1;
    const auto info = file->find(platform::RT_RCDATA, QStringLiteral("INFO"));
    if (!info || info->isEmpty()) throw ResourceNotFound(QStringLiteral("INFO"));
    return readthemetext(*info, theme, name);
}

QString findBuiltinResource(const QString& name)
{
    if (name.isEmpty()) return {};
    const QString exact = QStringLiteral(":/") + name;
    if (QFileInfo(exact).isFile()) return exact;
    static const QStringList entries = QDir(QStringLiteral(":/")).entryList(QDir::Files);
    for (const QString& entry : entries) {
        if (sameNameIgnoringAsciiCase(entry, name)) return QStringLiteral(":/") + entry;
    }
    return {};
}

} // namespace skins

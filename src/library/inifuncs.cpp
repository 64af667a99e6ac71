#include "library/inifuncs.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <algorithm>
#include <array>
#include <limits>

#include "library/errorlog.h"
#include "library/filter.h"
#include "library/global.h"
#include "library/writefailures.h"
#include "platform/fatal.h"
#include "platform/files.h"
#include "platform/profile.h"
#include "platform/programfolder.h"

namespace library {

namespace {

Q_LOGGING_CATEGORY(lcSettings, "musetra.library.settings")

const QString kMain = QStringLiteral("main");
const QString kGenre = QStringLiteral("Genre");
const QString kArtistType = QStringLiteral("ArtistType");
const QString kPhrases = QStringLiteral("Phrases");
const QString kSkins = QStringLiteral("Skins");
const QString kCommercial = QStringLiteral("Commercial");

// Placeholders for the CD database settings until the operator sets real ones.
const QString kDefaultCddbServer = QStringLiteral("gnudb.gnudb.org");
const QString kDefaultEmail = QStringLiteral("jukebox@example.com");
const QString kDefaultArtworkHost = QStringLiteral("covers.musetra.net");

struct SkinKey
{
    const char* name;
    tskin ttheme::*entry;
};

constexpr std::array<SkinKey, 9> kSkinKeys = {{
    {"but", &ttheme::sbut},
    {"keypad", &ttheme::skeypad},
    {"lcorner", &ttheme::slcorner},
    {"rcorner", &ttheme::srcorner},
    {"blcorner", &ttheme::sblcorner},
    {"brcorner", &ttheme::sbrcorner},
    {"alphabuttons", &ttheme::salphabuttons},
    {"widebut", &ttheme::swidebut},
    {"background", &ttheme::sbackground},
}};

// --- numbers -------------------------------------------------------------------------------

struct LeadingNumber
{
    bool negative = false;
    bool hex = false;
    bool overflow = false; // more digits than 64 bits hold
    uint64_t magnitude = 0;
};

int hexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

LeadingNumber leadingNumber(const QString& text)
{
    LeadingNumber number;
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t')))
        ++i;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+')))
        number.negative = text.at(i++) == QLatin1Char('-');
    if (i < text.size() && text.at(i) == QLatin1Char('$')) {
        number.hex = true;
        ++i;
    } else if (i + 1 < text.size() && text.at(i) == QLatin1Char('0') &&
               (text.at(i + 1) == QLatin1Char('x') || text.at(i + 1) == QLatin1Char('X'))) {
        number.hex = true;
        i += 2;
    }
    const unsigned base = number.hex ? 16 : 10;
    for (; i < text.size(); ++i) {
        const int digit = hexDigit(text.at(i));
        if (digit < 0 || unsigned(digit) >= base) break;
        if (number.magnitude > (std::numeric_limits<uint64_t>::max() - unsigned(digit)) / base)
            number.overflow = true;
        else
            number.magnitude = number.magnitude * base + unsigned(digit);
    }
    return number;
}

template<typename Int> Int fitNumber(const LeadingNumber& number)
{
    using Unsigned = std::make_unsigned_t<Int>;
    constexpr Int lowest = std::numeric_limits<Int>::min();
    constexpr Int highest = std::numeric_limits<Int>::max();
    if (number.hex && !number.overflow && number.magnitude <= std::numeric_limits<Unsigned>::max()) {
        const auto wrapped = static_cast<Int>(static_cast<Unsigned>(number.magnitude));
        if (!number.negative) return wrapped;
        return wrapped == lowest ? highest : static_cast<Int>(-wrapped);
    }
    const auto limit = static_cast<uint64_t>(highest) + (number.negative ? 1 : 0);
    if (number.overflow || number.magnitude > limit) return number.negative ? lowest : highest;
    if (number.negative) return static_cast<Int>(0 - number.magnitude);
    return static_cast<Int>(number.magnitude);
}

uint8_t toByte(int32_t value)
{
    return static_cast<uint8_t>(std::clamp(value, 0, 255));
}

uint32_t toColour(int32_t value)
{
    return static_cast<uint32_t>(std::max(value, 0));
}

// --- the file ------------------------------------------------------------------------------

// Points `ini` at the settings file: "Musetra.ini" in the program folder, unless its AltINI
// key names another file. Names are found without regard to case, as on the original system.
void pointAtSettingsFile(tinifile& ini)
{
    const QString own = platform::joinPath(platform::programFolder(), QStringLiteral("Musetra.ini"));
    const QString ownFound = platform::resolveNoCase(own);
    ini.inipath = ownFound.isEmpty() ? own : ownFound;
    ini.section = kMain;
    const QString alternative = ini.readppstring(QStringLiteral("AltINI"), QString());
    if (alternative.isEmpty()) return;
    const QString alternativeFound = platform::resolveNoCase(alternative);
    ini.inipath = alternativeFound.isEmpty() ? alternative : alternativeFound;
}

// --- reading -------------------------------------------------------------------------------

tdylist readList(tinifile& ini, const QString& section)
{
    ini.section = section;
    tdylist list;
    for (;;) {
        const QString value = ini.readppstring(QString::number(list.count), QString());
        if (value.isEmpty()) break;
        list.data.append(value);
        ++list.count;
    }
    list.data.append(QString()); // one empty slot behind the entries in use
    return list;
}

QString readLibraryRoot(tinifile& ini)
{
    QString root = ini.readppstring(QStringLiteral("Path"), QString());
    if (root.isEmpty()) root = platform::programFolder();
    if (!root.endsWith(QLatin1Char('/'))) root += QLatin1Char('/');
    return root;
}

// The operator's CachePath when it is a folder; else the user's own, never a folder shared with
// other users (where anyone could plant the silent file or a cover copy).
// `cacheproblem` says why when neither is used.
QString readCachePath(tinifile& ini)
{
    cacheproblem.clear();
    const QString folder = ini.readppstring(QStringLiteral("CachePath"), QString());
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) return folder;
    const QString own = platform::ownCacheFolder(cacheproblem);
    if (own.isEmpty() && !folder.isEmpty())
        cacheproblem =
            QStringLiteral("CachePath %1 %2. ").arg(folder, platform::folderProblem(folder)) + cacheproblem;
    return own;
}

// The stored filter is the hexadecimal text of its byte form; anything else is ignored.
void readStoredFilter(const QString& text)
{
    static const QRegularExpression hexText(QStringLiteral("^(?:[0-9A-Fa-f]{2})+$"));
    if (!hexText.match(text).hasMatch()) {
        qCWarning(lcSettings) << "ignoring a stored filter that is not hexadecimal bytes";
        return;
    }
    tfilter stored = filter;
    if (bytearraytofilter(QByteArray::fromHex(text.toLatin1()), stored))
        filter = stored;
    else
        qCWarning(lcSettings) << "ignoring a stored filter that is cut short";
}

void readMainKeys(tinifile& ini)
{
    ini.section = kMain;
    config.path = readLibraryRoot(ini);
    cached = ini.readppbool(QStringLiteral("Cached"), QStringLiteral("0"));
    cachepath = readCachePath(ini);
    SLOWPROCESSOR = ini.readppbool(QStringLiteral("SlowProcessor"), QStringLiteral("0"));
    config.volume = ini.readppinteger(QStringLiteral("Volume"), QStringLiteral("7"));
    config.Dj_default = ini.readppbool(QStringLiteral("DJ On"), QStringLiteral("0"));
    config.Dj_comment = ini.readppbool(QStringLiteral("DJ Comment"), QStringLiteral("0"));
    config.lastalbum = ini.readppinteger(QStringLiteral("LastAlbum"), QStringLiteral("1"));
    config.dlastalbum = ini.readppinteger(QStringLiteral("dLastAlbum"), QStringLiteral("1"));
    config.jlastalbum = ini.readppinteger(QStringLiteral("jLastAlbum"), QStringLiteral("1"));
    config.auditiontimeout = ini.readppinteger(QStringLiteral("AuditionTimeout"), QStringLiteral("5"));
    config.burnpath = ini.readppstring(QStringLiteral("burnpath"), QStringLiteral(" "));
    config.screensaverpath = ini.readppstring(QStringLiteral("screensaverpath"), QStringLiteral(" "));
    config.bgstyle = ini.readppinteger(QStringLiteral("BackgroundStyle"), QString());
    config.borderstyle = toByte(ini.readppinteger(QStringLiteral("BorderStyle"), QString()));
    config.bgcolor = toColour(ini.readppinteger(QStringLiteral("BackgroundColor"), QString()));
    config.bordercolor = toColour(ini.readppinteger(QStringLiteral("BorderColor"), QString()));
    config.cdopt = toByte(ini.readppinteger(QStringLiteral("CDopt"), QString()));
    config.timeannounce = ini.readppbool(QStringLiteral("timeannounce"), QStringLiteral("1"));
    config.mediaplayermode = ini.readppbool(QStringLiteral("mediaplayermode"), QStringLiteral("0"));
    config.hideexit = ini.readppbool(QStringLiteral("hideexit"), QStringLiteral("0"));
    config.hidepanel = ini.readppbool(QStringLiteral("jukeboxcontrolpanel"), QStringLiteral("1"));
    config.litewarn = ini.readppbool(QStringLiteral("litewarn"), QStringLiteral("1"));
    config.defaultfilteron = ini.readppbool(QStringLiteral("defaultfilteron"), QStringLiteral("0"));
    config.autoplay = ini.readppbool(QStringLiteral("autoplay"), QStringLiteral("1"));
    autoplaymode = config.autoplay;
    config.lock = ini.readppbool(QStringLiteral("lock"), QStringLiteral("0"));
    config.norepeat = ini.readppbool(QStringLiteral("norepeat"), QStringLiteral("0"));
    config.jukeboxaddall = ini.readppbool(QStringLiteral("jukeboxaddall"), QStringLiteral("1"));
    config.jukeboxvolumepanel = ini.readppbool(QStringLiteral("jukeboxvolumepanel"), QStringLiteral("1"));
    config.password = ini.readppstring(QStringLiteral("password"), QString());
    config.copytrackdest = ini.readppstring(QStringLiteral("CopyTrackDestination"), QString());
    config.monitor = ini.readppinteger(QStringLiteral("Monitor"), QStringLiteral("0"));
    config.errorlog = ini.readppstring(QStringLiteral("ErrorLog"), QString());
    config.videomonitor = ini.readppinteger(QStringLiteral("VideoMonitor"), QString::number(config.monitor));
    config.fontsize = ini.readppinteger(QStringLiteral("FontSize"), QStringLiteral("7"));
    config.showminimize = ini.readppinteger(QStringLiteral("ShowMinimize"), QStringLiteral("0"));
    config.poweroff = ini.readppbool(QStringLiteral("PowerOff"), QStringLiteral("0"));
    config.disable3d = ini.readppbool(QStringLiteral("Disable3D"), QStringLiteral("0"));
    config.wraponunderscore = ini.readppbool(QStringLiteral("WrapOnUnderscore"), QStringLiteral("1"));
    genre = readList(ini, kGenre);
    artisttype = readList(ini, kArtistType);
    ini.section = kMain;
    config.bitrate = ini.readppinteger(QStringLiteral("Bitrate"), QStringLiteral("192"));
    config.cddbserver = ini.readppstring(QStringLiteral("CDDBServer"), kDefaultCddbServer);
    config.cddbcgi = ini.readppstring(QStringLiteral("CDDBcgi"), QStringLiteral("/~cddb/cddb.cgi"));
    config.email = ini.readppstring(QStringLiteral("email"), kDefaultEmail);
    config.artworkhost = ini.readppstring(QStringLiteral("ArtworkHost"), kDefaultArtworkHost);
    config.networksettings = ini.readppstring(QStringLiteral("networksettings"), QString());
    const QString storedFilter = ini.readppstring(QStringLiteral("defaultfilter"), QString());
    if (!storedFilter.isEmpty() && config.defaultfilteron) readStoredFilter(storedFilter);
}

void readSkins(tinifile& ini)
{
    ini.section = kSkins;
    for (const SkinKey& key : kSkinKeys) {
        tskin& skin = config.theme.*key.entry;
        skin.Skin = ini.readppstring(QLatin1Char('s') + QLatin1String(key.name), QString());
        skin.Color = ini.readppinteger(QLatin1Char('c') + QLatin1String(key.name), QString());
    }
    config.theme.alphaorientation =
        ini.readppinteger(QStringLiteral("alphaorientation"), QStringLiteral("2"));
}

void readCommercial(tinifile& ini)
{
    ini.section = kCommercial;
    config.creditsystem = ini.readppbool(QStringLiteral("creditsystem"), QStringLiteral("0"));
    // A coin gives at least one play and never an unbounded number of them.
    config.playspercoincredit =
        std::clamp(ini.readppinteger(QStringLiteral("playspercoincredit"), QStringLiteral("5")), 1, 100);
    config.allowfreecredit = ini.readppbool(QStringLiteral("allowfreecredit"), QStringLiteral("1"));
    config.bgvolumemax = ini.readppinteger(QStringLiteral("bgvolumemax"), QStringLiteral("30"));
    config.bgduration = ini.readppinteger(QStringLiteral("bgduration"), QStringLiteral("15"));
    config.bgwaittime = ini.readppinteger(QStringLiteral("bgwaittime"), QStringLiteral("15"));
    config.trackslogfile = ini.readppstring(QStringLiteral("trackslogfile"), QString());
    config.credittotal = ini.readppint64(QStringLiteral("credittotal"), QStringLiteral("0"));
    config.freecredittotal = ini.readppint64(QStringLiteral("freecredittotal"), QStringLiteral("0"));
    config.bgvolume = ini.readppinteger(QStringLiteral("bgvolume"), QStringLiteral("15"));
}

// --- writing -------------------------------------------------------------------------------

// Keys the program keeps but never uses: a stored text that still reads as the field's value is
// left exactly as the operator wrote it.
void writeKeptInteger(tinifile& ini, const QString& key, int64_t value, int64_t (*asRead)(int32_t))
{
    if (ini.haskey(key) && asRead(ini.readppinteger(key, QString())) == value) return;
    ini.writeppint64(key, value);
}

void writeKeptBool(tinifile& ini, const QString& key, bool value)
{
    if (ini.haskey(key) && ini.readppbool(key, QString()) == value) return;
    ini.writeppbool(key, value);
}

void writeKeptString(tinifile& ini, const QString& key, const QString& value)
{
    if (ini.haskey(key) && ini.readppstring(key, QString()) == value) return;
    ini.writeppstring(key, value);
}

// Writes the entries in use as keys "0", "1", ... and removes the numbered keys behind them, so
// a shortened list cannot grow back old entries when it is lengthened again.
void writeList(tinifile& ini, const QString& section, const tdylist& list)
{
    ini.section = section;
    const auto used = static_cast<int32_t>(std::clamp<qsizetype>(list.count, 0, list.data.size()));
    for (int32_t n = 0; n < used; ++n)
        ini.writeppstring(QString::number(n), list.data.at(n));
    for (const QString& key : ini.keys()) {
        bool number = false;
        const int n = key.toInt(&number);
        if (number && n >= used && key == QString::number(n)) ini.removekey(key);
    }
}

void writeMainKeys(tinifile& ini)
{
    ini.section = kMain;
    ini.writeppstring(QStringLiteral("path"), config.path);
    writeKeptString(ini, QStringLiteral("burnpath"), config.burnpath);
    ini.writeppstring(QStringLiteral("screensaverpath"), config.screensaverpath);
    ini.writeppinteger(QStringLiteral("Volume"), config.volume);
    ini.writeppbool(QStringLiteral("DJ On"), config.Dj_default);
    ini.writeppbool(QStringLiteral("DJ Comment"), config.Dj_comment);
    ini.writeppinteger(QStringLiteral("LastAlbum"), config.lastalbum);
    ini.writeppinteger(QStringLiteral("dLastAlbum"), config.dlastalbum);
    ini.writeppinteger(QStringLiteral("jLastAlbum"), config.jlastalbum);
    ini.writeppinteger(QStringLiteral("AuditionTimeout"), config.auditiontimeout);
    writeKeptInteger(ini, QStringLiteral("BackgroundStyle"), config.bgstyle,
                     [](int32_t v) -> int64_t { return v; });
    writeKeptInteger(ini, QStringLiteral("BorderStyle"), config.borderstyle,
                     [](int32_t v) -> int64_t { return toByte(v); });
    writeKeptInteger(ini, QStringLiteral("BackgroundColor"), config.bgcolor,
                     [](int32_t v) -> int64_t { return toColour(v); });
    writeKeptInteger(ini, QStringLiteral("BorderColor"), config.bordercolor,
                     [](int32_t v) -> int64_t { return toColour(v); });
    writeKeptInteger(ini, QStringLiteral("CDopt"), config.cdopt,
                     [](int32_t v) -> int64_t { return toByte(v); });
    ini.writeppbool(QStringLiteral("timeannounce"), config.timeannounce);
    ini.writeppbool(QStringLiteral("hideexit"), config.hideexit);
    writeKeptBool(ini, QStringLiteral("litewarn"), config.litewarn);
    ini.writeppbool(QStringLiteral("defaultfilteron"), config.defaultfilteron);
    ini.writeppbool(QStringLiteral("autoplay"), config.autoplay);
    ini.writeppbool(QStringLiteral("lock"), config.lock);
    ini.writeppbool(QStringLiteral("norepeat"), config.norepeat);
    ini.writeppstring(QStringLiteral("password"), config.password);
    ini.writeppbool(QStringLiteral("jukeboxvolumepanel"), config.jukeboxvolumepanel);
    ini.writeppbool(QStringLiteral("jukeboxaddall"), config.jukeboxaddall);
    QByteArray filterBytes;
    tfiltertobytearray(filter, filterBytes);
    ini.writeppstring(QStringLiteral("defaultfilter"), QString::fromLatin1(filterBytes.toHex()));
}

void writeSkins(tinifile& ini)
{
    ini.section = kSkins;
    for (const SkinKey& key : kSkinKeys) {
        const tskin& skin = config.theme.*key.entry;
        ini.writeppstring(QLatin1Char('s') + QLatin1String(key.name), skin.Skin);
        ini.writeppinteger(QLatin1Char('c') + QLatin1String(key.name), skin.Color);
    }
    ini.writeppinteger(QStringLiteral("alphaorientation"), config.theme.alphaorientation);
}

void writeCommercial(tinifile& ini)
{
    ini.section = kCommercial;
    ini.writeppbool(QStringLiteral("creditsystem"), config.creditsystem);
    ini.writeppinteger(QStringLiteral("playspercoincredit"), config.playspercoincredit);
    ini.writeppbool(QStringLiteral("allowfreecredit"), config.allowfreecredit);
    ini.writeppinteger(QStringLiteral("bgvolumemax"), config.bgvolumemax);
    ini.writeppinteger(QStringLiteral("bgduration"), config.bgduration);
    ini.writeppinteger(QStringLiteral("bgwaittime"), config.bgwaittime);
    ini.writeppstring(QStringLiteral("trackslogfile"), config.trackslogfile);
    ini.writeppint64(QStringLiteral("credittotal"), config.credittotal);
    ini.writeppint64(QStringLiteral("freecredittotal"), config.freecredittotal);
    ini.writeppinteger(QStringLiteral("bgvolume"), config.bgvolume);
}

} // namespace

int32_t settingsInteger(const QString& text)
{
    return fitNumber<int32_t>(leadingNumber(text));
}

int64_t settingsInteger64(const QString& text)
{
    return fitNumber<int64_t>(leadingNumber(text));
}

// --- tinifile ------------------------------------------------------------------------------

tinifile::tinifile() = default;
tinifile::tinifile(const QByteArray& text) : profile_(platform::Profile::fromText(text)) {}
tinifile::~tinifile() = default;

platform::Profile& tinifile::profile()
{
    if (!profile_ || profile_->path() != inipath) profile_ = std::make_unique<platform::Profile>(inipath);
    return *profile_;
}

int tinifile::writeppstring(const QString& key, const QString& value)
{
    if (!profile().writeString(section, key, value)) qCWarning(lcSettings) << "cannot write" << inipath;
    return 0;
}

int tinifile::writeppbool(const QString& key, bool value)
{
    return writeppstring(key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

int tinifile::writeppinteger(const QString& key, int32_t value)
{
    return writeppstring(key, QString::number(value));
}

int tinifile::writeppint64(const QString& key, int64_t value)
{
    return writeppstring(key, QString::number(value));
}

QString tinifile::readppstring(const QString& key, const QString& def)
{
    return profile().readString(section, key, def);
}

int32_t tinifile::readppinteger(const QString& key, const QString& def)
{
    return settingsInteger(readppstring(key, def));
}

int64_t tinifile::readppint64(const QString& key, const QString& def)
{
    return settingsInteger64(readppstring(key, def));
}

bool tinifile::readppbool(const QString& key, const QString& def)
{
    return readppinteger(key, def) != 0;
}

bool tinifile::haskey(const QString& key)
{
    return profile().contains(section, key);
}

QStringList tinifile::keys()
{
    return profile().keys(section);
}

void tinifile::removekey(const QString& key)
{
    if (!profile().removeKey(section, key)) qCWarning(lcSettings) << "cannot write" << inipath;
}

void tinifile::beginbatch()
{
    profile().beginBatch();
}

bool tinifile::commitbatch()
{
    return profile().commitBatch();
}

QByteArray tinifile::text()
{
    return profile().text();
}

namespace {

// The operator's text for a settings file that is, or would grow, past the bound it is read to.
QString tooLargeText(const QString& path)
{
    return QStringLiteral("Settings not read or saved: %1 would pass %2 MB")
        .arg(path)
        .arg(platform::Profile::kMaxFileBytes / (1024 * 1024));
}

// The keypad types a passcode as the three digits after album "0000". One of one to three digits is
// kept as those three digits, as the advanced panel's "Set" stores it; any other could never be
// typed, so it is refused at start, with a word. The lock stays as set: guests must never reach the
// operator's windows because a passcode was mistyped. The screen, which guests read, does not show
// the refused passcode; the error log does.
void checkPasscode()
{
    passcodeproblem.clear();
    static const QRegularExpression typeable(QStringLiteral("^[0-9]{1,3}$"));
    const QString stored = config.password.trimmed();
    if (stored.isEmpty()) return;
    if (typeable.match(stored).hasMatch()) {
        config.password = stored.rightJustified(3, QLatin1Char('0'));
        return;
    }
    const QString remedy = QStringLiteral("refused: the keypad types 3 digits, set password=000 to 999");
    passcodeproblem = QStringLiteral("The passcode in the settings is ") + remedy;
    const QString logged = QStringLiteral("Passcode %1 %2").arg(stored, remedy);
    qCWarning(lcSettings).noquote() << logged;
    writeerrorlog(logged);
}

} // namespace

// --- the procedures ------------------------------------------------------------------------

bool readini()
{
    tinifile ini;
    pointAtSettingsFile(ini);
    // Anything but a regular file (a FIFO, a device) is as good as no settings file.
    if (!platform::isRegularFile(ini.inipath))
        platform::fatalError(QStringLiteral("musetra.ini not found. Cannot continue."),
                             QStringLiteral("Please install or create an .ini file in the program folder"));
    platform::removeAtomicWriteLeftovers(ini.inipath);
    // A file past the bound is neither read nor written over: the jukebox starts on the defaults,
    // and the operator is told why.
    if (QFileInfo(ini.inipath).size() > platform::Profile::kMaxFileBytes)
        reportWriteFailure(ini.inipath, tooLargeText(ini.inipath));
    readSettings(ini);
    checkPasscode();
    return true;
}

void writeini()
{
    tinifile ini;
    pointAtSettingsFile(ini);
    if (writeSettings(ini)) return reportWriteSuccess(ini.inipath);
    qCWarning(lcSettings) << "the settings could not be written to" << ini.inipath;
    const bool tooLarge = QFileInfo(ini.inipath).size() > platform::Profile::kMaxFileBytes ||
                          ini.text().size() > platform::Profile::kMaxFileBytes;
    reportWriteFailure(ini.inipath, tooLarge ? tooLargeText(ini.inipath)
                                             : QStringLiteral("Settings not saved to %1").arg(ini.inipath));
}

void readSettings(tinifile& ini)
{
    readMainKeys(ini);
    phrases = readList(ini, kPhrases);
    readSkins(ini);
    readCommercial(ini);
}

// Every key is changed in memory first and the file replaced once, so a failure or a power cut
// leaves the whole old file or the whole new one.
bool writeSettings(tinifile& ini)
{
    ini.beginbatch();
    writeMainKeys(ini);
    writeList(ini, kPhrases, phrases);
    writeList(ini, kGenre, genre);
    writeList(ini, kArtistType, artisttype);
    ini.section = kMain;
    ini.writeppstring(QStringLiteral("Path"), config.path);
    ini.writeppinteger(QStringLiteral("Bitrate"), config.bitrate);
    ini.writeppstring(QStringLiteral("email"), config.email);
    ini.writeppbool(QStringLiteral("PowerOff"), config.poweroff);
    writeSkins(ini);
    writeCommercial(ini);
    return ini.commitbatch();
}

} // namespace library

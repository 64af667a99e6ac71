#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <limits>
#include <span>
#include <unistd.h>

#include "answeringdialogs.h"
#include "library/filter.h"
#include "library/global.h"
#include "library/inifuncs.h"
#include "library/writefailures.h"
#include "platform/fatal.h"
#include "platform/profile.h"
#include "platform/programfolder.h"
#include "printers.h"
#include "tempfolder.h"

using namespace library;

namespace {

struct IntegerCase
{
    const char* text;
    int64_t expected32;
    int64_t expected64;
};

class SettingsIntegerTest : public ::testing::TestWithParam<IntegerCase>
{
};

TEST_P(SettingsIntegerTest, ReadsTheLeadingNumber)
{
    const QString text = QString::fromUtf8(GetParam().text);
    EXPECT_EQ(settingsInteger(text), GetParam().expected32) << GetParam().text;
    EXPECT_EQ(settingsInteger64(text), GetParam().expected64) << GetParam().text;
}

constexpr int64_t kMax32 = std::numeric_limits<int32_t>::max();
constexpr int64_t kMin32 = std::numeric_limits<int32_t>::min();
constexpr int64_t kMax64 = std::numeric_limits<int64_t>::max();
constexpr int64_t kMin64 = std::numeric_limits<int64_t>::min();

INSTANTIATE_TEST_SUITE_P(
    Texts, SettingsIntegerTest,
    ::testing::Values(
        IntegerCase{"12", 12, 12}, IntegerCase{"  -7", -7, -7}, IntegerCase{"\t+5", 5, 5},
        IntegerCase{"12abc", 12, 12}, IntegerCase{"1 2", 1, 1}, IntegerCase{"abc", 0, 0},
        IntegerCase{"", 0, 0}, IntegerCase{"-", 0, 0}, IntegerCase{"$", 0, 0}, IntegerCase{"0x", 0, 0},
        IntegerCase{"$1F", 31, 31}, IntegerCase{"0x1fz", 31, 31}, IntegerCase{"0X10", 16, 16},
        IntegerCase{"-$10", -16, -16}, IntegerCase{"007", 7, 7}, IntegerCase{"$FFFFFFFF", -1, 0xFFFFFFFF},
        IntegerCase{"$80000000", kMin32, 0x80000000}, IntegerCase{"2147483648", kMax32, 2147483648},
        IntegerCase{"-2147483648", kMin32, kMin32}, IntegerCase{"-2147483649", kMin32, -2147483649},
        IntegerCase{"5000000000", kMax32, 5000000000}, IntegerCase{"99999999999999999999999", kMax32, kMax64},
        IntegerCase{"-99999999999999999999999", kMin32, kMin64},
        IntegerCase{"$1FFFFFFFF", kMax32, 0x1FFFFFFFF},
        IntegerCase{"\xd9\xa1\xd9\xa2", 0, 0})); // Arabic-Indic digits are no digits

// Each test runs against an empty program folder with fresh globals.
class SettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        resetGlobals();
        platform::setProgramFolder(folder.path());
    }
    void TearDown() override
    {
        platform::setProgramFolder(QString());
        resetGlobals();
    }
    QString writeIni(const QByteArray& content)
    {
        return folder.write(QStringLiteral("Musetra.ini"), content);
    }
    QByteArray iniBytes() const { return folder.read(QStringLiteral("Musetra.ini")); }
    // The cache folder of the user's own, in the tests' cache home.
    static QString ownCache() { return qEnvironmentVariable("XDG_CACHE_HOME") + QStringLiteral("/musetra"); }
    static constexpr QFile::Permissions kOthersAndGroup = QFile::ReadGroup | QFile::WriteGroup |
                                                          QFile::ExeGroup | QFile::ReadOther |
                                                          QFile::WriteOther | QFile::ExeOther;
    QString value(const char* section, const char* key)
    {
        tinifile ini;
        ini.inipath = folder.file(QStringLiteral("Musetra.ini"));
        ini.section = QString::fromLatin1(section);
        return ini.readppstring(QString::fromLatin1(key), QStringLiteral("<missing>"));
    }

    TempFolder folder;
};

tdylist makeList(const QStringList& entries)
{
    tdylist list;
    list.data = entries;
    list.count = static_cast<int32_t>(entries.size());
    list.data.append(QString());
    return list;
}

// Defaults worked out from other settings or from the system rather than given as text.
TEST_F(SettingsTest, EmptyFileGivesTheDerivedDefaults)
{
    writeIni("");
    ASSERT_TRUE(readini());
    EXPECT_EQ(config.path, folder.path() + QLatin1Char('/'));
    EXPECT_EQ(cachepath, ownCache());
    EXPECT_EQ(config.burnpath, QStringLiteral(" "));
    EXPECT_TRUE(autoplaymode);
    EXPECT_TRUE(config.hidepanel);
    EXPECT_EQ(config.bitrate, 192);
    EXPECT_EQ(config.theme.alphaorientation, 2);
    EXPECT_EQ(genre.count, 0);
    EXPECT_EQ(genre.data, QStringList{QString()});
}

// Each key by the name the settings file uses, with a value other than its default. Keys the
// program keeps but never writes are marked: they are read, but not written back.
struct KeyCase
{
    const char* line;
    std::function<bool()> read;
    bool written = true;
};

const KeyCase kMainKeys[] = {
    {"Path=/srv/music", [] { return config.path == QStringLiteral("/srv/music/"); }},
    {"Cached=1", [] { return cached; }, false},
    {"SlowProcessor=1", [] { return SLOWPROCESSOR; }, false},
    {"Volume=88", [] { return config.volume == 88; }},
    {"DJ On=1", [] { return config.Dj_default; }},
    {"DJ Comment=1", [] { return config.Dj_comment; }},
    {"LastAlbum=4", [] { return config.lastalbum == 4; }},
    {"dLastAlbum=5", [] { return config.dlastalbum == 5; }},
    {"jLastAlbum=6", [] { return config.jlastalbum == 6; }},
    {"AuditionTimeout=11", [] { return config.auditiontimeout == 11; }},
    {"burnpath=/burn", [] { return config.burnpath == QStringLiteral("/burn"); }},
    {"screensaverpath=viz --full", [] { return config.screensaverpath == QStringLiteral("viz --full"); }},
    {"BackgroundStyle=-3", [] { return config.bgstyle == -3; }},
    {"BorderStyle=200", [] { return config.borderstyle == 200; }},
    {"BackgroundColor=16746496", [] { return config.bgcolor == 0x00FF8800; }},
    {"BorderColor=6", [] { return config.bordercolor == 6; }},
    {"CDopt=7", [] { return config.cdopt == 7; }},
    {"timeannounce=0", [] { return !config.timeannounce; }},
    {"mediaplayermode=1", [] { return config.mediaplayermode; }, false},
    {"hideexit=1", [] { return config.hideexit; }},
    {"jukeboxcontrolpanel=0", [] { return !config.hidepanel; }, false},
    {"litewarn=0", [] { return !config.litewarn; }},
    {"defaultfilteron=1", [] { return config.defaultfilteron; }},
    {"autoplay=0", [] { return !config.autoplay && !autoplaymode; }},
    {"lock=1", [] { return config.lock; }},
    {"norepeat=1", [] { return config.norepeat; }},
    {"jukeboxaddall=0", [] { return !config.jukeboxaddall; }},
    {"jukeboxvolumepanel=0", [] { return !config.jukeboxvolumepanel; }},
    {"password=321", [] { return config.password == QStringLiteral("321"); }},
    {"CopyTrackDestination=/copies", [] { return config.copytrackdest == QStringLiteral("/copies"); }, false},
    {"Monitor=2", [] { return config.monitor == 2; }, false},
    {"ErrorLog=/errors.log", [] { return config.errorlog == QStringLiteral("/errors.log"); }, false},
    {"VideoMonitor=3", [] { return config.videomonitor == 3; }, false},
    {"FontSize=9", [] { return config.fontsize == 9; }, false},
    {"ShowMinimize=2", [] { return config.showminimize == 2; }, false},
    {"PowerOff=1", [] { return config.poweroff; }},
    {"Disable3D=1", [] { return config.disable3d; }, false},
    {"WrapOnUnderscore=0", [] { return !config.wraponunderscore; }, false},
    {"Bitrate=320", [] { return config.bitrate == 320; }},
    {"CDDBServer=cddb.local", [] { return config.cddbserver == QStringLiteral("cddb.local"); }, false},
    {"CDDBcgi=/cgi", [] { return config.cddbcgi == QStringLiteral("/cgi"); }, false},
    {"email=pub@example.org", [] { return config.email == QStringLiteral("pub@example.org"); }},
    {"networksettings=netconf", [] { return config.networksettings == QStringLiteral("netconf"); }, false},
};

const KeyCase kCommercialKeys[] = {
    {"creditsystem=1", [] { return config.creditsystem; }},
    {"playspercoincredit=3", [] { return config.playspercoincredit == 3; }},
    {"allowfreecredit=0", [] { return !config.allowfreecredit; }},
    {"bgvolumemax=40", [] { return config.bgvolumemax == 40; }},
    {"bgduration=20", [] { return config.bgduration == 20; }},
    {"bgwaittime=25", [] { return config.bgwaittime == 25; }},
    {"trackslogfile=/plays.log", [] { return config.trackslogfile == QStringLiteral("/plays.log"); }},
    {"credittotal=5000000000", [] { return config.credittotal == 5'000'000'000; }},
    {"freecredittotal=-12", [] { return config.freecredittotal == -12; }},
    {"bgvolume=17", [] { return config.bgvolume == 17; }},
};

QByteArray sectionText(const char* section, const auto& keys)
{
    QByteArray text = QByteArray("[") + section + "]\n";
    for (const KeyCase& key : keys)
        text += QByteArray(key.line) + '\n';
    return text;
}

const std::pair<const char*, tskin ttheme::*> kSkinEntries[] = {{"but", &ttheme::sbut},
                                                                {"keypad", &ttheme::skeypad},
                                                                {"lcorner", &ttheme::slcorner},
                                                                {"rcorner", &ttheme::srcorner},
                                                                {"blcorner", &ttheme::sblcorner},
                                                                {"brcorner", &ttheme::sbrcorner},
                                                                {"alphabuttons", &ttheme::salphabuttons},
                                                                {"widebut", &ttheme::swidebut},
                                                                {"background", &ttheme::sbackground}};

// Skin entry "x" is named "x" and coloured minus its name's length.
QByteArray skinsText()
{
    QByteArray skins = "[Skins]\nalphaorientation=1\n";
    for (const auto& [entry, member] : kSkinEntries)
        skins += QByteArray("s") + entry + '=' + entry + "\nc" + entry + "=-" +
                 QByteArray::number(qstrlen(entry)) + '\n';
    return skins;
}

void expectEveryKey(bool onlyWritten)
{
    for (const std::span<const KeyCase> keys :
         {std::span<const KeyCase>(kMainKeys), std::span<const KeyCase>(kCommercialKeys)})
        for (const KeyCase& key : keys)
            if (key.written || !onlyWritten) {
                EXPECT_TRUE(key.read()) << key.line;
            }
    const ttheme& theme = config.theme;
    EXPECT_EQ(theme.alphaorientation, 1);
    for (const auto& [entry, member] : kSkinEntries)
        EXPECT_EQ(theme.*member, (tskin{QString::fromLatin1(entry), -int32_t(qstrlen(entry))})) << entry;
    EXPECT_EQ(phrases.data, QStringList({QStringLiteral("Here comes"),
                                         QStringLiteral("Next up: \u00e9t\u00e9"), QString()}));
    EXPECT_EQ(genre.data, QStringList({QStringLiteral("Rock"), QStringLiteral("Pop"), QString()}));
    EXPECT_EQ(artisttype.data, QStringList({QStringLiteral("Band"), QString()}));
}

// Every key is read under the name the settings file uses, and written back under it: the file the
// program writes from nothing reads back to the same settings.
TEST_F(SettingsTest, EveryKeyIsReadAndWrittenUnderItsOwnName)
{
    tfilter stored;
    stored.genre = {{QStringLiteral("Rock")}, 1};
    stored.yearlower = 1970;
    stored.decadeupper = 1990;
    stored.excludecompilations = true;
    QByteArray storedBytes;
    tfiltertobytearray(stored, storedBytes);
    writeIni(sectionText("main", kMainKeys) + "CachePath=" + folder.path().toUtf8() +
             "\ndefaultfilter=" + storedBytes.toHex() + '\n' + sectionText("Commercial", kCommercialKeys) +
             skinsText() + "[Phrases]\n0=Here comes\n1=Next up: \xc3\xa9t\xc3\xa9\n[Genre]\n0=Rock\n1=Pop\n" +
             "[ArtistType]\n0=Band\n");
    ASSERT_TRUE(readini());
    EXPECT_EQ(cachepath, folder.path());
    expectEveryKey(false);
    EXPECT_EQ(filter, stored);

    writeIni("");
    writeini();
    resetGlobals();
    ASSERT_TRUE(readini());
    expectEveryKey(true);
    EXPECT_EQ(filter, stored);
}

TEST_F(SettingsTest, KeysTheProgramNeverWritesKeepTheirStoredText)
{
    writeIni("[main]\nmediaplayermode=1\nMonitor=2\nFontSize=9\nCDDBServer=cddb.local\n"
             "; operator note\n[Extra]\nmine=kept\n");
    ASSERT_TRUE(readini());
    EXPECT_TRUE(config.mediaplayermode);
    EXPECT_EQ(config.videomonitor, 2); // follows Monitor when missing
    config.mediaplayermode = false;
    config.fontsize = 30;
    config.cddbserver = QStringLiteral("changed");
    writeini();
    EXPECT_EQ(value("main", "mediaplayermode"), QStringLiteral("1"));
    EXPECT_EQ(value("main", "FontSize"), QStringLiteral("9"));
    EXPECT_EQ(value("main", "CDDBServer"), QStringLiteral("cddb.local"));
    EXPECT_EQ(value("extra", "mine"), QStringLiteral("kept"));
    EXPECT_TRUE(iniBytes().contains("; operator note\n"));
    EXPECT_EQ(value("main", "VideoMonitor"), QStringLiteral("<missing>"));
}

TEST_F(SettingsTest, OutOfRangeNumbersAreClampedAndUnusedRawValuesWrittenBack)
{
    writeIni("[main]\nBorderStyle=300\nCDopt=$10\nBackgroundColor=-5\nBorderColor=99999999999\n"
             "BackgroundStyle=4 styles\nlitewarn=2\nburnpath=\"/cd burner\"\nVolume=99999999999\n"
             "[Commercial]\ncredittotal=-99999999999999999999\n");
    ASSERT_TRUE(readini());
    EXPECT_EQ(config.borderstyle, 255);
    EXPECT_EQ(config.cdopt, 16);
    EXPECT_EQ(config.bgcolor, 0u);
    EXPECT_EQ(config.bordercolor, uint32_t(std::numeric_limits<int32_t>::max()));
    EXPECT_EQ(config.bgstyle, 4);
    EXPECT_TRUE(config.litewarn);
    EXPECT_EQ(config.volume, std::numeric_limits<int32_t>::max());
    EXPECT_EQ(config.credittotal, std::numeric_limits<int64_t>::min());
    writeini();
    EXPECT_EQ(value("main", "BorderStyle"), QStringLiteral("300"));
    EXPECT_EQ(value("main", "CDopt"), QStringLiteral("$10"));
    EXPECT_EQ(value("main", "BackgroundColor"), QStringLiteral("-5"));
    EXPECT_EQ(value("main", "BorderColor"), QStringLiteral("99999999999"));
    EXPECT_EQ(value("main", "BackgroundStyle"), QStringLiteral("4 styles"));
    EXPECT_EQ(value("main", "litewarn"), QStringLiteral("2"));
    EXPECT_TRUE(iniBytes().contains("burnpath=\"/cd burner\"\n"));
    // A value the program does use is written as it now stands.
    EXPECT_EQ(value("main", "Volume"), QStringLiteral("2147483647"));
    config.borderstyle = 3;
    writeini();
    EXPECT_EQ(value("main", "BorderStyle"), QStringLiteral("3"));
}

TEST_F(SettingsTest, PlaysPerCoinIsHeldToOneToAHundred)
{
    for (const auto& [stored, read] : {std::pair{"-5", 1}, {"0", 1}, {"7", 7}, {"250", 100}}) {
        writeIni(QByteArray("[Commercial]\nplayspercoincredit=") + stored + "\n");
        ASSERT_TRUE(readini());
        EXPECT_EQ(config.playspercoincredit, read) << stored;
    }
}

// Without a CachePath that is a folder the cache is a folder of the user's own, made closed to
// others, closed when found open, and refused when it is a link or another user's folder: never a
// shared one.
TEST_F(SettingsTest, WithoutAUsableCachePathTheCacheIsAFolderOfTheUsersOwn)
{
    writeIni("[main]\n");
    const QString own = ownCache();
    ASSERT_TRUE(QDir(own).removeRecursively());
    ASSERT_TRUE(readini());
    ASSERT_EQ(cachepath, own);
    EXPECT_EQ(QFile::permissions(own) & kOthersAndGroup, QFile::Permissions());
    ASSERT_TRUE(QFile::setPermissions(own, QFile::permissions(own) | kOthersAndGroup));
    writeIni("[main]\nPath=/srv/music/\nCachePath=/no/such/folder\n");
    ASSERT_TRUE(readini());
    EXPECT_EQ(cachepath, own);
    EXPECT_EQ(QFile::permissions(own) & kOthersAndGroup, QFile::Permissions());
    EXPECT_EQ(config.path, QStringLiteral("/srv/music/")) << "one separator, not two";

    ASSERT_TRUE(QDir(own).removeRecursively() && QFile::link(folder.mkdir(QStringLiteral("shared")), own));
    ASSERT_TRUE(readini());
    EXPECT_TRUE(cachepath.isEmpty()) << "a link followed";
    ASSERT_TRUE(QFile::remove(own) && QDir().mkdir(own));
    if (::geteuid() != 0) GTEST_SKIP() << "another user's folder needs the rights to make one";
    ASSERT_EQ(::chown(QFile::encodeName(own).constData(), 4242, 4242), 0);
    ASSERT_TRUE(readini());
    EXPECT_TRUE(cachepath.isEmpty()) << "another user's folder used";
    ASSERT_TRUE(QDir(own).removeRecursively());
}

TEST_F(SettingsTest, ListEndsAtTheFirstMissingNumber)
{
    writeIni("[Genre]\n0=Rock\n1=Pop\n3=Jazz\n[ArtistType]\n0=\n1=Band\n");
    ASSERT_TRUE(readini());
    EXPECT_EQ(genre.count, 2);
    EXPECT_EQ(genre.data, QStringList({QStringLiteral("Rock"), QStringLiteral("Pop"), QString()}));
    EXPECT_EQ(artisttype.count, 0);
}

TEST_F(SettingsTest, ShortenedListLosesItsOldKeys)
{
    writeIni("[Genre]\n0=Rock\n1=Pop\n2=Jazz\n3=Soul\n5=Stray\nnote=kept\n");
    ASSERT_TRUE(readini());
    genre = makeList({QStringLiteral("Blues")});
    writeini();
    genre = makeList({QStringLiteral("Blues"), QStringLiteral("Folk"), QStringLiteral("Ska")});
    writeini();
    // Lengthening again must not bring back "Soul" or "Stray".
    genre = makeList(
        {QStringLiteral("Blues"), QStringLiteral("Folk"), QStringLiteral("Ska"), QStringLiteral("x")});
    genre.count = 3;
    writeini();
    ASSERT_TRUE(readini());
    EXPECT_EQ(genre.count, 3);
    EXPECT_EQ(value("Genre", "3"), QStringLiteral("<missing>"));
    EXPECT_EQ(value("Genre", "5"), QStringLiteral("<missing>"));
    EXPECT_EQ(value("Genre", "note"), QStringLiteral("kept"));
}

TEST_F(SettingsTest, AltIniRedirectsReadsAndWrites)
{
    const QString other = folder.write(QStringLiteral("shared/Other.ini"), "[MAIN]\nvolume=42\n");
    writeIni("[main]\nAltINI=" + other.toUtf8() + "\n");
    ASSERT_TRUE(readini());
    EXPECT_EQ(config.volume, 42);
    config.volume = 43;
    writeini();
    EXPECT_EQ(iniBytes(), "[main]\nAltINI=" + other.toUtf8() + "\n");
    EXPECT_TRUE(folder.read(QStringLiteral("shared/Other.ini")).contains("volume=43\n"));
}

TEST_F(SettingsTest, SettingsFileIsFoundWithoutRegardToCase)
{
    folder.write(QStringLiteral("MUSETRA.INI"), "[main]\nVolume=3\n");
    ASSERT_TRUE(readini());
    EXPECT_EQ(config.volume, 3);
}

// Without a settings file that is a regular file the jukebox shows the message and halts, having
// read nothing: no file, an AltINI to no file or to a device, or a FIFO, which must never block.
TEST_F(SettingsTest, MissingSettingsShowTheMessageAndHalt)
{
    const auto expectHalt = [] {
        AnsweringDialogs dialogs;
        ThrowingHalt halting;
        config.volume = -99;
        EXPECT_THROW(readini(), platform::Halted);
        ASSERT_EQ(dialogs.shown.size(), 1);
        EXPECT_EQ(dialogs.shown[0].caption, QStringLiteral("musetra.ini not found. Cannot continue."));
        EXPECT_EQ(dialogs.shown[0].text,
                  QStringLiteral("Please install or create an .ini file in the program folder"));
        EXPECT_EQ(dialogs.shown[0].buttons, platform::MessageButtons::Ok);
        EXPECT_EQ(config.volume, -99);
    };
    const std::pair<const char*, QByteArray> roads[] = {
        {"no file", {}},
        {"AltINI to no file", "[main]\nAltINI=/no/such/musetra.ini\n"},
        {"AltINI to a device", "[main]\nAltINI=/dev/zero\n"}};
    for (const auto& [road, content] : roads) {
        SCOPED_TRACE(road);
        if (!content.isEmpty()) writeIni(content);
        expectHalt();
    }
    ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("Musetra.ini"))));
    const FifoGuard guard(folder.makeFifo(QStringLiteral("Musetra.ini")));
    expectHalt();
    EXPECT_FALSE(guard.released());
}

// A file at the bound is read; a write that would pass it is refused, the old file kept and the
// reason told. A file one byte past it starts on the defaults, told why, and is never written over.
TEST_F(SettingsTest, TheSizeBoundHoldsFromBothSidesAndNoWritePassesIt)
{
    const QByteArray head = "[main]\nVolume=3\n;";
    const QByteArray atBound =
        head + QByteArray(platform::Profile::kMaxFileBytes - head.size() - 1, 'x') + '\n';
    const QStringList told = {
        QStringLiteral("Settings not read or saved: %1 would pass 4 MB").arg(writeIni(atBound))};
    ASSERT_TRUE(readini());
    EXPECT_EQ(config.volume, 3);
    EXPECT_TRUE(standingWriteFailures().isEmpty());
    config.credittotal = 501;
    writeini();
    EXPECT_EQ(iniBytes(), atBound);
    EXPECT_EQ(standingWriteFailures(), told);

    resetGlobals();
    writeIni(atBound + ';');
    ASSERT_TRUE(readini());
    EXPECT_EQ(config.volume, 7);
    EXPECT_EQ(standingWriteFailures(), told);
    writeini();
    EXPECT_EQ(iniBytes(), atBound + ';');
}

// The operator's own lines (Windows-1252 bytes, CR LF, a lone CR) survive a settings write.
TEST_F(SettingsTest, WriteKeepsTheBytesOfLinesItDoesNotChange)
{
    const QByteArray own = "[main]\r\n; by M\xfcller\r\nnote=a\rb\r\npassword=\xe9t\xe9\r\n";
    writeIni(own + "Volume=3\r\n");
    ASSERT_TRUE(readini());
    EXPECT_EQ(config.password, QStringLiteral("\u00e9t\u00e9"));
    config.volume = 9;
    writeini();
    EXPECT_TRUE(iniBytes().startsWith(own + "Volume=9\r\n"));
    EXPECT_TRUE(iniBytes().contains("\r\nburnpath= \r\n")); // new lines take the file's line end
    resetGlobals();
    ASSERT_TRUE(readini());
    EXPECT_EQ(config.password, QStringLiteral("\u00e9t\u00e9"));
    EXPECT_EQ(config.volume, 9);
}

// A crash after the temporary file was written but before the rename leaves the temporary
// beside the settings file; the settings must still read whole and the next write must work.
TEST_F(SettingsTest, InterruptedWriteLeavesTheOldSettingsWhole)
{
    writeIni("[main]\nVolume=12\n[Commercial]\ncredittotal=40\n");
    folder.write(QStringLiteral(".~musetra.Musetra.ini.kZ81qa"), "[main]\nVolume=99\n[Comm");
    const QStringList operatorsCopies = {
        QStringLiteral("Musetra.ini.bak"), QStringLiteral("Musetra.ini.backup"),
        QStringLiteral("Musetra.ini.2024v1"), QStringLiteral(".~musetra.Musetra.ini.kZ81q-")};
    for (const QString& name : operatorsCopies)
        folder.write(name, "an operator's own copy");
    ASSERT_TRUE(readini());
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral(".~musetra.Musetra.ini.kZ81qa"))))
        << "removed at start";
    for (const QString& name : operatorsCopies)
        EXPECT_TRUE(QFile::exists(folder.file(name))) << name.toStdString();
    EXPECT_EQ(config.volume, 12);
    EXPECT_EQ(config.credittotal, 40);
    config.credittotal = 41;
    writeini();
    ASSERT_TRUE(readini());
    EXPECT_EQ(config.credittotal, 41);
    EXPECT_EQ(config.volume, 12);
}

TEST_F(SettingsTest, AStoredFilterThatIsNoFilterIsIgnored)
{
    for (const char* stored :
         {"zz00", "000", "Rock and Roll", "00000001000000000000000000000000",
          "7fffffff000000000000000000000000000000000000000000000000000000000000"}) { // count beyond the bytes
        SCOPED_TRACE(stored);
        writeIni(QByteArray("[main]\ndefaultfilteron=1\ndefaultfilter=") + stored + "\n");
        filter.yearupper = 1999;
        filter.genre = {{QStringLiteral("Soul")}, 1};
        const tfilter before = filter;
        ASSERT_TRUE(readini());
        EXPECT_EQ(filter, before);
    }
}

TEST_F(SettingsTest, StoredFilterIsLoadedOnlyWhenSwitchedOn)
{
    tfilter stored;
    stored.yearlower = 1960;
    QByteArray bytes;
    tfiltertobytearray(stored, bytes);
    writeIni("[main]\ndefaultfilteron=0\ndefaultfilter=" + bytes.toHex() + "\n");
    ASSERT_TRUE(readini());
    EXPECT_EQ(filter.yearlower, 0);
    writeIni("[main]\ndefaultfilteron=1\ndefaultfilter=" + bytes.toHex().toUpper() + "\n");
    ASSERT_TRUE(readini());
    EXPECT_EQ(filter.yearlower, 1960);
}

} // namespace

#include "platform/cdrom.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QtGlobal>

#include <cdio/cdio.h>
#include <cdio/logging.h>

#include "platform/files.h"
#include "platform/seam.h"

namespace platform {

namespace {

Q_LOGGING_CATEGORY(lcCdrom, "musetra.platform.cdrom", QtWarningMsg)

// libcdio's own handler ends the process on an error message (a missing or malformed disc image,
// a drive that fails a read) and aborts on a failed assertion. Ours only logs: every call's
// result is checked, and the road reports a failure itself.
void logCdio(cdio_log_level_t level, const char message[])
{
    if (level >= CDIO_LOG_ERROR)
        qCWarning(lcCdrom) << "libcdio:" << message;
    else
        qCDebug(lcCdrom) << "libcdio:" << message;
}

struct CdioDeleter
{
    void operator()(CdIo_t* p) const { cdio_destroy(p); }
};
using CdioHandle = std::unique_ptr<CdIo_t, CdioDeleter>;

struct DeviceListDeleter
{
    void operator()(char** list) const { cdio_free_device_list(list); }
};
using DeviceList = std::unique_ptr<char*, DeviceListDeleter>;

bool isCueImage(const QString& source)
{
    return source.endsWith(QStringLiteral(".cue"), Qt::CaseInsensitive);
}

CdioHandle openSource(const QString& source)
{
    const QByteArray name = source.toLocal8Bit();
    if (isCueImage(source)) return CdioHandle(cdio_open_cue(name.constData()));
    return CdioHandle(cdio_open(name.constData(), DRIVER_DEVICE));
}

CdDriveName describe(const QString& source)
{
    CdDriveName drive;
    drive.source = source;
    const CdioHandle handle = openSource(source);
    cdio_hwinfo_t info{};
    if (handle && cdio_get_hwinfo(handle.get(), &info)) {
        drive.vendor = QString::fromLatin1(info.psz_vendor).trimmed();
        drive.product = QString::fromLatin1(info.psz_model).trimmed();
    }
    return drive;
}

// The source named for the road is listed even when it cannot be read, so that opening it fails
// as a drive would rather than leaving no drive at all.
CdDriveName describeChosen(const QString& source)
{
    CdDriveName drive = describe(source);
    if ((drive.vendor + drive.product).isEmpty()) drive.product = QFileInfo(source).fileName();
    return drive;
}

class CdioDrive final : public CdDrive
{
public:
    explicit CdioDrive(CdioHandle handle) : handle_(std::move(handle)) {}

    bool readToc(CdToc& toc) override
    {
        const track_t first = cdio_get_first_track_num(handle_.get());
        const track_t last = cdio_get_last_track_num(handle_.get());
        if (first == CDIO_INVALID_TRACK || last == CDIO_INVALID_TRACK || last < first) return fail(-1);
        toc = CdToc{first, last, {}};
        for (int i = first; i <= last; ++i)
            if (!addEntry(toc, i, track_t(i))) return fail(-1);
        return addEntry(toc, kCdLeadOutTrack, CDIO_CDROM_LEADOUT_TRACK) || fail(-1);
    }

    bool readAudio(uint32_t lba, uint32_t frames, char* buffer) override
    {
        const driver_return_code_t rc = cdio_read_audio_sectors(handle_.get(), buffer, lsn_t(lba), frames);
        return rc == DRIVER_OP_SUCCESS || fail(rc);
    }

    int lastError() const override { return lastError_; }

private:
    bool addEntry(CdToc& toc, int number, track_t track)
    {
        const lsn_t start = cdio_get_track_lsn(handle_.get(), track);
        if (start == CDIO_INVALID_LSN || start < 0) return false;
        const bool audio =
            number == kCdLeadOutTrack || cdio_get_track_format(handle_.get(), track) == TRACK_FORMAT_AUDIO;
        toc.tracks.append(CdTocTrack{number, uint32_t(start), audio});
        return true;
    }

    bool fail(int code)
    {
        lastError_ = code;
        return false;
    }

    CdioHandle handle_;
    int lastError_ = 0;
};

// Every libcdio call is made through this object (and the drives it opens), which installs our log
// handler before the first one.
class CdioDrives final : public CdDrives
{
public:
    CdioDrives() { cdio_log_set_handler(logCdio); }

    QVector<CdDriveName> list() override
    {
        QVector<CdDriveName> drives;
        const QString chosen = qEnvironmentVariable("MUSETRA_CDROM");
        if (!chosen.isEmpty()) drives.append(describeChosen(chosen));
        const DeviceList devices(cdio_get_devices(DRIVER_DEVICE));
        for (char** d = devices.get(); d && *d; ++d)
            if (QString::fromLocal8Bit(*d) != chosen) drives.append(describe(QString::fromLocal8Bit(*d)));
        return drives;
    }

    std::unique_ptr<CdDrive> open(const CdDriveName& drive) override
    {
        CdioHandle handle = openSource(drive.source);
        if (!handle) return nullptr;
        return std::make_unique<CdioDrive>(std::move(handle));
    }
};

} // namespace

QString missingImageData(const QString& source)
{
    constexpr qint64 kMaxCueBytes = 64 * 1024;
    QFile cue;
    if (!isCueImage(source) || !openRegularFile(cue, source)) return {};
    // FILE "name" BINARY, the name quoted or not, relative to the cue sheet's folder.
    static const QRegularExpression fileLine(QStringLiteral("^\\s*FILE\\s+(\"([^\"]*)\"|(\\S+))"),
                                             QRegularExpression::CaseInsensitiveOption |
                                                 QRegularExpression::MultilineOption);
    const QString text = QString::fromLocal8Bit(readAtMost(cue, kMaxCueBytes));
    for (QRegularExpressionMatchIterator it = fileLine.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch line = it.next();
        const QString name = line.captured(2).isEmpty() ? line.captured(3) : line.captured(2);
        if (!QFileInfo::exists(QFileInfo(source).dir().filePath(name))) return name;
    }
    return {};
}

CdDrives& cdDrives()
{
    return Seam<CdDrives, CdioDrives>::get();
}

void setCdDrives(CdDrives* replacement)
{
    Seam<CdDrives, CdioDrives>::set(replacement);
}

} // namespace platform

#pragma once

// Audio CD drives: the list of drives, and for an open drive its table of contents and raw audio
// frames (2352 bytes each: 16-bit little-endian stereo samples at 44100 Hz). The drive list is the
// system's list of CD drives; when the environment variable MUSETRA_CDROM names a device or a
// ".cue" disc image, that source stands first, so a road can run without a drive.
// GUI thread only; the seam object is owned by whoever installs it.

#include <QString>
#include <QVector>
#include <cstdint>
#include <memory>

namespace platform {

constexpr int kCdFrameBytes = 2352;
// The track number the table of contents gives its lead-out entry.
constexpr int kCdLeadOutTrack = 0xAA;

struct CdDriveName
{
    QString vendor;
    QString product;
    QString source; // device path or disc image file
};

struct CdTocTrack
{
    int trackNumber = 0;
    uint32_t start = 0; // first frame (logical block address)
    bool audio = true;
};

// Tracks firstTrack..lastTrack in order, then the lead-out entry.
struct CdToc
{
    int firstTrack = 0;
    int lastTrack = 0;
    QVector<CdTocTrack> tracks;
};

class CdDrive
{
public:
    virtual ~CdDrive() = default;
    // False when no readable disc is in the drive.
    [[nodiscard]] virtual bool readToc(CdToc& toc) = 0;
    // Reads `frames` frames starting at `lba` into `buffer` (frames x kCdFrameBytes bytes).
    [[nodiscard]] virtual bool readAudio(uint32_t lba, uint32_t frames, char* buffer) = 0;
    // The code of the last failure (0 when none).
    virtual int lastError() const = 0;
};

class CdDrives
{
public:
    virtual ~CdDrives() = default;
    virtual QVector<CdDriveName> list() = 0;
    // The open drive, or nullptr when it cannot be opened.
    virtual std::unique_ptr<CdDrive> open(const CdDriveName& drive) = 0;
};

// The data file a ".cue" disc image `source` names that is not there (its name as the image gives
// it); empty when every one is there or `source` is no disc image.
QString missingImageData(const QString& source);

// The drives seam in force: libcdio's unless a test installed another.
CdDrives& cdDrives();
// Installs another seam (not owned); nullptr restores libcdio's.
void setCdDrives(CdDrives* replacement);

} // namespace platform

#include "fakecddrives.h"

#include <cstring>

namespace {

class FakeDrive final : public platform::CdDrive
{
public:
    FakeDrive(FakeCdDrives& owner, const tools::DiscImage& image) : owner_(owner), image_(image)
    {
        for (const QByteArray& track : image.tracks)
            disc_ += track;
    }

    bool readToc(platform::CdToc& toc) override
    {
        if (owner_.tocFailures > 0 && owner_.tocFailures--) return false;
        toc = platform::CdToc{1, int(image_.tracks.size()), {}};
        for (int i = 0; i < image_.starts.size(); ++i)
            toc.tracks.append(
                {i + 1 < image_.starts.size() ? i + 1 : platform::kCdLeadOutTrack, image_.starts[i], true});
        return true;
    }

    bool readAudio(uint32_t lba, uint32_t frames, char* buffer) override
    {
        if (owner_.onRead) owner_.onRead(lba);
        const qsizetype offset = qsizetype(lba) * platform::kCdFrameBytes;
        const qsizetype bytes = qsizetype(frames) * platform::kCdFrameBytes;
        const auto failing = owner_.chunkFailures.find(lba);
        if (failing != owner_.chunkFailures.end() && *failing > 0) {
            --*failing;
            return false;
        }
        if (offset + bytes > disc_.size()) return false;
        std::memcpy(buffer, disc_.constData() + offset, size_t(bytes));
        return true;
    }

    int lastError() const override { return 7; }

private:
    FakeCdDrives& owner_;
    const tools::DiscImage& image_;
    QByteArray disc_;
};

} // namespace

QVector<platform::CdDriveName> FakeCdDrives::list()
{
    return drives;
}

std::unique_ptr<platform::CdDrive> FakeCdDrives::open(const platform::CdDriveName&)
{
    ++opened;
    return std::make_unique<FakeDrive>(*this, image_);
}

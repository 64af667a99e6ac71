#pragma once

// A CD drive for tests that plays a disc image from memory and fails where it is told to:
// its table of contents a number of times, single chunks a number of times each.

#include <QHash>
#include <functional>

#include "discimage.h"
#include "installedfake.h"
#include "platform/cdrom.h"

class FakeCdDrives final : public InstalledFake<platform::CdDrives, &platform::setCdDrives>
{
public:
    explicit FakeCdDrives(const tools::DiscImage& image) : image_(image) {}

    QVector<platform::CdDriveName> list() override;
    std::unique_ptr<platform::CdDrive> open(const platform::CdDriveName& drive) override;

    QVector<platform::CdDriveName> drives{
        {QStringLiteral("Fake"), QStringLiteral("Drive"), QStringLiteral("fake")}};
    int tocFailures = 0;
    // Reads starting at a frame that fail, and how often.
    QHash<uint32_t, int> chunkFailures;
    // Called before every read with its first frame.
    std::function<void(uint32_t)> onRead;
    int opened = 0;

private:
    const tools::DiscImage& image_;
};

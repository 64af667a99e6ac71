#pragma once

// What the file-reading fuzz targets share: a Qt application on the offscreen platform and a
// private folder, in memory where the system offers it, in which each input is written as the
// file under test.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <optional>

// The libFuzzer start-up (here) makes the application and the folder, then calls this hook,
// which a target defines when it needs more.
void prepareFuzzing();

// The private folder.
QString fuzzFolder();

// Writes `data` as `name` in the private folder (replacing it) and returns its path.
QString writeFuzzFile(const QString& name, const uint8_t* data, size_t size);

// A file far larger than an input can be: an input that starts with "GROW" and a 16-bit
// little-endian signed offset asks for a file of `bound` + offset bytes that starts with the
// input's remaining bytes and ends in zeros. So a small input reaches either side of a size bound
// of the code under test (megabytes), where libFuzzer's inputs stay at kilobytes.
struct GrownFile
{
    const uint8_t* head;
    size_t headSize;
    qint64 size;
};
std::optional<GrownFile> grownFile(const uint8_t* data, size_t size, qint64 bound);

// Writes `file` as `name` in the private folder (replacing it), its zeros as a hole, so growing
// costs no writing; returns its path.
QString writeGrownFile(const QString& name, const GrownFile& file);

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);

// Stops the fuzzer with a report when a property of the code under test does not hold.
void require(bool holds, const char* what);

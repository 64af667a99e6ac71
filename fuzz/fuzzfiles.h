#pragma once

// What the file-reading fuzz targets share: a Qt application on the offscreen platform and a
// private folder, in memory where the system offers it, in which each input is written as the
// file under test.

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// The libFuzzer start-up (here) makes the application and the folder, then calls this hook,
// which a target defines when it needs more.
void prepareFuzzing();

// The private folder.
QString fuzzFolder();

// Writes `data` as `name` in the private folder (replacing it) and returns its path.
QString writeFuzzFile(const QString& name, const uint8_t* data, size_t size);

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv);

// Stops the fuzzer with a report when a property of the code under test does not hold.
void require(bool holds, const char* what);

#pragma once

// The MP3 encoder library, loaded at run time: the program runs without it and says so.
// The be* calls keep the shape of the classic encoder library interface: a stream is opened with
// a configuration, fed 16-bit interleaved stereo samples chunk by chunk, flushed and closed.
// Underneath is libmp3lame, found by name with the system's library search. Loading happens once
// on the window thread before any encoder starts; a stream belongs to one thread at a time.

#include <QString>
#include <cstdint>

namespace platform {

inline const QString kLameLibrary = QStringLiteral("libmp3lame.so.0");

constexpr uint32_t BE_ERR_SUCCESSFUL = 0;
constexpr uint32_t BE_ERR_INVALID_FORMAT = 1;
constexpr uint32_t BE_ERR_INVALID_FORMAT_PARAMETERS = 2;
constexpr uint32_t BE_ERR_NO_MORE_HANDLES = 3;
constexpr uint32_t BE_ERR_INVALID_HANDLE = 4;
constexpr uint32_t BE_ERR_BUFFER_TOO_SMALL = 5;

constexpr uint32_t BE_CONFIG_MP3 = 0;
constexpr uint8_t BE_MP3_MODE_STEREO = 0;
constexpr uint8_t BE_MP3_MODE_JSTEREO = 1;
constexpr uint8_t BE_MP3_MODE_DUALCHANNEL = 2;
constexpr uint8_t BE_MP3_MODE_MONO = 3;

// The configuration of a stream (the plain MP3 form). Input is interleaved stereo, so mono is
// refused as an invalid format.
struct TBECONFIG
{
    uint32_t dwConfig = BE_CONFIG_MP3;
    uint32_t dwSampleRate = 44100;
    uint8_t byMode = BE_MP3_MODE_STEREO;
    uint16_t wBitrate = 128; // kbit/s
    bool bPrivate = false;
    bool bCRC = false;
    bool bCopyright = false;
    bool bOriginal = false;
};

struct TBEVersion
{
    QString engine; // the library's own version text
};

// An open encoder stream; none is nullptr.
struct BeStreamState;
using HBE_STREAM = BeStreamState*;

// Loads the encoder library `library` and looks up its calls. False when it cannot be loaded or
// lacks a call; a library loaded earlier then stays in use.
[[nodiscard]] bool LoadLameEncDLL(const QString& library = kLameLibrary);

// Opens a stream. `samples`: the number of 16-bit samples (both channels) each chunk should hold;
// `bufsize`: the output buffer bytes one chunk or the final flush may need.
uint32_t beInitStream(const TBECONFIG& config, uint32_t& samples, uint32_t& bufsize, HBE_STREAM& stream);
// Encodes `count` 16-bit samples (interleaved left, right) into `output`.
uint32_t beEncodeChunk(HBE_STREAM stream, uint32_t count, const int16_t* input, uint8_t* output,
                       uint32_t& produced);
// Flushes the stream's last frames into `output`.
uint32_t beDeinitStream(HBE_STREAM stream, uint8_t* output, uint32_t& produced);
uint32_t beCloseStream(HBE_STREAM stream);
void beVersion(TBEVersion& version);

} // namespace platform

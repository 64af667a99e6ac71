#include "platform/lameenc.h"

#include <QByteArray>
#include <lame/lame.h>

#include "platform/libraryfunctions.h"

namespace platform {

namespace {

constexpr uint32_t kFrameSamples = 1152;
// Bytes a chunk of kFrameSamples per channel can produce, as libmp3lame asks (1.25 x + 7200).
constexpr uint32_t kOutputBytes = kFrameSamples * 5 / 4 + 7200;

// The library's calls; all set together once a load succeeded. Written on the window thread
// before any encoder thread starts, read-only afterwards.
struct LameCalls
{
    decltype(&lame_init) init = nullptr;
    decltype(&lame_set_in_samplerate) setInSamplerate = nullptr;
    decltype(&lame_set_num_channels) setNumChannels = nullptr;
    decltype(&lame_set_mode) setMode = nullptr;
    decltype(&lame_set_brate) setBrate = nullptr;
    decltype(&lame_set_error_protection) setErrorProtection = nullptr;
    decltype(&lame_set_copyright) setCopyright = nullptr;
    decltype(&lame_set_original) setOriginal = nullptr;
    decltype(&lame_set_extension) setExtension = nullptr;
    decltype(&lame_set_bWriteVbrTag) setWriteVbrTag = nullptr;
    decltype(&lame_init_params) initParams = nullptr;
    decltype(&lame_encode_buffer_interleaved) encode = nullptr;
    decltype(&lame_encode_flush) flush = nullptr;
    decltype(&lame_close) close = nullptr;
    decltype(&get_lame_version) version = nullptr;
};

LameCalls calls;

// The library's calls, all of them or none.
bool lookUpAll(LibraryFunctions& lib, LameCalls& c)
{
    lib.resolve(c.init, "lame_init");
    lib.resolve(c.setInSamplerate, "lame_set_in_samplerate");
    lib.resolve(c.setNumChannels, "lame_set_num_channels");
    lib.resolve(c.setMode, "lame_set_mode");
    lib.resolve(c.setBrate, "lame_set_brate");
    lib.resolve(c.setErrorProtection, "lame_set_error_protection");
    lib.resolve(c.setCopyright, "lame_set_copyright");
    lib.resolve(c.setOriginal, "lame_set_original");
    lib.resolve(c.setExtension, "lame_set_extension");
    lib.resolve(c.setWriteVbrTag, "lame_set_bWriteVbrTag");
    lib.resolve(c.initParams, "lame_init_params");
    lib.resolve(c.encode, "lame_encode_buffer_interleaved");
    lib.resolve(c.flush, "lame_encode_flush");
    lib.resolve(c.close, "lame_close");
    lib.resolve(c.version, "get_lame_version");
    return lib.complete();
}

lame_global_flags* flagsOf(HBE_STREAM stream)
{
    return reinterpret_cast<lame_global_flags*>(stream);
}

bool configure(lame_global_flags* gf, const TBECONFIG& config)
{
    return calls.setInSamplerate(gf, int(config.dwSampleRate)) == 0 && calls.setNumChannels(gf, 2) == 0 &&
           calls.setMode(gf, MPEG_mode(config.byMode)) == 0 && calls.setBrate(gf, config.wBitrate) == 0 &&
           calls.setErrorProtection(gf, config.bCRC) == 0 && calls.setCopyright(gf, config.bCopyright) == 0 &&
           calls.setOriginal(gf, config.bOriginal) == 0 && calls.setExtension(gf, config.bPrivate) == 0 &&
           calls.setWriteVbrTag(gf, 0) == 0 && calls.initParams(gf) >= 0;
}

} // namespace

bool LoadLameEncDLL(const QString& library)
{
    // The library stays loaded for the program's life: encoders may still hold streams of it.
    LibraryFunctions lib(library);
    LameCalls found;
    if (!lookUpAll(lib, found)) return false;
    calls = found;
    return true;
}

uint32_t beInitStream(const TBECONFIG& config, uint32_t& samples, uint32_t& bufsize, HBE_STREAM& stream)
{
    stream = nullptr;
    if (!calls.init) return BE_ERR_NO_MORE_HANDLES;
    // Input is always interleaved stereo, as a CD delivers it.
    if (config.dwConfig != BE_CONFIG_MP3 || config.byMode > BE_MP3_MODE_DUALCHANNEL)
        return BE_ERR_INVALID_FORMAT;
    lame_global_flags* gf = calls.init();
    if (!gf) return BE_ERR_NO_MORE_HANDLES;
    if (!configure(gf, config)) {
        calls.close(gf);
        return BE_ERR_INVALID_FORMAT_PARAMETERS;
    }
    samples = kFrameSamples * 2;
    bufsize = kOutputBytes;
    stream = reinterpret_cast<HBE_STREAM>(gf);
    return BE_ERR_SUCCESSFUL;
}

uint32_t beEncodeChunk(HBE_STREAM stream, uint32_t count, const int16_t* input, uint8_t* output,
                       uint32_t& produced)
{
    produced = 0;
    if (!stream) return BE_ERR_INVALID_HANDLE;
    // libmp3lame counts samples per channel.
    const int perChannel = int(count / 2);
    const int n =
        calls.encode(flagsOf(stream), const_cast<short*>(input), perChannel, output, int(kOutputBytes));
    if (n < 0) return n == -1 ? BE_ERR_BUFFER_TOO_SMALL : BE_ERR_INVALID_FORMAT_PARAMETERS;
    produced = uint32_t(n);
    return BE_ERR_SUCCESSFUL;
}

uint32_t beDeinitStream(HBE_STREAM stream, uint8_t* output, uint32_t& produced)
{
    produced = 0;
    if (!stream) return BE_ERR_INVALID_HANDLE;
    const int n = calls.flush(flagsOf(stream), output, int(kOutputBytes));
    if (n < 0) return BE_ERR_BUFFER_TOO_SMALL;
    produced = uint32_t(n);
    return BE_ERR_SUCCESSFUL;
}

uint32_t beCloseStream(HBE_STREAM stream)
{
    if (!stream) return BE_ERR_INVALID_HANDLE;
    calls.close(flagsOf(stream));
    return BE_ERR_SUCCESSFUL;
}

void beVersion(TBEVersion& version)
{
    version.engine = calls.version ? QString::fromLatin1(calls.version()) : QString();
}

} // namespace platform

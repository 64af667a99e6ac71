#pragma once

// Skin pictures by name. Every picture that gives the jukebox its look (navigation buttons,
// keypad keys, corners, letter-bar buttons, the background) is asked for here. A name is
// looked up in a process-wide cache first; on a miss it is read from a skin file (a resource-only
// Windows library "<skin>.SKN", read as data) or from the program's own resources, tinted,
// and kept. The same unit reads the theme text ("INFO") that a skin file may carry.
//
// Window thread only: the cache has no lock.
//
// Pictures are QImage values. A copy shares pixels with the cache until either is written, and
// a copy never changes when the cache entry is replaced: a screen that wants the new picture
// after ReplaceSkinResource asks for it again (the jukebox relays its screen after every theme
// change and so reloads every skin picture).

#include <QImage>
#include <QString>
#include <QVector>
#include <cstdint>
#include <stdexcept>

#include "library/skintypes.h"

class QByteArray;

namespace platform {
class PeResources;
}

namespace skins {

// A picture name that neither the chosen skin file nor the program's own resources hold.
class ResourceNotFound : public std::runtime_error
{
public:
    explicit ResourceNotFound(const QString& name);
    const QString& name() const { return name_; }

private:
    QString name_;
};

// One cache entry: the picture and the name as it was first asked for.
struct TResource
{
    QImage bmp;
    QString name;
};

using TResourceCache = QVector<TResource>;

// The cache, in order of first load; entries are never removed or reordered until
// freeskinresources.
inline TResourceCache ResourceCache;

// Tint strength of every skin picture: the share of the picture that stays.
constexpr double alphaamount = 0.6;

// The module pictures are loaded from: a skin file, or null for the program's own resources.
using ModuleHandle = const platform::PeResources*;

// Opens the skin file `dllname` + ".SKN" (program folder, then current folder, any case) as the
// current skin module; the program's own resources (null) when there is no such readable file.
// The module stays open until the load that asked for it ends.
ModuleHandle InitSkin(const QString& dllname);

// Tints `source` in place: every channel becomes round((in - c) * alpha + c), c being the
// matching channel of `blendcolor` (system colours resolved). An opaque picture becomes 24 bits per
// pixel; a picture with see-through parts keeps its alpha channel.
void addcolortobitmap(QImage& source, int32_t blendcolor, double alpha);

// The first cache entry whose name equals `rn` ignoring the case of ASCII letters, copied into `bitmap`.
bool getimagefromcache(const QString& rn, QImage& bitmap);

// The raw-data resource `resname` of module `hi` decoded as a JPEG picture into `dest`, 32 bits
// per pixel (Format_RGB32, the format it is stretched and drawn in). A skin
// file that lacks it (or holds a broken one) gives the program's own picture of that name.
// Throws ResourceNotFound when there is none.
void loadjpegresource(ModuleHandle hi, const QString& resname, QImage& dest);

// The bitmap resource `resname` of module `hi`, with the same fall-back and error as loadjpegresource.
void loadbitmapresource(ModuleHandle hi, const QString& resname, QImage& dest);

// The lookup every screen uses: the cached picture, or on a miss the picture of `name` from the
// skin `skinname`, tinted towards `blendcolor` (0 and clNone: no tint) and cached. The first
// request for a name fixes its skin, tint and kind until ReplaceSkinResource.
QImage LoadSkinResource(const QString& name, const QString& skinname, int32_t blendcolor, bool IsJPEG);

// LoadSkinResource with the skin and tint of a theme entry; a null picture when neither the skin
// nor the program has `name` (the screen then shows nothing there).
QImage skinPictureOrNull(const QString& name, const library::tskin& skin, bool IsJPEG = false);

// skinPictureOrNull for a picture that is only stretched once: on a miss it is loaded without
// being kept in the cache, so a full-screen backdrop is not held twice.
QImage uncachedSkinPictureOrNull(const QString& name, const library::tskin& skin, bool IsJPEG);

// The picture of `name` from the skin and tint of a theme entry, as uncachedSkinPictureOrNull
// loads it on a miss, but with a skin file of its own: any thread may ask. The cache is neither
// read nor changed.
QImage skinPictureOnAnyThread(const QString& name, const library::tskin& skin, bool IsJPEG);

// Loads `name` afresh with another skin and tint and replaces the cached picture; a name not yet
// cached is loaded as LoadSkinResource does.
QImage ReplaceSkinResource(const QString& name, const QString& skinname, int32_t blendcolor, bool IsJPEG);

// Loads and tints `name` into `obmp` without reading or changing the cache.
void LoadSkinResourceNoCache(const QString& name, const QString& skinname, int32_t blendcolor, bool IsJPEG,
                             QImage& obmp);

// Empties the cache (the jukebox calls it once, when it shuts down).
void freeskinresources();

// Splits a theme-text line at its first "=" into a key and a value, each trimmed of spaces and
// control characters. False for a line without "=".
bool getline(const QString& ln, QString& param, QString& value);

// Reads the theme text "INFO" of the skin file `fn` (a bare file name with its extension): line 0
// is the display name, then THEMENAME lines start themes that the following keys fill. A file
// that cannot be read leaves `theme` and `name` unchanged and gives -1; otherwise the result is
// the number of lines skipped (see readthemetext). Throws ResourceNotFound when the file has no
// (or an empty) "INFO" text.
int loadtheme(const QString& fn, library::TThemeSubset& theme, QString& name);

// The theme-text part of loadtheme, for the bytes of an "INFO" text. Lines with keys before the
// first THEMENAME or with values that are not numbers where numbers belong are skipped; the
// result is how many were.
int readthemetext(const QByteArray& info, library::TThemeSubset& theme, QString& name);

// The Qt resource path (":/NAME") of the program's own resource `name`, found without regard to
// case; empty when there is none.
QString findBuiltinResource(const QString& name);

} // namespace skins

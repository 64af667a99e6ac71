#pragma once

// The random playlist: a pool of (album, track) pairs built album by album, then queued in a
// shuffled order through the player's normal adding road. The dialog of the player window and the
// jukebox's random panel both fill it. GUI thread only.

#include <QDialog>
#include <cstdint>
#include <functional>

namespace player {

class Trnd_dialog : public QDialog
{
    Q_OBJECT

public:
    explicit Trnd_dialog(QWidget* parent = nullptr);
    ~Trnd_dialog() override;
};

// The one instance while it exists (non-owning).
inline Trnd_dialog* rnd_dialog = nullptr;

// One pool entry: a row of the player's album list `Dalbumlist` and a row of that album's
// titles in `dtracklist`, both from 0.
struct tavail
{
    int32_t album = 0;
    int32_t track = 0;
};

// Empties the pool.
void InitRandom();
// Appends every track of album row `no`; returns the new pool size.
int AddAlbum(int no);
// Removes the tracks of album row `no`; returns the new pool size (unchanged when it has none).
int RemoveAlbum(int no);
// The pool size.
int getrandomtrackcount();
// Empties the queue and queues the pool in a shuffled order. `cb` gets the index of the entry just
// queued and returns true to stop. False when the pool is empty.
bool makerandom(const std::function<bool(int)>& cb);

} // namespace player

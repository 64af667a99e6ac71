#pragma once

// The random playlist: a pool of (album row, track row) pairs built album by album, and
// `makerandom`, which empties the queue and queues every pair of the pool once, in random order,
// through the player window's adding road. The dialog `Trnd_dialog` ("Make Random Playlist") and
// the jukebox's random panel build the pool.
//
// The dialog is created once by the program entry and kept until the program ends; `rnd_dialog`
// points at it while it lives. The pool needs the player window (`mainform`). GUI thread only.

#include <QDialog>
#include <cstdint>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class QRandomGenerator;

namespace player {

// One pool entry: the album's row in the player's `Dalbumlist` and the track's row in its
// `dtracklist`, both from 0.
struct tavail
{
    int32_t album = 0;
    int32_t track = 0;
};

// Empties the pool.
void InitRandom();
// Appends every track of album row `no`; returns the pool size.
int AddAlbum(int no);
// Removes the tracks of album row `no`; returns the pool size.
int RemoveAlbum(int no);
void removeitem(int i);
void swappos(int a, int b);
int getrandomtrackcount();
// Empties the queue and queues the whole pool in random order, calling `cb` with the index of each
// entry just queued; `cb` returning true stops. False (and the queue untouched) for an empty pool.
bool makerandom(const std::function<bool(int)>& cb);
// The random source of the shuffle (not owned); nullptr restores one seeded from the clock.
void setRandomPlaylistRandom(QRandomGenerator* source);

class Trnd_dialog : public QDialog
{
    Q_OBJECT

public:
    explicit Trnd_dialog(QWidget* parent = nullptr);
    ~Trnd_dialog() override;

    void FormCreate(QObject* Sender);
    void FormActivate(QObject* Sender);
    void includelistClick(QObject* Sender);
    void allClick(QObject* Sender);
    void noneClick(QObject* Sender);
    void OKBtnClick(QObject* Sender);
    void CancelBtnClick(QObject* Sender);
    bool cb(int i);

    QLabel* Label1 = nullptr;
    QLabel* randomcountlabel = nullptr;
    QListWidget* includelist = nullptr;
    QPushButton* all = nullptr;
    QPushButton* none = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* cancel = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showPoolSize();
    void setEveryRow(bool selected);
};

// The one instance while it exists (non-owning).
inline Trnd_dialog* rnd_dialog = nullptr;
// The operator asked to stop queuing.
inline bool cancel_op = false;

} // namespace player

#include "player/randomfromalbums.h"

#include <QComboBox>
#include <QListWidget>
#include <QRandomGenerator>
#include <QTimer>
#include <QVector>
#include <algorithm>

#include "player/mainform.h"

namespace player {

namespace {

// The pool; each added album's tracks stand together, in track order.
QVector<tavail> avail;

// Makes album row `no` the player's album and returns how many titles it has.
int loadalbumrow(int no)
{
    Tmainform* mf = mainform;
    if (!mf || no < 0 || no >= mf->Dalbumlist->count()) return 0;
    mf->Dalbumlist->setCurrentIndex(no);
    mf->DalbumlistChange(mf->Dalbumlist);
    return mf->dtracklist->count();
}

void queueentry(const tavail& entry)
{
    Tmainform* mf = mainform;
    mf->Dalbumlist->setCurrentIndex(entry.album);
    mf->DalbumlistChange(mf->Dalbumlist);
    mf->dtracklist->setCurrentRow(entry.track);
    mf->AddClick(mf);
}

} // namespace

Trnd_dialog::Trnd_dialog(QWidget* parent) : QDialog(parent) {}

Trnd_dialog::~Trnd_dialog() = default;

void InitRandom()
{
    avail.clear();
}

int AddAlbum(int no)
{
    const int titles = loadalbumrow(no);
    for (int t = 0; t < titles; ++t)
        avail.append(tavail{no, t});
    return getrandomtrackcount();
}

int RemoveAlbum(int no)
{
    const auto first =
        std::find_if(avail.begin(), avail.end(), [no](const tavail& a) { return a.album == no; });
    if (first == avail.end()) return getrandomtrackcount();
    const qsizetype at = first - avail.begin();
    // One block of the album's size: an album added twice keeps its second block.
    avail.remove(at, std::min<qsizetype>(loadalbumrow(no), avail.size() - at));
    return getrandomtrackcount();
}

int getrandomtrackcount()
{
    return static_cast<int>(avail.size());
}

bool makerandom(const std::function<bool(int)>& cb)
{
    Tmainform* mf = mainform;
    if (avail.isEmpty() || !mf) return false;
    mf->numberoftracks->stop();
    mf->clearlistClick(mf);
    QRandomGenerator* random = QRandomGenerator::global();
    for (int i = 0; i < avail.size(); ++i) {
        std::swap(avail[i], avail[random->bounded(static_cast<int>(avail.size()))]);
        queueentry(avail.at(i));
        if (cb && cb(i)) break;
    }
    mf->numberoftracks->start();
    return true;
}

} // namespace player

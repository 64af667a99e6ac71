#include "player/randomfromalbums.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTimer>
#include <QVector>

#include "player/mainform.h"

namespace player {

namespace {

// The pool: its length is always `trackcount`.
QVector<tavail> avail;
int32_t trackcount = 0;
QRandomGenerator* installedRandom = nullptr;

// Makes row `no` of the player's play-list album list the chosen one, with its titles loaded into
// `dtracklist`; false (and nothing chosen) when the list has no such row.
bool chooseAlbumRow(int no)
{
    if (!mainform || no < 0 || no >= mainform->Dalbumlist->count()) return false;
    mainform->Dalbumlist->setCurrentIndex(no);
    mainform->DalbumlistChange(mainform->Dalbumlist);
    return true;
}

} // namespace

void setRandomPlaylistRandom(QRandomGenerator* source)
{
    installedRandom = source;
}

void InitRandom()
{
    avail.clear();
    trackcount = 0;
}

int getrandomtrackcount()
{
    return trackcount;
}

int AddAlbum(int no)
{
    if (!chooseAlbumRow(no)) return trackcount;
    for (int t = 0; t < mainform->dtracklist->count(); ++t)
        avail.append({no, t});
    trackcount = int32_t(avail.size());
    return trackcount;
}

int RemoveAlbum(int no)
{
    const auto first =
        std::find_if(avail.cbegin(), avail.cend(), [no](const tavail& e) { return e.album == no; });
    if (first == avail.cend()) return trackcount;
    const int position = int(first - avail.cbegin());
    if (!chooseAlbumRow(no)) return trackcount;
    for (int t = 0; t < mainform->dtracklist->count() && position < trackcount; ++t)
        removeitem(position);
    return trackcount;
}

void removeitem(int i)
{
    if (i < 0 || i >= trackcount) return;
    avail.removeAt(i);
    trackcount = int32_t(avail.size());
}

void swappos(int a, int b)
{
    if (a < 0 || b < 0 || a >= trackcount || b >= trackcount) return;
    std::swap(avail[a], avail[b]);
}

bool makerandom(const std::function<bool(int)>& cb)
{
    QRandomGenerator clockSeeded(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
    QRandomGenerator& random = installedRandom ? *installedRandom : clockSeeded;
    if (trackcount == 0 || !mainform) return false;
    mainform->numberoftracks->stop();
    mainform->clearlistClick(nullptr);
    // Fisher-Yates: entry i takes one of the entries not queued yet, so each is queued exactly once.
    for (int i = 0; i < trackcount; ++i) {
        swappos(i, i + int(random.bounded(quint32(trackcount - i))));
        // An album gone since the pool was made has nothing to queue.
        if (!chooseAlbumRow(avail.at(i).album)) continue;
        mainform->dtracklist->setCurrentRow(avail.at(i).track);
        mainform->AddClick(nullptr);
        if (cb && cb(i)) break;
    }
    mainform->numberoftracks->start();
    return true;
}

Trnd_dialog::Trnd_dialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Make Random Playlist"));
    Label1 = new QLabel(tr("Include the following in the play list:-"), this);
    randomcountlabel = new QLabel(this);
    includelist = new QListWidget(this);
    includelist->setSelectionMode(QAbstractItemView::MultiSelection);
    all = new QPushButton(tr("Select All"), this);
    none = new QPushButton(tr("Select None"), this);
    OKBtn = new QPushButton(tr("&Go"), this);
    cancel = new QPushButton(tr("&Finished"), this);
    OKBtn->setAutoDefault(false);
    cancel->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Label1, 0, 0, 1, 2);
    grid->addWidget(includelist, 1, 0, 4, 1);
    grid->addWidget(all, 1, 1);
    grid->addWidget(none, 2, 1);
    grid->addWidget(OKBtn, 3, 1);
    grid->addWidget(cancel, 4, 1);
    grid->addWidget(randomcountlabel, 5, 0, 1, 2);
    // A fixed dialog.
    grid->setSizeConstraint(QLayout::SetFixedSize);

    connect(includelist, &QListWidget::itemClicked, this, [this] { includelistClick(includelist); });
    connect(all, &QPushButton::clicked, this, [this] { allClick(all); });
    connect(none, &QPushButton::clicked, this, [this] { noneClick(none); });
    connect(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(OKBtn); });
    connect(cancel, &QPushButton::clicked, this, [this] { CancelBtnClick(cancel); });
    // Escape and the window's close button end the dialog as "&Finished" (or "Enough") does.
    connect(this, &QDialog::rejected, this, [this] { cancel_op = true; });
    FormCreate(this);
}

Trnd_dialog::~Trnd_dialog() = default;

void Trnd_dialog::FormCreate(QObject*)
{
    OKBtn->setEnabled(true);
}

void Trnd_dialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    FormActivate(this);
}

void Trnd_dialog::FormActivate(QObject*)
{
    InitRandom();
    includelist->clear();
    if (mainform) {
        // Row i of the include list is album row i of the player's list, in that list's order.
        for (int i = 0; i < mainform->Dalbumlist->count(); ++i)
            includelist->addItem(mainform->Dalbumlist->itemText(i));
        mainform->Playlist->show();
    }
    Label1->setText(QStringLiteral("Include the following in the play list:-"));
    cancel->setText(QStringLiteral("&Finished"));
    for (QWidget* control : std::initializer_list<QWidget*>{all, none, OKBtn, includelist})
        control->setEnabled(true);
    cancel_op = false;
    randomcountlabel->setText(QStringLiteral("0 tracks in list"));
}

void Trnd_dialog::showPoolSize()
{
    randomcountlabel->setText(QString::number(getrandomtrackcount()) + QStringLiteral(" tracks in list"));
}

void Trnd_dialog::includelistClick(QObject*)
{
    const int row = includelist->currentRow();
    if (row < 0) return;
    if (includelist->item(row)->isSelected())
        AddAlbum(row);
    else
        RemoveAlbum(row);
    showPoolSize();
}

void Trnd_dialog::setEveryRow(bool selected)
{
    for (int i = 0; i < includelist->count(); ++i) {
        // A row already so is left alone: an album ticked twice would be queued twice, and
        // "Select None" would leave its second block in a pool with nothing ticked.
        if (includelist->item(i)->isSelected() == selected) continue;
        includelist->setCurrentRow(i, QItemSelectionModel::NoUpdate);
        includelist->item(i)->setSelected(selected);
        includelistClick(includelist);
    }
}

void Trnd_dialog::allClick(QObject*)
{
    setEveryRow(true);
}

void Trnd_dialog::noneClick(QObject*)
{
    setEveryRow(false);
}

void Trnd_dialog::OKBtnClick(QObject*)
{
    cancel->setText(QStringLiteral("Enough"));
    (void)makerandom([this](int i) { return cb(i); });
    close();
}

bool Trnd_dialog::cb(int i)
{
    randomcountlabel->setText(QStringLiteral("Added ") + QString::number(i + 1) + QStringLiteral(" tracks."));
    QCoreApplication::processEvents();
    return cancel_op;
}

void Trnd_dialog::CancelBtnClick(QObject*)
{
    cancel_op = true;
    close();
}

} // namespace player

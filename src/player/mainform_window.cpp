// The window's own controls: toolbar pictures, track list clicks, covers and the cover picker,
// activation, the About box, the debug repaint timer and the main menu switch.

#include "player/mainform.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmap>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include "library/global.h"
#include "player/aboutform.h"
#include "platform/dialogs.h"
#include "player/frontend.h"
#include "player/randomfromalbums.h"
#include "skins/imaging.h"

namespace player {

namespace {
constexpr int kButtonsTimerMs = 1500;

// Watches every event of the application for the window: its filter runs before any control sees
// the event. Owned by the window, which removes it before its widgets go.
class WindowEvents : public QObject
{
public:
    explicit WindowEvents(std::function<bool(QObject*, QEvent*)> handler) : handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override { return handler_(watched, event); }

private:
    std::function<bool(QObject*, QEvent*)> handler_;
};

bool inWindow(QObject* watched, const QWidget* window)
{
    return watched->isWidgetType() && static_cast<QWidget*>(watched)->window() == window;
}

} // namespace

void Tmainform::connectWindowControls()
{
    buttonstimer = new QTimer(this);
    buttonstimer->setInterval(kButtonsTimerMs);
    connect(buttonstimer, &QTimer::timeout, this, [this] { buttonstimerTimer(buttonstimer); });
    buttonstimer->start();

    connect(dtracklist, &QListWidget::itemClicked, this, [this] { dtracklistClick(dtracklist); });
    connect(dtracklist, &QListWidget::itemDoubleClicked, this, [this] { dtracklistDblClick(dtracklist); });
    connect(tracklist, &QListWidget::itemDoubleClicked, this, [this] { tracklistDblClick(tracklist); });
    connect(showcover, &QCheckBox::clicked, this, [this] { showcoverClick(showcover); });
    connect(coverpickbut, &QToolButton::clicked, this, [this] { coverpickbutClick(coverpickbut); });
    connect(dj, &QToolButton::clicked, this, [this] { djClick(dj); });
    // The window sees key strokes before its controls, and the pictures report the mouse.
    windowEvents_ = std::make_unique<WindowEvents>(
        [this](QObject* watched, QEvent* event) { return windowEvent(watched, event); });
    qApp->installEventFilter(windowEvents_.get());
}

// Key releases of this window's widgets, the mouse over the toolbar pictures and clicks on the cover.
bool Tmainform::windowEvent(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        return handleKeyPress(watched, event);
    case QEvent::KeyRelease:
        return handleKeyRelease(watched, event);
    case QEvent::Enter:
    case QEvent::Leave:
        for (QToolButton* picture : {butcd, butcdlist, butrandom, butjukebox}) {
            if (watched == picture) buttonsMouseMove(event->type() == QEvent::Enter ? picture : nullptr);
        }
        return false;
    case QEvent::Show:
        // Centred when it first shows, at the size its menu bar finally takes.
        if (watched == this && !shownOnce_) {
            shownOnce_ = true;
            centreOnMonitor();
        }
        return false;
    case QEvent::MouseButtonRelease:
        if (watched == cover && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            coverClick(cover);
        return false;
    default:
        return false;
    }
}

bool Tmainform::handleKeyPress(QObject* watched, QEvent* event)
{
    if (inWindow(watched, this)) keysDownHere_.insert(static_cast<QKeyEvent*>(event)->key());
    return false;
}

bool Tmainform::handleKeyRelease(QObject* watched, QEvent* event)
{
    auto* key = static_cast<QKeyEvent*>(event);
    if (!inWindow(watched, this) || key->isAutoRepeat() || !keysDownHere_.remove(key->key())) return false;
    int code = key->key();
    FormKeyUp(this, code, key->modifiers());
    // A chord that acted is used up, so it does not reach the control again on its way to the window.
    return code == 0;
}

void Tmainform::buttonsMouseMove(QObject* Sender)
{
    if (frontend().jukeboxExists() && frontend().jukeboxVisible()) return;
    QToolButton* const pictures[] = {butcd, butcdlist, butrandom, butjukebox};
    const QAction* modes[] = {Cdplayerbut, playlistbut, randombut, jukeboxbut};
    for (int i = 0; i < int(std::size(pictures)); ++i) {
        const bool lit = Sender == pictures[i] || modes[i]->isChecked();
        const QImage picture = butimages.value(lit ? i : i + kToolbarImageSlots);
        pictures[i]->setIcon(QIcon(QPixmap::fromImage(picture)));
    }
    toolbar->update();
}

void Tmainform::buttonstimerTimer(QObject*)
{
    if (!DEBUGON) {
        buttonstimer->stop();
        return;
    }
    buttonsMouseMove(nullptr);
    transport->update();
}

void Tmainform::restoreClick(QObject*)
{
    setWindowState(Qt::WindowNoState);
    // A sizeable border: the window no longer holds its fixed size.
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

void mainmenuvisible(bool i)
{
    if (!mainform) return;
    mainform->fileMenu_->menuAction()->setEnabled(i);
    mainform->modeMenu_->menuAction()->setEnabled(i);
}

void Tmainform::menuaboutClick(QObject*)
{
    showabout(1);
}

void Tmainform::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate(this);
    QWidget::changeEvent(event);
}

void Tmainform::FormActivate(QObject*)
{
    pressDjWhenDefault();
    skins::moveformtomonitor(this);
    // Through the mute button while it is down: coming back to the window keeps the mute.
    applyVolume();
    buttonsMouseMove(nullptr);
}

void Tmainform::dtracklistClick(QObject*)
{
    const int row = dtracklist->currentRow();
    const bool chosen = row >= 0 && dtracklist->count() > 0;
    const QString q =
        chosen ? QLatin1Char('"') + dtracklist->item(row)->text() + QLatin1Char('"') : QString();
    Add->setToolTip(QStringLiteral("Add ") + q + QStringLiteral(" to end of playlist"));
    insert->setToolTip(QStringLiteral("Insert \"") + q + QStringLiteral("\" into playlist"));
    if (chosen) Add->setEnabled(true);
    del->setEnabled(queueRow() >= 0);
}

void Tmainform::tracklistDblClick(QObject*)
{
    playClick(nullptr);
    play->setChecked(true);
}

void Tmainform::dtracklistDblClick(QObject* Sender)
{
    AddClick(Sender);
}

void Tmainform::coverClick(QObject*)
{
    frontend().covershow(library::currentalbumpath);
}

void Tmainform::showcoverClick(QObject*)
{
    // Row 0 is a real queue entry here: "no entry" is a row of -1.
    const int playing = dcurrentlyplayingtrack;
    if (!showcover->isChecked() || playmode != 1 || queueRow() < 0 || playing < 0 ||
        playing >= std::min<qsizetype>(dplaylist->count(), dPlayListMatrixAlb.size()))
        return;
    frontend().covershow(dPlayListMatrixAlb.at(playing));
}

void Tmainform::coverpickbutClick(QObject*)
{
    const int picked = frontend().pickcover();
    // Closing the picker without a choice keeps the albums chosen before.
    if (picked >= 0 && picked < albumlist->count()) selectPickedAlbum(picked);
    coverpickbut->setChecked(false);
}

void Tmainform::randombutClick(QObject*)
{
    if (!rnd_dialog) return;
    (void)platform::dialogs().execModal(*rnd_dialog);
    // The queue just made is played in the play-list style; nothing starts by itself.
    playlistbutClick(playlistbut);
    playlistbut->setChecked(true);
    restoreDefaultCursor();
    selectQueueRow(0);
    buttonsMouseMove(nullptr);
}

void Tmainform::restoreDefaultCursor()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void Tmainform::selectPickedAlbum(int row)
{
    albumlist->setCurrentIndex(row);
    Dalbumlist->setCurrentIndex(row);
    albumlistChange(albumlist);
    DalbumlistChange(Dalbumlist);
}

} // namespace player

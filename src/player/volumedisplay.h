#pragma once

// The on-screen volume display: a green bar across the lower screen whose width stands for the
// volume, with a small window at its left naming it ("Volume" or "Muted") and giving the value. It
// shows on every change and hides itself on the second tick of its one-second timer after the last.
// Created once by the program entry and kept until the program ends; `volumedisplay` points at it
// while it lives. The display's state lives in the one display object. GUI thread only.

#include <QPoint>
#include <QRect>
#include <QWidget>
#include <cstdint>

class QLabel;
class QTimer;

namespace player {

class Tvolumedisplay : public QWidget
{
    Q_OBJECT

public:
    explicit Tvolumedisplay(QWidget* parent = nullptr);
    ~Tvolumedisplay() override;

    void FormCreate(QObject* Sender);
    // Shows the display for the volume position `i`.
    void draw(uint8_t i);
    // Paints `symbol`: the title on top, "(value)" below.
    void settitle(const QString& title, int value);
    void delayTimer(QObject* Sender);
    // Hides the bar and its symbol at once.
    void vanish();

    QTimer* delay = nullptr;
    int delayTag = 0;         // ticks since the last change (the timer's tag)
    QLabel* symbol = nullptr; // the window naming the bar, owned by the display
    QRect symbolrect;         // left, top, width, height of `symbol`
    int32_t max = 150;        // the value that fills the bar
    double increment = 0;     // pixels per unit: the full bar's width / `max`

private:
    int fullWidth_ = 0;
    QPoint barOrigin_; // the bar's top-left corner on the screen
};

// The one instance while it exists (non-owning).
inline Tvolumedisplay* volumedisplay = nullptr;

} // namespace player

#pragma once

// The on-screen volume bar, shown when the volume changes.
// Created once by the program entry and kept until the program ends; `volumedisplay` points at it while it
// lives. GUI thread only.

#include <QWidget>

namespace player {

class Tvolumedisplay : public QWidget
{
    Q_OBJECT

public:
    explicit Tvolumedisplay(QWidget* parent = nullptr);
    ~Tvolumedisplay() override;
};

// The one instance while it exists (non-owning).
inline Tvolumedisplay* volumedisplay = nullptr;

} // namespace player

#pragma once

// The borderless window that shows video tracks full-size.
// Created once by the program entry and kept until the program ends; `video` points at it while it
// lives. GUI thread only.

#include <QWidget>

namespace player {

class Tvideo : public QWidget
{
    Q_OBJECT

public:
    explicit Tvideo(QWidget* parent = nullptr);
    ~Tvideo() override;
};

// The one instance while it exists (non-owning).
inline Tvideo* video = nullptr;

} // namespace player

#pragma once

// The window that shows one album cover large.
// Created once by the program entry and kept until the program ends; `coverform` points at it while it
// lives. GUI thread only.

#include <QWidget>

namespace jukebox {

class Tcoverform : public QWidget
{
    Q_OBJECT

public:
    explicit Tcoverform(QWidget* parent = nullptr);
    ~Tcoverform() override;
};

// The one instance while it exists (non-owning).
inline Tcoverform* coverform = nullptr;

} // namespace jukebox

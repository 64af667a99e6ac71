#pragma once

// The window that shows one album cover large.
// Created once by the program entry and kept until the program ends; `coverform` points at it while it
// lives. GUI thread only.

#include <QString>
#include <QWidget>

namespace jukebox {

class Tcoverform : public QWidget
{
    Q_OBJECT

public:
    explicit Tcoverform(QWidget* parent = nullptr);
    ~Tcoverform() override;

    // Shows the cover of the album folder `name` maximised; built with the rest of the window.
    void covershow(const QString& name);
};

// The one instance while it exists (non-owning).
inline Tcoverform* coverform = nullptr;

} // namespace jukebox

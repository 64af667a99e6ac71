#pragma once

// The cover choice window: the pictures the cover-art service found for the album, and a generated
// cover last, one at a time; OK takes the one shown. While ripping (mode 0) OK also makes the album
// folder with its track titles and cover; while editing (mode 1) it hands the picture back.
// Created, run and freed by `doartwork` on the GUI thread.

#include <QDialog>
#include <cstdint>

namespace ripper {

class Tartwork : public QDialog
{
    Q_OBJECT

public:
    explicit Tartwork(QWidget* parent = nullptr);
};

// Stores `m` as the mode and lets the user choose; 1 after a successful OK, 2 after Exit.
int32_t doartwork(int32_t m);

} // namespace ripper

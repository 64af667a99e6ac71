#pragma once

// The random playlist dialog.
// Created once by the program entry and kept until the program ends; `rnd_dialog` points at it while it
// lives. GUI thread only.

#include <QDialog>

namespace player {

class Trnd_dialog : public QDialog
{
    Q_OBJECT

public:
    explicit Trnd_dialog(QWidget* parent = nullptr);
    ~Trnd_dialog() override;
};

// The one instance while it exists (non-owning).
inline Trnd_dialog* rnd_dialog = nullptr;

} // namespace player

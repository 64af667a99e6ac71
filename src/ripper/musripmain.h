#pragma once

// The full-screen CD extraction window.
// Created once by the program entry and kept until the program ends; `ripmain` points at it while it
// lives. GUI thread only.

#include <QWidget>

namespace ripper {

class Tripmain : public QWidget
{
    Q_OBJECT

public:
    explicit Tripmain(QWidget* parent = nullptr);
    ~Tripmain() override;
};

// The one instance while it exists (non-owning).
inline Tripmain* ripmain = nullptr;

} // namespace ripper

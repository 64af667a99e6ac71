#pragma once

// A periodic timer as the controls use it: an interval in milliseconds and an enabled switch.
// Changing the interval of a running timer starts its period again, and an interval of 0 never
// fires. Made by the TimerSource in force (timersource.h), so tests can fire ticks by hand.
// GUI thread only; owned by its QObject parent, normally the control that asked for it.

#include <QObject>

namespace controls {

class Ticker : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual void setInterval(int ms) = 0;
    virtual int interval() const = 0;
    virtual void setEnabled(bool on) = 0;
    virtual bool isEnabled() const = 0;

Q_SIGNALS:
    void timeout();
};

} // namespace controls

#include "platform/power.h"

#include <QProcess>
#include <QString>
#include <QStringList>

#include "platform/seam.h"

namespace platform {

namespace {

// systemctl only queues the power-off job, so it answers quickly; the limit guards against a
// system manager that does not answer at all.
constexpr int kSystemctlTimeoutMs = 10000;

class SystemdPower final : public Power
{
public:
    bool powerOff() override
    {
        QProcess systemctl;
        // Never wait for a password prompt: a kiosk has nobody to answer it.
        systemctl.start(QStringLiteral("systemctl"),
                        {QStringLiteral("--no-ask-password"), QStringLiteral("poweroff")});
        if (!systemctl.waitForFinished(kSystemctlTimeoutMs)) {
            systemctl.kill();
            systemctl.waitForFinished();
            return false;
        }
        return systemctl.exitStatus() == QProcess::NormalExit && systemctl.exitCode() == 0;
    }
};

} // namespace

Power& power()
{
    return Seam<Power, SystemdPower>::get();
}

void setPower(Power* replacement)
{
    Seam<Power, SystemdPower>::set(replacement);
}

} // namespace platform

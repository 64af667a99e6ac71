#include "platform/process.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSocketNotifier>
#include <QString>
#include <QStringList>
#include <csignal>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/files.h"
#include "platform/programfolder.h"
#include "platform/seam.h"

extern char** environ;

namespace platform {

namespace {

constexpr int kFirstInheritableFd = 3;

bool isProgramFile(const QString& path)
{
    const QFileInfo info(path);
    return !path.isEmpty() && info.isFile() && info.isExecutable();
}

// The names to try for `name`: itself, then without a ".exe" ending.
QStringList candidateNames(const QString& name)
{
    QStringList names{name};
    const QString ending = QStringLiteral(".exe");
    if (name.size() > ending.size() && name.endsWith(ending, Qt::CaseInsensitive))
        names.append(name.chopped(ending.size()));
    return names;
}

// The program file that `name` stands for, empty when there is none. A name with a folder is
// taken as it stands; a bare name is looked for in the program's own folder (without regard to
// case, as the program was written for a case-insensitive system) and then on PATH.
QString findProgram(const QString& name)
{
    const QStringList names = candidateNames(name);
    if (name.contains(QLatin1Char('/'))) {
        for (const QString& candidate : names) {
            if (isProgramFile(candidate)) return QFileInfo(candidate).absoluteFilePath();
        }
        return {};
    }
    const QString ownFolder = programFolder();
    for (const QString& candidate : names) {
        const QString found = findNoCase(ownFolder, candidate);
        if (isProgramFile(found)) return found;
    }
    const QStringList path =
        QString::fromLocal8Bit(qgetenv("PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    for (const QString& folder : path) {
        for (const QString& candidate : names) {
            const QString file = joinPath(folder, candidate);
            if (isProgramFile(file)) return file;
        }
    }
    return {};
}

// posix_spawn's attribute and file-action records, released on every exit path.
class SpawnSetup
{
public:
    SpawnSetup()
    {
        posix_spawn_file_actions_init(&actions_);
        posix_spawnattr_init(&attributes_);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    // No inherited files, an empty signal mask and default handling of the signals that
    // libraries in this process may ignore.
    bool prepare()
    {
        sigset_t none;
        sigemptyset(&none);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (int signal : {SIGPIPE, SIGHUP, SIGINT, SIGQUIT, SIGTERM, SIGCHLD})
            sigaddset(&defaults, signal);
        return posix_spawn_file_actions_addclosefrom_np(&actions_, kFirstInheritableFd) == 0 &&
               posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
               posix_spawnattr_setsigdefault(&attributes_, &defaults) == 0 &&
               posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF) == 0;
    }

    const posix_spawn_file_actions_t* actions() const { return &actions_; }
    const posix_spawnattr_t* attributes() const { return &attributes_; }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

class SpawnProcesses final : public Processes
{
public:
    ProgramId start(const QString& commandline) override
    {
        collectEnded();
        QStringList words = QProcess::splitCommand(commandline);
        if (words.isEmpty()) return 0;
        const QString program = findProgram(words.first());
        if (program.isEmpty()) return 0;
        words.first() = program;
        const pid_t pid = spawn(words);
        if (pid <= 0) return 0;
        children_.push_back(pid);
        collectWhenEnded(pid);
        return pid;
    }

    bool running(ProgramId id) override
    {
        collectEnded();
        for (pid_t child : children_) {
            if (child == id) return true;
        }
        return false;
    }

private:
    static pid_t spawn(const QStringList& words)
    {
        std::vector<QByteArray> encoded;
        encoded.reserve(words.size());
        for (const QString& word : words)
            encoded.push_back(QFile::encodeName(word));
        std::vector<char*> argv;
        for (QByteArray& word : encoded)
            argv.push_back(word.data());
        argv.push_back(nullptr);

        SpawnSetup setup;
        if (!setup.prepare()) return 0;
        pid_t pid = 0;
        // glibc reports a failed exec as the result of posix_spawn, so 0 means the program runs.
        if (posix_spawn(&pid, argv[0], setup.actions(), setup.attributes(), argv.data(), environ) != 0)
            return 0;
        return pid;
    }

    // Collects the child's exit as soon as it ends, so a program nobody waits for (the on-screen
    // keyboard) does not stay behind as a zombie. Without a process descriptor or an event loop,
    // the next start or check collects it instead.
    void collectWhenEnded(pid_t pid)
    {
        if (!QCoreApplication::instance()) return;
        // Called directly: Debian 12's C library declares its wrapper without C linkage for C++.
        const int descriptor = int(::syscall(SYS_pidfd_open, pid, 0));
        if (descriptor < 0) return;
        auto* ended = new QSocketNotifier(descriptor, QSocketNotifier::Read, QCoreApplication::instance());
        QObject::connect(ended, &QSocketNotifier::activated, ended, [this, ended, descriptor] {
            ended->setEnabled(false);
            ::close(descriptor);
            ended->deleteLater();
            collectEnded();
        });
    }

    // Collects the exit of every child that has ended, so none stays behind as a zombie.
    void collectEnded()
    {
        std::erase_if(children_, [](pid_t child) {
            int status = 0;
            const pid_t result = ::waitpid(child, &status, WNOHANG);
            return result == child || result < 0;
        });
    }

    std::vector<pid_t> children_;
};

} // namespace

Processes& processes()
{
    return Seam<Processes, SpawnProcesses>::get();
}

void setProcesses(Processes* replacement)
{
    Seam<Processes, SpawnProcesses>::set(replacement);
}

} // namespace platform

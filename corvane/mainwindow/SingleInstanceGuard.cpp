#include "SingleInstanceGuard.h"

#include "quillet/Quillet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

SingleInstanceGuard::SingleInstanceGuard(const QString& key) : m_path(lockPathFor(key)) {}

SingleInstanceGuard::~SingleInstanceGuard() {
    release();
}

QString SingleInstanceGuard::lockPathFor(const QString& key) {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(QFile::decodeName(runtime)).isDir()) {
        return QFile::decodeName(runtime) + "/" + key + ".lock";
    }
    return QDir::tempPath() + "/" + key + "-" + QString::number(getuid()) + ".lock";
}

SingleInstanceGuard::Result SingleInstanceGuard::acquire() {
    if (m_fd >= 0) {
        return Result::Acquired;
    }
    const QByteArray path = QFile::encodeName(m_path);
    // The folder may be shared (the temp folder): never follow a planted link, and lock only a
    // plain file of this user, or the pid written below would land in someone else's file.
    const int fd = open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) {
        Qx_Write_Log(300, "SingleInstanceGuard::acquire", "cannot open %s: %s", path.constData(),
                     std::strerror(errno));
        return Result::Failed;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != getuid()) {
        close(fd);
        Qx_Write_Log(300, "SingleInstanceGuard::acquire", "%s is not a plain file of this user",
                     path.constData());
        return Result::Failed;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        if (error == EWOULDBLOCK) {
            return Result::AlreadyRunning;
        }
        Qx_Write_Log(300, "SingleInstanceGuard::acquire", "cannot lock %s: %s", path.constData(),
                     std::strerror(error));
        return Result::Failed;
    }
    // The holder's pid, for a person looking at the file; the lock itself is what counts.
    if (ftruncate(fd, 0) == 0) {
        const QByteArray pid = QByteArray::number(static_cast<qint64>(getpid())) + "\n";
        if (write(fd, pid.constData(), static_cast<size_t>(pid.size())) < 0) {
            // Informational only.
        }
    }
    m_fd = fd;
    return Result::Acquired;
}

void SingleInstanceGuard::release() {
    if (m_fd >= 0) {
        flock(m_fd, LOCK_UN);
        close(m_fd);
        m_fd = -1;
    }
}

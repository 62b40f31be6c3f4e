// One running instance per key: an exclusive flock on a lock file. The kernel drops the lock
// when the holder exits in any way (crash, kill -9), so no stale guard survives a process.
#pragma once

#include <QString>

class SingleInstanceGuard {
public:
    enum class Result { Acquired, AlreadyRunning, Failed };

    explicit SingleInstanceGuard(const QString& key);
    ~SingleInstanceGuard();

    SingleInstanceGuard(const SingleInstanceGuard&) = delete;
    SingleInstanceGuard& operator=(const SingleInstanceGuard&) = delete;

    Result acquire();
    void release();

    // The lock file: $XDG_RUNTIME_DIR/<key>.lock, or <temp>/<key>-<uid>.lock without it.
    QString lockPath() const { return m_path; }
    static QString lockPathFor(const QString& key);

private:
    QString m_path;
    int m_fd = -1;
};

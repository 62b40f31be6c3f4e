// What the fleet benches share: the program's surroundings, the simulated fleet handed to the
// engine's login with its table rows, the wait for the logins and the CPU of the probes.
#pragma once

#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>

class DeviceManager;

namespace benchfleet {

// Offscreen unless QT_QPA_PLATFORM names a platform; the configuration in the given folder.
void prepareEnvironment(const QTemporaryDir& config);
// The stand-in ping next to the program first on PATH (call after the application exists).
void useSimPing();
// Hands every camera of the current fleet to the engine's login; the device-table rows of
// the fleet (address in column 1, MAC in column 8).
QVector<QStringList> loginFleet(DeviceManager& engine);
// Rows whose first login slot is logged in.
int loggedInCount(DeviceManager& engine, const QVector<QStringList>& rows);
// Processes events until `wanted` rows are logged in or the clock passes limitMs, pausing
// pauseMs between looks; the count logged in.
int waitForLogins(DeviceManager& engine, const QVector<QStringList>& rows, int wanted,
                  const QElapsedTimer& clock, qint64 limitMs, int pauseMs);
// CPU seconds of the finished child processes (the pings) and of the program itself.
double childCpuSeconds();
double ownCpuSeconds();

} // namespace benchfleet

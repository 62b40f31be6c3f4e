// The pictures of the simulated streams, kept on the GUI thread. Calls from other threads
// are queued to it; without a QApplication nothing is drawn.
#pragma once

#include <QString>
#include <vector>

class SimPictures {
public:
    static void show(int stream, unsigned int window, const QString& address, int streamNo);
    static void remove(const std::vector<int>& streams);
    static void removeAll();
    // GUI thread only.
    static int count();
};

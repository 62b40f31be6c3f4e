// Baseline for the start-up measurement: a plain QWidget of the main window's size that prints
// the milliseconds from launch (CORVANE_BENCH_T0_NS, realtime nanoseconds) to its first paint
// and quits, as Corvane does with CORVANE_EXIT_AFTER_FIRST_PAINT=1.
#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

long long realtimeNs() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

class Window : public QWidget {
public:
    explicit Window(long long t0) : m_t0(t0) {}

protected:
    void paintEvent(QPaintEvent* event) override {
        QWidget::paintEvent(event);
        if (!m_done) {
            m_done = true;
            std::printf("first-paint-ms: %.3f\n", static_cast<double>(realtimeNs() - m_t0) / 1e6);
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
    }

private:
    long long m_t0;
    bool m_done = false;
};

} // namespace

int main(int argc, char* argv[]) {
    long long t0 = realtimeNs();
    if (const char* env = std::getenv("CORVANE_BENCH_T0_NS")) {
        t0 = std::atoll(env);
    }
    QApplication app(argc, argv);
    Window window(t0);
    window.setFixedSize(1336, 760);
    window.show();
    return app.exec();
}

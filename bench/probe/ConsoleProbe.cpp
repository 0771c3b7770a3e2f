// A Qt generic plugin that the benchmark loads into the real console (QT_QPA_GENERIC_PLUGINS):
// it reports when the main window is first shown, then plays the user (rate up to 75 with
// the arrow keys, Continuous, Start), counts the sampling timer's ticks and those after which
// Port Output shows the tracker's whole frame, and reports them with the process's CPU time and
// the live plot's repaints (its window open or not when counting starts).
// Lines go to the descriptor in BENCH_PROBE_FD:
//   shown <monotonic ns>
//   rate <the rate field's text>
//   result ticks <n> good <n> seconds <s> cpu_ms <ms> plot <0|1> plot_paints <n>
// BENCH_PROBE_SECONDS: how long to count; BENCH_PROBE_EXPECT: Port Output of a good frame.
#include <QAbstractButton>
#include <QApplication>
#include <QGenericPlugin>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <ctime>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr int kSamplingPeriodMs = 13;
const char* const kMainTitle = "Gyrodesk";
const char* const kPlotTitle = "Gyrodesk - Live Plot";

long long monotonicNs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000LL + t.tv_nsec;
}

double cpuMs() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return ms(u.ru_utime) + ms(u.ru_stime);
}

QString plain(QString caption) { return caption.remove('&'); }

class Probe : public QObject {
public:
    Probe()
        : fd_(qEnvironmentVariableIntValue("BENCH_PROBE_FD")),
          seconds_(qEnvironmentVariable("BENCH_PROBE_SECONDS", "10").toDouble()),
          expected_(qEnvironmentVariable("BENCH_PROBE_EXPECT")) {
        qApp->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        if (!shown_ && event->type() == QEvent::Expose) {
            auto* window = qobject_cast<QWindow*>(object);
            if (window && window->isExposed() && window->title() == kMainTitle) {
                shown_ = true;
                say("shown " + std::to_string(monotonicNs()));
                QTimer::singleShot(300, this, [this] { drive(); });
            }
        }
        if (measuring_ && event->type() == QEvent::Paint) {
            auto* widget = qobject_cast<QWidget*>(object);
            if (widget && widget->isWindow() && widget->windowTitle() == kPlotTitle) ++plotPaints_;
        }
        if (measuring_ && event->type() == QEvent::Timer) {
            auto* timer = qobject_cast<QTimer*>(object);
            if (timer && timer->interval() == kSamplingPeriodMs) {
                ++ticks_;
                if (showsGoodFrame()) ++good_;
            }
        }
        return false;
    }

private:
    void say(const std::string& line) {
        const std::string text = line + "\n";
        if (fd_ > 0 && write(fd_, text.data(), text.size()) < 0) {}
    }

    static QWidget* window(const char* title) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->windowTitle() == title && w->isVisible()) return w;
        return nullptr;
    }
    QWidget* mainWindow() const { return window(kMainTitle); }

    bool showsGoodFrame() const {
        QWidget* main = mainWindow();
        if (!main) return false;
        for (QLabel* label : main->findChildren<QLabel*>())
            if (label->text() == expected_) return true;
        for (QLineEdit* edit : main->findChildren<QLineEdit*>())
            if (edit->text() == expected_) return true;
        return false;
    }

    template <typename Button>
    void clickCaption(QWidget* main, const QString& caption) {
        for (Button* b : main->findChildren<Button*>())
            if (plain(b->text()) == caption) b->click();
    }

    void drive() {
        QWidget* main = mainWindow();
        if (!main) return say("error no main window");
        // The up-down control is the plain widget of the dialog; each Up arrow steps 5.
        for (QWidget* w : main->findChildren<QWidget*>()) {
            if (std::string(w->metaObject()->className()) != "QWidget") continue;
            for (int step = 0; step < 7; ++step) {
                QKeyEvent press(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
                QKeyEvent release(QEvent::KeyRelease, Qt::Key_Up, Qt::NoModifier);
                QApplication::sendEvent(w, &press);
                QApplication::sendEvent(w, &release);
            }
        }
        QString rate = "?";
        for (QLineEdit* edit : main->findChildren<QLineEdit*>())
            if (edit->text() == "75") rate = "75";
        say("rate " + rate.toStdString());
        clickCaption<QAbstractButton>(main, "Continuous");
        QTimer::singleShot(100, this, [this] {
            if (QWidget* m = mainWindow()) clickCaption<QAbstractButton>(m, "Start");
            QTimer::singleShot(1000, this, [this] { measure(); });
        });
    }

    void measure() {
        measuring_ = true;
        const bool plotOpen = window(kPlotTitle) != nullptr;
        const double cpuStart = cpuMs();
        const long long start = monotonicNs();
        QTimer::singleShot(
            static_cast<int>(seconds_ * 1000), this, [this, cpuStart, start, plotOpen] {
                measuring_ = false;
                const double seconds = (monotonicNs() - start) / 1e9;
                char line[200];
                std::snprintf(
                    line, sizeof line,
                    "result ticks %ld good %ld seconds %.3f cpu_ms %.1f plot %d plot_paints %ld",
                    ticks_, good_, seconds, cpuMs() - cpuStart, plotOpen ? 1 : 0, plotPaints_);
                say(line);
            });
    }

    int fd_;
    double seconds_;
    QString expected_;
    bool shown_ = false, measuring_ = false;
    long ticks_ = 0, good_ = 0, plotPaints_ = 0;
};

}  // namespace

class ConsoleProbePlugin : public QGenericPlugin {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "benchprobe.json")
public:
    QObject* create(const QString&, const QString&) override { return new Probe(); }
};

#include "ConsoleProbe.moc"

// The application entry: InitInstance once, the exit statuses.
#include <QProcess>

#include <gtest/gtest.h>

namespace {

int RunProbe(const char* mode) {
    QProcess probe;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("AFX_PROBE_MODE", mode);
    if (!env.contains("LSAN_OPTIONS"))
        env.insert("LSAN_OPTIONS", "suppressions=" AFX_LSAN_SUPPRESSIONS);
    probe.setProcessEnvironment(env);
    probe.start(AFX_APP_PROBE, {});
    if (!probe.waitForFinished(20000)) {
        probe.kill();
        probe.waitForFinished();
        return -1000;
    }
    const bool crashed = probe.exitStatus() != QProcess::NormalExit;
    if (crashed || (probe.exitCode() != 1 && probe.exitCode() != 7))
        ADD_FAILURE() << mode << ": " << probe.readAllStandardError().toStdString();
    return crashed ? -2000 : probe.exitCode();
}

}  // namespace

TEST(AfxWinMain, EndsWithExitInstancesValueOrTheStatusTheProgramExitsWith) {
    struct Case {
        const char* mode;
        int status;
    } const cases[] = {{"false", 7}, {"cancel", 7}, {"exit", 1}};
    for (const Case& c : cases) EXPECT_EQ(RunProbe(c.mode), c.status) << c.mode;
}

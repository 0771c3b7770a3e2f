// The live plot: opening it from the system menu (again: the open one comes to the front),
// closing and reopening it, the heights at which a fixed pose draws its three lines, failed
// reads as gaps, and a dialog that shows and does exactly what it did without the plot.
#include <algorithm>
#include <cmath>

#include <QApplication>
#include <QImage>
#include <QWidget>

#include <afx/Testing.h>

#include "ConsoleFixture.h"
#include "PlotLayout.h"

namespace gyrotest {
namespace {

using gyrodesk::Series;

// Every control's text, check and enabled state, in template order.
struct ControlState {
    int id;
    QString text;
    bool checked, enabled;
    bool operator==(const ControlState&) const = default;
};
std::ostream& operator<<(std::ostream& out, const ControlState& c) {
    return out << "\n  " << c.id << " \"" << c.text.toStdString() << "\""
               << (c.checked ? " checked" : "") << (c.enabled ? "" : " disabled");
}
std::vector<ControlState> Snapshot(CGyrodeskDlg& dlg) {
    static const int kIds[] = {
        IDC_POLL,           IDC_RESET,       IDC_START,        IDC_STOP,          IDC_9600,
        IDC_19200,          IDC_ASCII,       IDC_BINARY,       IDC_CHECKSUM_ON,   IDC_CHECKSUM_OFF,
        IDC_UPON_REQUEST,   IDC_CONTINUOUS,  IDC_AVERAGING_ON, IDC_AVERAGING_OFF, IDC_HYSTERESIS_ON,
        IDC_HYSTERESIS_OFF, IDC_COM1,        IDC_COM2,         IDC_COM3,          IDC_COM4,
        IDC_RATE_EDIT,      IDC_STATUS,      IDC_ABOUT,        IDC_HELP_ME,       IDOK,
        IDC_VERSION,        IDC_PORT_OUTPUT, IDC_PITCH,        IDC_YAW,           IDC_ROLL};
    std::vector<ControlState> state;
    for (int id : kIds) state.push_back({id, Text(dlg, id), Checked(dlg, id), Enabled(dlg, id)});
    return state;
}

int PlotWindowsShown() {
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->windowTitle() == CLivePlotWnd::kTitle) ++count;
    return count;
}

void OpenFromMenu(CGyrodeskDlg& dlg) {
    ASSERT_TRUE(afx::testing::ChooseSystemMenuItem(dlg, IDM_LIVEPLOT));
    ASSERT_TRUE(PumpUntil([&] { return dlg.LivePlot().IsOpen(); })) << "the plot did not open";
}

// True when some pixel of column x between rows top and bottom is within reach of colour.
bool ColourInColumn(const QImage& image, int x, int top, int bottom, const QColor& colour) {
    for (int y = std::max(top, 0); y <= std::min(bottom, image.height() - 1); ++y) {
        const QColor c = image.pixelColor(x, y);
        if (std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                std::abs(c.blue() - colour.blue()) <
            90)
            return true;
    }
    return false;
}

double SecondsBeforeLatest(const gyrodesk::SampleHistory& history,
                           gyrodesk::PlotClock::time_point t) {
    return std::chrono::duration<double>(t - history.Latest()).count();
}

class LivePlotTest : public ConsoleTest {
protected:
    void Tick() { dlg->SendMessage(WM_TIMER, 1, 0); }
};

TEST_F(LivePlotTest, OpensFromTheMenuItemAfterAboutAndAgainBringsTheOpenOneToTheFront) {
    Start();
    const std::vector<CMenu::Item> menu = afx::testing::SystemMenuItems(*dlg);
    ASSERT_GE(menu.size(), 3u);
    EXPECT_EQ(menu[menu.size() - 2].id, static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_EQ(menu.back().id, static_cast<UINT>(IDM_LIVEPLOT));
    EXPECT_EQ(menu.back().text, "Live &Plot...");

    TakeSample(*dlg, [&] { Click(*dlg, IDC_POLL); });
    const auto before = Snapshot(*dlg);
    OpenFromMenu(*dlg);
    EXPECT_EQ(PlotWindowsShown(), 1);
    QWidget* window = dlg->LivePlot().GetSafeQWidget();
    EXPECT_EQ(window->windowTitle(), "Gyrodesk - Live Plot");
    EXPECT_EQ(Snapshot(*dlg), before) << "opening the plot changes nothing in the dialog";
    EXPECT_EQ(dlg->LivePlot().History().Readings().size(), 1u)
        << "the poll before it opened is kept";

    dlg->LivePlot().ShowWindow(SW_MINIMIZE);
    ASSERT_TRUE(PumpUntil([&] { return dlg->LivePlot().IsIconic() != FALSE; }));
    OpenFromMenu(*dlg);
    EXPECT_TRUE(PumpUntil([&] { return !dlg->LivePlot().IsIconic(); })) << "restored";
    EXPECT_EQ(dlg->LivePlot().GetSafeQWidget(), window) << "the open window, not a second one";
    EXPECT_EQ(PlotWindowsShown(), 1);

    // Closing it (the close box) leaves the dialog as it was; it opens again.
    window->close();
    EXPECT_FALSE(dlg->LivePlot().IsOpen());
    EXPECT_TRUE(PumpUntil([] { return PlotWindowsShown() == 0; }));
    EXPECT_TRUE(dlg->IsWindowVisible());
    EXPECT_EQ(Snapshot(*dlg), before);
    TakeSample(*dlg, [&] { Click(*dlg, IDC_POLL); });
    OpenFromMenu(*dlg);
    EXPECT_EQ(PlotWindowsShown(), 1);
    EXPECT_EQ(dlg->LivePlot().History().Readings().size(), 2u);
}

TEST_F(LivePlotTest, DialogShowsAndSendsTheSameWithThePlotOpen) {
    Start();
    // A read taken again (a few times at most) when the loaded machine made it miss the frame
    // (stream bytes still arriving after a switch, a time-out missed): the states compared are
    // those of good samples.
    auto goodSample = [&](const std::function<void()>& take) {
        for (int attempt = 0; attempt < 4; ++attempt) {
            take();
            if (Status() == "Checksum OK") break;
        }
    };
    auto session = [&] {
        std::vector<std::vector<ControlState>> states;
        Click(*dlg, IDC_CHECKSUM_ON);
        goodSample([&] { Click(*dlg, IDC_POLL); });
        states.push_back(Snapshot(*dlg));
        Click(*dlg, IDC_CONTINUOUS);
        Click(*dlg, IDC_START);
        states.push_back(Snapshot(*dlg));
        Pump(300ms);
        Click(*dlg, IDC_STOP);
        goodSample([&] { Tick(); });
        states.push_back(Snapshot(*dlg));
        Click(*dlg, IDC_UPON_REQUEST);
        Click(*dlg, IDC_CHECKSUM_OFF);
        states.push_back(Snapshot(*dlg));
        // The commands sent, without the sample requests (a poll that misses the reader's
        // time-out on a loaded machine is taken again).
        std::vector<std::uint8_t> commands = Received();
        const auto requests = std::count(commands.begin(), commands.end(), 'S');
        EXPECT_GE(requests, 1);
        commands.erase(std::remove(commands.begin(), commands.end(), 'S'), commands.end());
        return std::make_pair(states, commands);
    };
    const auto closed = session();
    OpenFromMenu(*dlg);
    const auto open = session();
    EXPECT_EQ(open.first, closed.first) << "the same texts, checks and enabled controls";
    EXPECT_EQ(open.second, closed.second) << "the same commands: " << Describe(open.second);
    EXPECT_GT(dlg->ticks, 0);
}

// The pose the simulator holds: yaw 500 reads as 140 on one turn.
constexpr korvisor::Pose kPose{30, 500, -45};
constexpr int kFoldedYaw = 140;

TEST_F(LivePlotTest, FixedPoseDrawsItsLinesAtTheHeightsThePoseImplies) {
    korvisor::Options options = TrackerOptions();
    options.fixedPose = kPose;
    Start(options);
    OpenFromMenu(*dlg);

    // Timer ticks and Poll feed it alike.
    Click(*dlg, IDC_CONTINUOUS);
    Click(*dlg, IDC_START);
    ASSERT_TRUE(PumpUntil([&] { return dlg->ticks >= 25; }, 10s));
    Click(*dlg, IDC_STOP);
    Click(*dlg, IDC_UPON_REQUEST);
    TakeSample(*dlg, [&] { Click(*dlg, IDC_POLL); });
    EXPECT_EQ(Text(*dlg, IDC_YAW), "500");

    const gyrodesk::SampleHistory& history = dlg->LivePlot().History();
    ASSERT_NE(history.LatestGood(), nullptr);
    EXPECT_EQ(history.LatestGood()->yaw, 500);
    EXPECT_GT(history.RateReached(), 0);

    for (const QSize size : {QSize(gyrodesk::kDefaultClientWidth, gyrodesk::kDefaultClientHeight),
                             QSize(900, 600), QSize(420, 300)}) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        afx::testing::SetClientSize(dlg->LivePlot(), size.width(), size.height());
        const QImage image = afx::testing::Render(dlg->LivePlot());
        ASSERT_EQ(image.size(), size);
        const auto layout = gyrodesk::PlotLayout::For(size.width(), size.height());
        // Halfway through the samples taken.
        const auto& readings = history.Readings();
        const double middle = SecondsBeforeLatest(history, readings[readings.size() / 2].time);
        const int x = static_cast<int>(std::lround(layout.XFor(middle)));
        const struct {
            Series series;
            int degrees;
        } lines[] = {
            {Series::Pitch, kPose.pitch}, {Series::Yaw, kFoldedYaw}, {Series::Roll, kPose.roll}};
        for (const auto& line : lines) {
            const int y = static_cast<int>(std::lround(layout.YFor(line.degrees)));
            const QColor colour = gyrodesk::SeriesColour(line.series);
            EXPECT_TRUE(ColourInColumn(image, x, y - 2, y + 2, colour))
                << gyrodesk::SeriesName(line.series) << " at y " << y;
            EXPECT_FALSE(ColourInColumn(image, x, layout.graph.top(), y - 8, colour))
                << gyrodesk::SeriesName(line.series) << " above its height";
            EXPECT_FALSE(ColourInColumn(image, x, y + 8, layout.graph.bottom(), colour))
                << gyrodesk::SeriesName(line.series) << " below its height";
        }
        // The compass needle points at the folded yaw.
        if (!layout.heading.isEmpty()) {
            const QPointF c = QRectF(layout.heading).center();
            const double r = layout.heading.width() / 2.0 * 0.6;
            const double rad = kFoldedYaw * M_PI / 180;
            const QPoint tip(static_cast<int>(std::lround(c.x() + r * std::sin(rad))),
                             static_cast<int>(std::lround(c.y() - r * std::cos(rad))));
            EXPECT_TRUE(ColourInColumn(image, tip.x(), tip.y() - 1, tip.y() + 1,
                                       gyrodesk::SeriesColour(Series::Yaw)));
        }
    }
}

struct GapCase {
    const char* name;
    bool checksum;
    korvisor::Faults faults;  // during the failed reads
    const char* status;       // the dialog's status after one
};

class PlotGapTest : public LivePlotTest, public ::testing::WithParamInterface<GapCase> {};

TEST_P(PlotGapTest, FailedReadsShowAsAGap) {
    const GapCase& c = GetParam();
    Start();
    if (c.checksum) Click(*dlg, IDC_CHECKSUM_ON);
    OpenFromMenu(*dlg);
    auto polls = [&](int n) {
        for (int i = 0; i < n; ++i) {
            Click(*dlg, IDC_POLL);
            Pump(40ms);
        }
    };
    polls(6);
    tracker->setFaults(c.faults);
    polls(4);
    EXPECT_EQ(Status(), c.status);
    tracker->setFaults({});
    polls(6);

    const gyrodesk::SampleHistory& history = dlg->LivePlot().History();
    const auto& readings = history.Readings();
    ASSERT_EQ(readings.size(), 16u);
    // On a loaded machine a poll of the good tracker can miss too: the gap lies between the
    // last good read before the failures and the first one after them.
    std::size_t last = 5;
    while (last > 0 && !readings[last].good) --last;
    std::size_t next = 10;
    while (next < readings.size() && !readings[next].good) ++next;
    for (std::size_t i = 6; i < 10; ++i)
        EXPECT_FALSE(readings[i].good) << "read " << i << " failed";
    ASSERT_LT(next, readings.size()) << "good reads after the failures";
    // Two good reads in a row before the gap, where the lines must show.
    std::size_t pair = last;
    while (pair > 0 && !(readings[pair].good && readings[pair - 1].good)) --pair;
    ASSERT_GT(pair, 0u) << "two good reads in a row before the failures";

    const QImage image = afx::testing::Render(dlg->LivePlot());
    const auto layout = gyrodesk::PlotLayout::For(image.width(), image.height());
    auto column = [&](std::size_t a, std::size_t b) {
        const double t = (SecondsBeforeLatest(history, readings[a].time) +
                          SecondsBeforeLatest(history, readings[b].time)) /
                         2;
        return static_cast<int>(std::lround(layout.XFor(t)));
    };
    const int inGap = column(last, next);
    const int beforeGap = column(pair - 1, pair);
    for (Series series : gyrodesk::kAllSeries) {
        const QColor colour = gyrodesk::SeriesColour(series);
        EXPECT_TRUE(
            ColourInColumn(image, beforeGap, layout.graph.top(), layout.graph.bottom(), colour))
            << gyrodesk::SeriesName(series) << " drawn before the gap";
        EXPECT_FALSE(
            ColourInColumn(image, inGap, layout.graph.top(), layout.graph.bottom(), colour))
            << gyrodesk::SeriesName(series) << " bridges the gap";
    }
}

korvisor::Faults Silent() {
    korvisor::Faults f;
    f.silent = true;
    return f;
}
korvisor::Faults BadChecksums() {
    korvisor::Faults f;
    f.badChecksumEvery = 1;
    return f;
}

INSTANTIATE_TEST_SUITE_P(
    Reads, PlotGapTest,
    ::testing::Values(GapCase{"NoReply", false, Silent(), "No reply from Korvisor !!!"},
                      GapCase{"BadChecksum", true, BadChecksums(), "Checksum Error !!!"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace gyrotest

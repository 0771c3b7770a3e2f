// What the console's tests share: the ports of a test (a simulated tracker on one COM name,
// paths that do not exist for the others), and ways to act inside a modal loop the way a user
// would, from timers of the loop itself.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QString>

#include <afx/Afx.h>
#include <korvisor/Simulator.h>

class QWidget;

namespace gyrotest {

using namespace std::chrono_literals;

// For tests that are not about the link's warnings: while it lives, they go to standard error
// instead of a box.
class QuietLink {
public:
    QuietLink();
    ~QuietLink();
    QuietLink(const QuietLink&) = delete;
    QuietLink& operator=(const QuietLink&) = delete;
};

// Points VEXLINK_COM1..4 at paths that do not exist, then the given COM numbers at devices.
void SetPorts(const std::vector<std::pair<int, std::string>>& devices);
std::string MissingPortPath(int com);

// A simulated tracker with a fixed pose, started on a pty.
korvisor::Options TrackerOptions(korvisor::Faults faults = {});

// Runs fn from the event loop as soon as ready() holds, checking every few milliseconds from a
// timer (never spinning). Gives up after timeout and records a test failure.
void When(std::function<bool()> ready, std::function<void()> fn,
          std::chrono::milliseconds timeout = 10s, const char* what = "condition");

// Runs dialog modally; once it is shown and its own loop is the innermost one, runs whileOpen
// inside that loop, then cancels the dialog if whileOpen did not end it. Returns DoModal's
// result.
int RunModal(CDialog& dialog, std::function<void()> whileOpen);

// The innermost modal window (a dialog or a message box), or null.
QWidget* TopModal();
// Once a modal window whose caption is caption opens above the windows open now, runs fn on it.
void WhenModalOpens(const QString& caption, std::function<void(QWidget*)> fn);
// Once a message box opens, runs fn on it.
void WhenMessageBoxOpens(std::function<void(QWidget*)> fn);

// Ways to end a modal window.
enum class Dismiss { OkButton, EnterKey, EscapeKey, CloseBox };
const char* DismissName(Dismiss how);
void DismissWindow(QWidget* window, Dismiss how);

// The layer's dialog for a modal window, or null.
CDialog* DialogOf(QWidget* window);

// Control helpers on a dialog.
QString Text(CWnd& dialog, int id);
bool Checked(CWnd& dialog, int id);
bool Enabled(CWnd& dialog, int id);
// Clicks the control as the mouse would (a disabled control ignores it).
void Click(CWnd& dialog, int id);

// Processes pending events for at least duration, waiting in the event loop.
void Pump(std::chrono::milliseconds duration);
// Processes events until done() holds (checked every few milliseconds) or timeout passes;
// returns done().
bool PumpUntil(std::function<bool()> done, std::chrono::milliseconds timeout = 5s);

}  // namespace gyrotest

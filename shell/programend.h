// How the program ends.
#pragma once

#include <QObject>
#include <functional>

namespace zol {

// Ends the program at once: every window goes, and no window's unload step
// runs.
void End();
// Replaces what End does (tests record the call instead); an empty function
// restores the real ending.
void setEndHandler(std::function<void()> handler);

// Ends the program when no window is visible any more, whether the last one
// was closed by its close box or hidden or unloaded by code. Windows that
// are loaded but hidden do not keep the program running.
//
// Installed on the application object; the check runs once the event that
// hid a window has been handled, so a window that hides itself and shows
// another in the same handler does not end the program.
class LastWindowWatcher : public QObject {
public:
    explicit LastWindowWatcher(std::function<void()> quit);
    ~LastWindowWatcher() override;

    static bool anyWindowVisible();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void check();

    std::function<void()> quit_;
    bool pending_ = false;
};

} // namespace zol

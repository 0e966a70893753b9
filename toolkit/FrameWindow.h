#pragma once
#include "toolkit/ButtonBar.h"
#include "toolkit/ListBoxControl.h"
#include "toolkit/StatusBar.h"
#include "toolkit/Window.h"

// The program's top-level window (class MainClass): the button bar along the
// top, the list box in the middle and the status bar along the bottom. It runs
// the message loop with accelerator translation and ends it when destroyed.
class FrameWindow : public Window {
public:
    // Creates the frame, its status bar, button bar and list box; false when any fails.
    bool createFrame(ListBoxControl &listBox, ButtonBar &buttonBar, StatusBar &statusBar);
    bool loadAccelerators(const char *name);
    void show(int cmdShow);
    // The message loop; returns the exit code carried by WM_QUIT.
    int run();
    // Places the children for the client size of the last WM_SIZE.
    void layOut();

    void onDestroyed() override;
    int registerClass() override;
    void onClose() override;
    int onCreate() override;
    int onQueryEndSession() override;
    void onSetFocus() override;
    void onSize(WPARAM wParam, LPARAM lParam) override;

    // May the frame close now; default 1.
    virtual int canClose();
    // Nonzero when it has shown the window itself, so show skips ShowWindow; default 0.
    virtual int onBeforeShow();

    HACCEL accelerators = nullptr;
    int clientWidth = 0;
    int clientHeight = 0;
    int barHeight = 0;

private:
    // The children given to createFrame, for the layout, the focus and the
    // status bar's creation; a derived window keeps its own names for them.
    ButtonBar *bar_ = nullptr;
    StatusBar *status_ = nullptr;
    ListBoxControl *listBox_ = nullptr;
};

#include "toolkit/FrameWindow.h"

#include "toolkit/GdiHandles.h"
#include "toolkit/ProgramInstance.h"
#include "toolkit/core/FrameLayout.h"

#include <commctrl.h>

namespace {
bool mainClassRegistered = false;
}

bool FrameWindow::createFrame(ListBoxControl &list, ButtonBar &bar, StatusBar &status)
{
    listBox_ = &list;
    bar_ = &bar;
    status_ = &status;
    registerClass();

    CREATESTRUCTA params{};
    params.dwExStyle = 0;
    params.lpszClass = "MainClass";
    params.lpszName = "";
    params.style = WS_OVERLAPPEDWINDOW;
    params.x = params.y = params.cx = params.cy = CW_USEDEFAULT;
    adjustCreateParams(params);
    HWND created = CreateWindowExA(params.dwExStyle, params.lpszClass, params.lpszName,
                                   static_cast<DWORD>(params.style), params.x, params.y,
                                   params.cx, params.cy, nullptr, nullptr, programInstance(),
                                   this);
    // WM_NCCREATE has set the handle already; a refused creation leaves it dangling.
    handle = created;
    if (!handle)
        return false;

    TEXTMETRICA metrics{};
    {
        DeviceContextOwner display(CreateICA("DISPLAY", nullptr, nullptr, nullptr));
        if (!display || !GetTextMetricsA(display.get(), &metrics))
            return false;
    }

    RECT client;
    GetClientRect(handle, &client);
    barHeight = metrics.tmHeight + 12;
    if (!bar_->createBar(handle, 0, 0, client.right - client.left, barHeight))
        return false;
    listBox_->exStyle = WS_EX_CLIENTEDGE;
    return listBox_->create(handle, 0, "", CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT) != 0;
}

bool FrameWindow::loadAccelerators(const char *name)
{
    accelerators = LoadAcceleratorsA(programInstance(), name);
    return accelerators != nullptr;
}

void FrameWindow::show(int cmdShow)
{
    if (!onBeforeShow())
        ShowWindow(handle, cmdShow);
    UpdateWindow(handle);
}

int FrameWindow::run()
{
    MSG message;
    // GetMessageA's -1 (an invalid call) is treated as a message; only WM_QUIT ends the loop.
    while (GetMessageA(&message, nullptr, 0, 0) != 0) {
        if (accelerators && TranslateAcceleratorA(handle, accelerators, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

void FrameWindow::layOut()
{
    // A WM_SIZE that comes while a child does not exist yet moves nothing.
    if (!bar_ || !bar_->handle || !listBox_ || !listBox_->handle || !status_ || !status_->handle)
        return;
    const int statusHeight = status_->visibleHeight();
    const FrameLayout layout = layOutFrame(clientWidth, clientHeight, barHeight, statusHeight);
    // Showing a status bar that was hidden on purpose would undo the hiding
    // the layout has just allowed for.
    const UINT statusFlags = statusHeight > 0 ? SWP_SHOWWINDOW : 0;

    HDWP batch = BeginDeferWindowPos(3);
    const ChildPlace &bar = layout.buttonBar;
    const ChildPlace &list = layout.listBox;
    const ChildPlace &status = layout.statusBar;
    if (batch)
        batch = DeferWindowPos(batch, bar_->handle, nullptr, bar.x, bar.y, bar.width,
                               bar.height, SWP_SHOWWINDOW);
    if (batch)
        batch = DeferWindowPos(batch, listBox_->handle, nullptr, list.x, list.y, list.width,
                               list.height, SWP_SHOWWINDOW);
    if (batch)
        batch = DeferWindowPos(batch, status_->handle, nullptr, status.x, status.y,
                               status.width, status.height, statusFlags);
    if (batch)
        EndDeferWindowPos(batch);
}

void FrameWindow::onDestroyed()
{
    PostQuitMessage(0);
}

int FrameWindow::registerClass()
{
    if (mainClassRegistered)
        return 0;
    WNDCLASSA windowClass{};
    windowClass.style = CS_BYTEALIGNCLIENT;
    windowClass.lpfnWndProc = sharedWindowProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 4;
    windowClass.hInstance = programInstance();
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    // The children cover the whole client area; the frame draws no background.
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = "MainClass";
    adjustClass(windowClass);
    if (!RegisterClassA(&windowClass))
        return 0;
    mainClassRegistered = true;
    return 1;
}

void FrameWindow::onClose()
{
    if (canClose())
        destroy();
}

int FrameWindow::onCreate()
{
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = 8;
    controls.dwICC = 0xFF;
    InitCommonControlsEx(&controls);
    return status_->createStatus(handle);
}

int FrameWindow::onQueryEndSession()
{
    return canClose();
}

void FrameWindow::onSetFocus()
{
    if (listBox_ && listBox_->handle)
        SetFocus(listBox_->handle);
}

void FrameWindow::onSize(WPARAM wParam, LPARAM lParam)
{
    clientWidth = LOWORD(lParam);
    clientHeight = HIWORD(lParam);
    if (status_)
        status_->onParentSize(wParam, lParam);
    layOut();
}

int FrameWindow::canClose()
{
    return 1;
}

int FrameWindow::onBeforeShow()
{
    return 0;
}

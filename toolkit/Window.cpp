#include "toolkit/Window.h"

#include "toolkit/Control.h"
#include "toolkit/ProgramInstance.h"

void Window::adjustClass(WNDCLASSA &) {}
void Window::adjustCreateParams(CREATESTRUCTA &) {}
LRESULT Window::windowProc(UINT msg, WPARAM wParam, LPARAM lParam) { return dispatch(msg, wParam, lParam); }
void Window::onDestroyed() {}
int Window::onOtherMessage(UINT, WPARAM, LPARAM) { return 0; }
int Window::registerClass() { return 0; }
int Window::onExit() { return 0; }
void Window::onChar(WPARAM, LPARAM) {}
void Window::onClose() { destroy(); }
void Window::onCommand(WPARAM, LPARAM) {}
void Window::onContextMenu(WPARAM, LPARAM) {}
int Window::onCreate() { return 0; }
HBRUSH Window::onCtlColorListBox(WPARAM, LPARAM) { return nullptr; }
void Window::onDestroy() {}
void Window::onDrawItem(WPARAM, LPARAM) {}
void Window::onDropFiles(WPARAM) {}
void Window::onEndSession(WPARAM, LPARAM) {}
void Window::onInitMenu(WPARAM) {}
void Window::onKeyDown(WPARAM, LPARAM) {}
void Window::onKeyUp(WPARAM, LPARAM) {}
void Window::onKillFocus() {}
void Window::onLButtonDblClk(WPARAM, LPARAM) {}
void Window::onLButtonDown(WPARAM, LPARAM) {}
void Window::onLButtonUp(WPARAM, LPARAM) {}
int Window::onMenuSelect(WPARAM, LPARAM) { return 0; }
void Window::onMouseMove(WPARAM, LPARAM) {}
void Window::onMouseWheel(WPARAM, LPARAM) {}
void Window::onNotify(WPARAM, LPARAM) {}
void Window::onPaint()
{
    PAINTSTRUCT paint;
    BeginPaint(handle, &paint);
    EndPaint(handle, &paint);
}
int Window::onQueryEndSession() { return 1; }
void Window::onRButtonDown(WPARAM, LPARAM) {}
void Window::onRButtonUp(WPARAM, LPARAM) {}
void Window::onSetFocus() {}
void Window::onSize(WPARAM, LPARAM) {}
void Window::onSysColorChange() {}
int Window::onSysKeyDown(WPARAM, LPARAM) { return 0; }
int Window::onSysKeyUp(WPARAM, LPARAM) { return 0; }
void Window::onTimer(WPARAM) {}
int Window::onVKeyToItem(WPARAM) { return -1; }
void Window::onVScroll(WPARAM, LPARAM) {}

bool Window::createWindow(const char *className, HWND parent, HMENU menu, const char *title,
                          int x, int y, int width, int height)
{
    if (!handle) {
        HWND created = CreateWindowExA(exStyle, className, title, style, x, y, width, height,
                                       parent, menu, programInstance(), this);
        // WM_NCCREATE has already bound the object. A creation refused later
        // (WM_CREATE answered -1) destroys that window again, so only the
        // result tells whether there is one.
        handle = created;
    }
    return handle != nullptr;
}

bool Window::destroy()
{
    if (!DestroyWindow(handle))
        return false;
    handle = nullptr;
    return true;
}

LRESULT CALLBACK Window::sharedWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCCREATE) {
        auto *params = reinterpret_cast<CREATESTRUCTA *>(lParam);
        auto *created = static_cast<Window *>(params->lpCreateParams);
        bind(hwnd, created);
        if (created)
            created->handle = hwnd;
    }
    auto *object = static_cast<Window *>(lookUpOwn(hwnd, Kind::Window));
    if (object)
        return object->windowProc(msg, wParam, lParam);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT Window::dispatch(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return onCreate() ? 0 : -1;
    case WM_DESTROY:
        onDestroy();
        onExit();
        onDestroyed();
        return 0;
    case WM_SIZE:
        onSize(wParam, lParam);
        return 0;
    case WM_SETFOCUS:
        onSetFocus();
        return 0;
    case WM_KILLFOCUS:
        onKillFocus();
        return 0;
    case WM_PAINT:
        onPaint();
        return 0;
    case WM_CLOSE:
        onClose();
        return 0;
    case WM_QUERYENDSESSION:
        return onQueryEndSession();
    case WM_SYSCOLORCHANGE:
        onSysColorChange();
        return 0;
    case WM_ENDSESSION:
        onEndSession(wParam, lParam);
        if (wParam)
            onExit();
        return 0;
    case WM_DRAWITEM:
        onDrawItem(wParam, lParam);
        return 1;
    case WM_VKEYTOITEM:
        return onVKeyToItem(wParam);
    case WM_NOTIFY: {
        auto *header = reinterpret_cast<NMHDR *>(lParam);
        Control *sender = header ? Control::fromHandle(header->hwndFrom) : nullptr;
        if (sender)
            return sender->handleNotify(header);
        onNotify(wParam, lParam);
        return 0;
    }
    case WM_CONTEXTMENU:
        onContextMenu(wParam, lParam);
        return 0;
    case WM_KEYDOWN:
        onKeyDown(wParam, lParam);
        return 0;
    case WM_KEYUP:
        onKeyUp(wParam, lParam);
        return 0;
    case WM_CHAR:
        onChar(wParam, lParam);
        return 0;
    case WM_SYSKEYDOWN:
        if (onSysKeyDown(wParam, lParam))
            return 0;
        return DefWindowProcA(handle, msg, wParam, lParam);
    case WM_SYSKEYUP:
        if (onSysKeyUp(wParam, lParam))
            return 0;
        return DefWindowProcA(handle, msg, wParam, lParam);
    case WM_COMMAND:
        onCommand(wParam, lParam);
        return 0;
    case WM_TIMER:
        onTimer(wParam);
        return 0;
    case WM_VSCROLL:
        onVScroll(wParam, lParam);
        return 0;
    case WM_INITMENU:
        onInitMenu(wParam);
        return 0;
    case WM_MENUSELECT:
        onMenuSelect(wParam, lParam);
        return 0;
    case WM_CTLCOLORLISTBOX:
        return reinterpret_cast<LRESULT>(onCtlColorListBox(wParam, lParam));
    case WM_MOUSEMOVE:
        onMouseMove(wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        onLButtonDown(wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
        onLButtonUp(wParam, lParam);
        return 0;
    case WM_LBUTTONDBLCLK:
        onLButtonDblClk(wParam, lParam);
        return 0;
    case WM_RBUTTONDOWN:
        onRButtonDown(wParam, lParam);
        return 0;
    case WM_RBUTTONUP:
        onRButtonUp(wParam, lParam);
        return 0;
    case WM_MOUSEWHEEL:
        onMouseWheel(wParam, lParam);
        return 0;
    case WM_DROPFILES:
        onDropFiles(wParam);
        return 0;
    default:
        if (onOtherMessage(msg, wParam, lParam))
            return 0;
        return DefWindowProcA(handle, msg, wParam, lParam);
    }
}

#pragma once
#include "toolkit/BoundObject.h"
#include "toolkit/WindowObject.h"

// A window of a registered class of its own. Every message reaches a virtual
// operation of the object through sharedWindowProc and the dispatcher.
class Window : public WindowObject, public BoundObject {
public:
    Window() : BoundObject(Kind::Window) {}

    virtual void adjustClass(WNDCLASSA &windowClass);
    virtual void adjustCreateParams(CREATESTRUCTA &params);
    virtual LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual void onDestroyed();
    virtual int onOtherMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    virtual int registerClass();
    virtual int onExit();
    virtual void onChar(WPARAM wParam, LPARAM lParam);
    virtual void onClose();
    virtual void onCommand(WPARAM wParam, LPARAM lParam);
    virtual void onContextMenu(WPARAM wParam, LPARAM lParam);
    virtual int onCreate();
    virtual HBRUSH onCtlColorListBox(WPARAM wParam, LPARAM lParam);
    virtual void onDestroy();
    virtual void onDrawItem(WPARAM wParam, LPARAM lParam);
    virtual void onDropFiles(WPARAM wParam);
    virtual void onEndSession(WPARAM wParam, LPARAM lParam);
    virtual void onInitMenu(WPARAM wParam);
    virtual void onKeyDown(WPARAM wParam, LPARAM lParam);
    virtual void onKeyUp(WPARAM wParam, LPARAM lParam);
    virtual void onKillFocus();
    virtual void onLButtonDblClk(WPARAM wParam, LPARAM lParam);
    virtual void onLButtonDown(WPARAM wParam, LPARAM lParam);
    virtual void onLButtonUp(WPARAM wParam, LPARAM lParam);
    virtual int onMenuSelect(WPARAM wParam, LPARAM lParam);
    virtual void onMouseMove(WPARAM wParam, LPARAM lParam);
    virtual void onMouseWheel(WPARAM wParam, LPARAM lParam);
    virtual void onNotify(WPARAM wParam, LPARAM lParam);
    virtual void onPaint();
    virtual int onQueryEndSession();
    virtual void onRButtonDown(WPARAM wParam, LPARAM lParam);
    virtual void onRButtonUp(WPARAM wParam, LPARAM lParam);
    virtual void onSetFocus();
    virtual void onSize(WPARAM wParam, LPARAM lParam);
    virtual void onSysColorChange();
    // Non-zero when the window used the system key itself; every other one
    // goes on to the default handling, which makes Alt+F4 close the window,
    // Alt+Space open its window menu and F10 enter the menu.
    virtual int onSysKeyDown(WPARAM wParam, LPARAM lParam);
    virtual int onSysKeyUp(WPARAM wParam, LPARAM lParam);
    virtual void onTimer(WPARAM wParam);
    virtual int onVKeyToItem(WPARAM wParam);
    virtual void onVScroll(WPARAM wParam, LPARAM lParam);

    // Creates the window unless the object already has one; true when it has one now.
    bool createWindow(const char *className, HWND parent, HMENU menu, const char *title,
                      int x, int y, int width, int height);
    bool destroy();

    static LRESULT CALLBACK sharedWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    // The dispatcher: the default windowProc.
    LRESULT dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
};

#pragma once
#include <windows.h>

// Base of the dialog display controls (label, line, picture). A dialog template
// places them by class name and control identifier; the program keeps one
// object per identifier, and the shared window procedure finds it through the
// registry below. A clickable control is a link: a pointing hand over it and a
// WM_NOTIFY to the parent when the button is released over it, or when Enter
// or Space is pressed while it has the keyboard focus.
class CustomControl {
public:
    CustomControl(int id, int clickable);
    virtual ~CustomControl();
    CustomControl(const CustomControl &) = delete;
    CustomControl &operator=(const CustomControl &) = delete;

    virtual void registerClass() = 0;
    virtual void onLButtonUp(int controlId);
    virtual void onSetCursor();
    virtual void onCommand(WPARAM wParam, LPARAM lParam);
    virtual void onCreate(HWND window);
    virtual void onDestroy();
    virtual void onDrawItem(WPARAM wParam, LPARAM lParam);
    virtual void onLButtonDown(WPARAM wParam, LPARAM lParam);
    virtual void onPaint();
    virtual void onSetFocus();
    virtual void onSize(WPARAM wParam, LPARAM lParam);
    virtual void onKillFocus();
    virtual void onKeyDown(WPARAM key);
    // The WM_GETDLGCODE answer for the message a dialog is about to handle
    // (null when it asks without one).
    virtual LRESULT dialogCode(const MSG *message);

    // Sends WM_NOTIFY with `code` to the parent window and waits for it.
    void notifyParent(UINT code);

    HWND handle = nullptr;
    int id;
    int clickable;
    NMHDR notifyHeader{};

protected:
    // Registers one of the control classes; a repeated registration fails
    // harmlessly and is ignored.
    static void registerControlClass(const char *className);

private:
    friend CustomControl *findControl(int id);
    friend void registerCustomControls();
    CustomControl *next_ = nullptr;
};

// The notification code of a click on a clickable control (WM_LBUTTONUP's value).
constexpr UINT CustomControlClicked = WM_LBUTTONUP;

// The pointing hand shown over clickable controls (cursor resource IDCUR_LINK).
extern HCURSOR linkCursor;

LRESULT CALLBACK customControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Registers the classes of every control object, then loads linkCursor.
void registerCustomControls();
// The control object with this identifier (the one constructed last), or null.
CustomControl *findControl(int id);

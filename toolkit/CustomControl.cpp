#include "toolkit/CustomControl.h"

#include "resources/ResourceIds.h"
#include "toolkit/ProgramInstance.h"

HCURSOR linkCursor = nullptr;

namespace {
// Head of the registry. Constant-initialised, so control objects that are
// globals of other files can add themselves during static construction.
CustomControl *registryHead = nullptr;

constexpr int LinkCursorId = IDCUR_LINK;
}

CustomControl::CustomControl(int id, int clickable) : id(id), clickable(clickable), next_(registryHead)
{
    registryHead = this;
}

// Objects normally live for the whole program, but one that goes away earlier
// must not leave the window procedure a dangling entry.
CustomControl::~CustomControl()
{
    for (CustomControl **link = &registryHead; *link; link = &(*link)->next_) {
        if (*link == this) {
            *link = next_;
            break;
        }
    }
}

void CustomControl::onLButtonUp(int)
{
    if (clickable)
        notifyParent(CustomControlClicked);
}

void CustomControl::onSetCursor()
{
    if (clickable)
        SetCursor(linkCursor);
}

void CustomControl::onCommand(WPARAM, LPARAM) {}
void CustomControl::onCreate(HWND) {}
void CustomControl::onDestroy() {}
void CustomControl::onDrawItem(WPARAM, LPARAM) {}
void CustomControl::onLButtonDown(WPARAM, LPARAM) {}
void CustomControl::onPaint() {}
void CustomControl::onSize(WPARAM, LPARAM) {}

namespace {
bool opensLink(WPARAM key) { return key == VK_RETURN || key == VK_SPACE; }
}

// A link shows whether it has the focus.
void CustomControl::onSetFocus()
{
    if (clickable)
        InvalidateRect(handle, nullptr, FALSE);
}

void CustomControl::onKillFocus()
{
    if (clickable)
        InvalidateRect(handle, nullptr, FALSE);
}

void CustomControl::onKeyDown(WPARAM key)
{
    if (clickable && opensLink(key))
        notifyParent(CustomControlClicked);
}

// A link takes Enter and Space itself, so that the dialog does not make
// Enter a press of its default button.
LRESULT CustomControl::dialogCode(const MSG *message)
{
    if (clickable && message && (message->message == WM_KEYDOWN || message->message == WM_CHAR) &&
        opensLink(message->wParam))
        return DLGC_WANTMESSAGE;
    return 0;
}

void CustomControl::notifyParent(UINT code)
{
    notifyHeader.hwndFrom = handle;
    notifyHeader.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(handle));
    notifyHeader.code = code;
    SendMessageA(GetParent(handle), WM_NOTIFY, static_cast<WPARAM>(id),
                 reinterpret_cast<LPARAM>(&notifyHeader));
}

void CustomControl::registerControlClass(const char *className)
{
    WNDCLASSA windowClass{};
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = customControlProc;
    windowClass.hInstance = programInstance();
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
}

CustomControl *findControl(int id)
{
    for (CustomControl *control = registryHead; control; control = control->next_) {
        if (control->id == id)
            return control;
    }
    return nullptr;
}

void registerCustomControls()
{
    for (CustomControl *control = registryHead; control; control = control->next_)
        control->registerClass();
    linkCursor = LoadCursorA(programInstance(), MAKEINTRESOURCEA(LinkCursorId));
}

LRESULT CALLBACK customControlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const int controlId = GetDlgCtrlID(window);
    CustomControl *control = findControl(controlId);
    if (!control)
        return DefWindowProcA(window, message, wParam, lParam);

    switch (message) {
    case WM_CREATE:
        control->onCreate(window);
        return 0;
    case WM_DESTROY:
        control->onDestroy();
        return 0;
    case WM_SIZE:
        control->onSize(wParam, lParam);
        return 0;
    case WM_SETFOCUS:
        control->onSetFocus();
        return 0;
    case WM_KILLFOCUS:
        control->onKillFocus();
        return 0;
    case WM_GETDLGCODE:
        return control->dialogCode(reinterpret_cast<const MSG *>(lParam));
    case WM_KEYDOWN:
        control->onKeyDown(wParam);
        return 0;
    case WM_PAINT:
        control->onPaint();
        return 0;
    case WM_SETCURSOR:
        control->onSetCursor();
        return 0;
    case WM_DRAWITEM:
        control->onDrawItem(wParam, lParam);
        return 0;
    case WM_COMMAND:
        control->onCommand(wParam, lParam);
        return 0;
    case WM_LBUTTONDOWN:
        control->onLButtonDown(wParam, lParam);
        return 0;
    case WM_LBUTTONUP:
        control->onLButtonUp(controlId);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

#pragma once
#include "toolkit/HeapArray.h"
#include "toolkit/PushButton.h"
#include "toolkit/Window.h"

// A grey strip of push buttons, placed left to right, whose clicks reach the
// parent as WM_COMMAND with the button's command identifier and the bar's handle.
class ButtonBar : public Window {
public:
    ButtonBar();

    // Registers BtnBarClass once per process; 1 when this call registered it.
    int registerClass() override;
    // The bar's own handler; it does not use the dispatcher.
    LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    virtual int createBar(HWND parent, int x, int y, int width, int height);

    // Reserves n buttons; a bar keeps the buttons it reserved first.
    void allocateButtons(int n);
    // Creates the next button; 1 on success, 0 when full or the button could not be made.
    int addButton(const char *label, int width, int commandId, int disabled);
    void enableButton(int commandId, int enable);
    int isButtonEnabled(int commandId);

    // The raised edge over the grey background of a client area `client`.
    void draw(HDC dc, const RECT &client);

    int capacity = 0;
    int nextX = 0;
    int count = 0;
    int barHeight = 0;
    HeapArray<int> commandIds;
    HeapArray<PushButton> buttons;

private:
    PushButton *findButton(int commandId);
};

#include "Framework/Input/Mouse.h"

Mouse::Mouse() : Singleton("Mouse")
{
    x = y = 0;
    left = middle = right = false;
}

void Mouse::SetPosition(uint16_t newX, uint16_t newY)
{
    x = newX;
    y = newY;
}

void Mouse::SetButtons(uint32_t wParam)
{
    left = (wParam & MK_LBUTTON) != 0;
    right = (wParam & MK_RBUTTON) != 0;
    middle = (wParam & MK_MBUTTON) != 0;
}

// The last mouse position and buttons, as the window procedure reports them.
#pragma once

#include "Framework/Singleton.h"

#include <cstdint>

class Mouse : public Singleton<Mouse> {
public:
    // Button bits of a mouse message's wParam.
    static constexpr uint32_t MK_LBUTTON = 0x0001;
    static constexpr uint32_t MK_RBUTTON = 0x0002;
    static constexpr uint32_t MK_MBUTTON = 0x0010;

    Mouse();

    static void SetPosition(uint16_t newX, uint16_t newY);
    static void SetButtons(uint32_t wParam);

    static inline uint16_t x = 0;
    static inline uint16_t y = 0;
    static inline bool left = false;
    static inline bool middle = false;
    static inline bool right = false;
};

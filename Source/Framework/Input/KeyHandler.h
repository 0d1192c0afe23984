// Keyboard state with per-frame edges, fed by the window procedure and read by live tweaking code.
#pragma once

#include "Framework/Singleton.h"

#include <cstdint>
#include <map>
#include <vector>

struct KeyState {
    bool down = false;
    bool pressed = false;
    bool released = false;
};

class KeyHandler : public Singleton<KeyHandler> {
public:
    static constexpr uint32_t VK_SHIFT = 16;
    static constexpr uint32_t VK_LCONTROL = 162;
    static constexpr uint32_t VK_RCONTROL = 163;

    KeyHandler();

    void KeyDown(uint32_t code);
    void KeyUp(uint32_t code);
    // Clears the pressed and released edges of every key that changed since the last call.
    void EndFrame();

    // The state of a key; a key asked for the first time is all false.
    const KeyState& State(uint32_t code) { return keys[code]; }
    // True when the key went down since the last EndFrame, even if it is up again: a tap shorter
    // than a frame, which leaves no pressed edge, still counts.
    bool WentDown(uint32_t code) const;

    // While key is held, steps value by step (negated with Shift, times ten with either Control)
    // and clamps it to [minimum, maximum]. Called once per frame.
    void AdjustValue(uint32_t key, float& value, float minimum, float maximum, float step);

private:
    std::map<uint32_t, KeyState> keys;
    std::vector<uint32_t> changedKeys;
    std::vector<uint32_t> keysDown;
};

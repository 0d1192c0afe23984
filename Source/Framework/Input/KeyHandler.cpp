#include "Framework/Input/KeyHandler.h"

#include <algorithm>

KeyHandler::KeyHandler() : Singleton("KeyHandler") {}

void KeyHandler::KeyDown(uint32_t code)
{
    KeyState& state = keys[code];
    state.pressed = true;
    state.down = true;
    state.released = false;
    changedKeys.push_back(code);
    keysDown.push_back(code);
}

bool KeyHandler::WentDown(uint32_t code) const
{
    return std::find(keysDown.begin(), keysDown.end(), code) != keysDown.end();
}

void KeyHandler::KeyUp(uint32_t code)
{
    KeyState& state = keys[code];
    state.released = true;
    state.down = false;
    state.pressed = false;
    changedKeys.push_back(code);
}

void KeyHandler::EndFrame()
{
    for (uint32_t code : changedKeys) {
        KeyState& state = keys[code];
        state.pressed = false;
        state.released = false;
    }
    changedKeys.clear();
    keysDown.clear();
}

void KeyHandler::AdjustValue(uint32_t key, float& value, float minimum, float maximum, float step)
{
    if (!State(key).down)
        return;
    float change = State(VK_SHIFT).down ? -step : step;
    if (State(VK_RCONTROL).down || State(VK_LCONTROL).down)
        change *= 10.0f;
    value = std::min(std::max(value + change, minimum), maximum);
}

// Preparing the show's states: a show of its own steps from 0 to the end, undrawn, and hands on
// its state at the start and after every whole second, every quarter of one in the scenes that
// draw over their last picture. The player runs it in a process of its own
// (its generator, timer and modules are process-wide), started with PrepareStatesOption, which
// writes the states to the file descriptor it is given.
#pragma once

#include "Demo/TimeControl/ShowState.h"
#include "Platform/Gfx/Direct3D9.h"

#include <functional>
#include <string>
#include <vector>

#include "Framework/DXFramework.h"

inline const std::string PrepareStatesOption = "--prepare-states";
// How far apart the states are in the scenes that draw over their last picture.
constexpr double TrailSceneStateSeconds = 0.25;

// The show the framework holds, loaded and not yet stepped, played to its end (or the last state
// before endSeconds); sink gets each state.
void PrepareStates(DXFramework& framework, const std::function<void(const ShowState&)>& sink,
                   double endSeconds = DXFramework::ShowEndTime);

// The player's preparing mode (words after the program's name: the option, the descriptor, and
// the cache file or nothing): opens the show offscreen on the Direct3D the creator makes, writes
// the stream of states to the descriptor as they come and, at the end, the cache file. The cache
// file is written even when the reader has gone (a player that ended early), so that the next run
// finds it. 0 when all were written.
int PrepareStatesMain(const std::vector<std::string>& words, Direct3DCreator createDirect3D);

// The pool of plain render surfaces. Nothing in the show fills it; it lives and is torn down with
// the other pools.
#pragma once

#include "Framework/Singleton.h"

#include <memory>
#include <vector>

class IDirect3DSurface9;

struct RenderSurfaceEntry {
    IDirect3DSurface9* surface = nullptr;
};

class RSHandler : public Singleton<RSHandler> {
public:
    RSHandler();
    // Releases the surface of each entry and empties the pool.
    ~RSHandler();

    static size_t Count() { return pool.size(); }

private:
    static inline std::vector<std::unique_ptr<RenderSurfaceEntry>> pool;
};

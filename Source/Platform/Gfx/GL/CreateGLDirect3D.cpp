#include "Platform/Gfx/GL/CreateGLDirect3D.h"

#include "Platform/Gfx/GL/GLBackend.h"

IDirect3D9* CreateGLDirect3D()
{
    return new IDirect3D9(std::make_shared<GLBackend>());
}

Direct3DCreator GLDirect3DCreator()
{
    return [] { return CreateGLDirect3D(); };
}

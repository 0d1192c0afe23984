// Reaching a surface's pixels through the framebuffers that copies and read-backs use.
#pragma once

#include <epoxy/gl.h>

class GLDeviceData;
class GLSurfaceData;

// Attaches the surface (a texture level or a renderbuffer; null detaches) to the framebuffer bound
// at `framebuffer` (GL_READ_FRAMEBUFFER or GL_DRAW_FRAMEBUFFER).
void AttachSurface(GLenum framebuffer, GLenum attachment, const GLSurfaceData* surface);

// Binds the surface's colour for reading as a single-sampled image: a multisampled surface is
// resolved first into the device's resolve buffer, at the same place.
void BindColourForRead(GLDeviceData& device, const GLSurfaceData& surface);

// What a camera's lens is made of: the projection's field of view, aspect and clip distances, and
// the depth-of-field focus range. The defaults are those of a camera the scene file does not
// describe, and the starting values of the scene file's first camera.
#pragma once

struct CameraLens {
    float fieldOfView = 0.7853982f; // vertical, radians (pi / 4)
    float nearZ = 0.1f;
    float farZ = 100.0f;
    float nearFocus = 0.0f;
    float farFocus = 0.0f;
    float aspect = 1.7777778f; // width / height (16 / 9)
};

// Gives back one reference to a device object, if any, and forgets the pointer.
#pragma once

template <class T>
void ReleaseAndClear(T*& object)
{
    if (object)
        object->Release();
    object = nullptr;
}

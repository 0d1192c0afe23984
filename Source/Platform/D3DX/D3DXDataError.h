// Data that a D3DX loader cannot use: an undecodable or oversized image, a malformed ".x" file.
// The device-side D3DX call turns it into D3DXERR_INVALIDDATA; the message says what is wrong
// (the caller knows the file name and puts it in front).
#pragma once

#include <stdexcept>
#include <string>

class D3DXDataError : public std::runtime_error {
public:
    explicit D3DXDataError(const std::string& message) : std::runtime_error(message) {}
};

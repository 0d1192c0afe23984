// The compiled form of an effect: its description with every include resolved and every shader's
// complete GLSL source, as the archive entry "OShaders\<name>o" holds it. Layout (version 1),
// all integers little-endian, a string is a u32 byte count and the bytes:
//
//   "QLFX", u32 version
//   u32 n, n strings                                      source files (the effect first)
//   u32 n, n parameters:  string name, u8 kind, u32 elements, string semantic, u8 shared,
//                         u32 n, n x (string name, string value) annotations,
//                         u32 n, n x f32 initial value, location
//   u32 n, n samplers:    string name, u8 kind, string texture, u8 min, u8 mag, u8 mip filter,
//                         u8 address u, v, w, 4 x f32 border colour, u32 max anisotropy, location
//   u32 n, n glsl blocks: string name, u8 stage,
//                         u32 n, n x (string name, u8 type, u8 usage, u8 usage index, u8 location),
//                         string GLSL source, u32 n, n x (u32 first line, location) line table,
//                         location
//   u32 n, n techniques:  string name, location,
//                         u32 n, n passes: string name, string vertex block, string fragment block,
//                         u32 n, n x (u32 render state, u32 value), location
//
// where location = u32 file index, u32 line, and the enumerations hold the values of
// EffectDescription.h. Nothing may follow. The encoding is canonical: one description, one byte
// sequence.
#pragma once

#include "Platform/Fx/EffectDescription.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace fx {

constexpr uint32_t CompiledEffectVersion = 1;

std::vector<unsigned char> SaveCompiledEffect(const EffectDescription& effect);

// True when the bytes start like a compiled effect (whatever version), false for source text.
bool IsCompiledEffect(std::span<const unsigned char> bytes);

// name names the data in messages. Throws EffectError when the bytes are not a complete, valid
// compiled effect of this version; never reads outside them.
EffectDescription LoadCompiledEffect(const std::string& name, std::span<const unsigned char> bytes);

} // namespace fx

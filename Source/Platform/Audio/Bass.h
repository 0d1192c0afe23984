// The audio library's interface: BASS 2.4's names, types, numeric codes and arguments, for the
// operations the show uses, played over SDL2 audio with Ogg Vorbis decoded by libvorbisfile.
// Every call sets the calling thread's error code, read with BASS_ErrorGetCode.
#pragma once

#include "Platform/Window/WinTypes.h"

#include <cstdint>

using QWORD = uint64_t;
using HSTREAM = DWORD;

// Upper 16 bits of BASS_GetVersion: the interface version 2.4.
constexpr DWORD BASSVERSION = 0x0204;

// Error codes (BASS_ErrorGetCode).
constexpr int BASS_OK = 0;
constexpr int BASS_ERROR_MEM = 1;
constexpr int BASS_ERROR_FILEOPEN = 2;
constexpr int BASS_ERROR_DRIVER = 3;
constexpr int BASS_ERROR_BUFLOST = 4;
constexpr int BASS_ERROR_HANDLE = 5;
constexpr int BASS_ERROR_FORMAT = 6;
constexpr int BASS_ERROR_POSITION = 7;
constexpr int BASS_ERROR_INIT = 8;
constexpr int BASS_ERROR_START = 9;
constexpr int BASS_ERROR_ALREADY = 14;
constexpr int BASS_ERROR_ILLTYPE = 19;
constexpr int BASS_ERROR_ILLPARAM = 20;
constexpr int BASS_ERROR_DEVICE = 23;
constexpr int BASS_ERROR_NOPLAY = 24;
constexpr int BASS_ERROR_FREQ = 25;
constexpr int BASS_ERROR_NOTAVAIL = 37;
constexpr int BASS_ERROR_FILEFORM = 41;
constexpr int BASS_ERROR_UNKNOWN = -1;

// BASS_SetConfig options: global volumes on a 0..10000 scale.
constexpr DWORD BASS_CONFIG_GVOL_SAMPLE = 4;
constexpr DWORD BASS_CONFIG_GVOL_STREAM = 5;
constexpr DWORD BASS_CONFIG_GVOL_MUSIC = 6;
constexpr DWORD BASS_MAX_GVOL = 10000;

// BASS_Init flags. BASS_DEVICE_LATENCY asks for the output latency in BASS_INFO.
constexpr DWORD BASS_DEVICE_LATENCY = 0x100;

// Stream flags. A memory stream is always fully scanned, so BASS_STREAM_PRESCAN costs nothing.
constexpr DWORD BASS_STREAM_PRESCAN = 0x20000;
// A decoding channel is not played: its data is read with BASS_ChannelGetData, as stereo 32-bit
// floats (mono doubled) at the file's own rate. BASS_SAMPLE_FLOAT is taken and changes nothing.
constexpr DWORD BASS_SAMPLE_FLOAT = 0x100;
constexpr DWORD BASS_STREAM_DECODE = 0x200000;

// BASS_ChannelGetData: the length is in bytes of 32-bit float samples (the only form offered).
constexpr DWORD BASS_DATA_FLOAT = 0x40000000;
constexpr int BASS_ERROR_DECODE = 38; // playing a decoding channel
constexpr int BASS_ERROR_ENDED = 45;  // reading a decoding channel past its end

// A channel's form, as much of BASS 2.4's record as this layer fills: a decoding channel's rate
// and channels are what BASS_ChannelGetData gives.
struct BASS_CHANNELINFO {
    DWORD freq;
    DWORD chans;
    DWORD flags; // the flags it was created with
};

// BASS_ChannelGetPosition / BASS_ChannelGetLength modes.
constexpr DWORD BASS_POS_BYTE = 0;

// BASS_ChannelIsActive results.
constexpr DWORD BASS_ACTIVE_STOPPED = 0;
constexpr DWORD BASS_ACTIVE_PLAYING = 1;
constexpr DWORD BASS_ACTIVE_PAUSED = 3;

// Device information, 56 bytes as in BASS 2.4. Members this layer has nothing to report for
// (hardware buffers, DirectSound, EAX) are 0.
struct BASS_INFO {
    DWORD flags;
    DWORD hwsize;
    DWORD hwfree;
    DWORD freesam;
    DWORD free3d;
    DWORD minrate;
    DWORD maxrate;
    BOOL eax;
    DWORD minbuf;    // the output buffer length in ms
    DWORD dsver;
    DWORD latency;   // ms from mixing a sample to hearing it (with BASS_DEVICE_LATENCY): on a sound
                     // card ceil(1000 * device buffer frames / device rate), on the silent device 0
    DWORD initflags; // the flags given to BASS_Init
    DWORD speakers;  // output channels
    DWORD freq;      // output rate in Hz
};
static_assert(sizeof(BASS_INFO) == 56);

// 0x0204 in the upper 16 bits.
DWORD BASS_GetVersion();
int BASS_ErrorGetCode();

// Global volumes; they may be set before BASS_Init and apply to the output at once.
BOOL BASS_SetConfig(DWORD option, DWORD value);
DWORD BASS_GetConfig(DWORD option);

// device -1 is the default output, 0 the silent device: it plays nothing, but its streams still
// advance in real time on a thread of their own. window is kept opaque; clsid must be null.
BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* window, const void* clsid);
// Frees every stream and closes the device.
BOOL BASS_Free();
BOOL BASS_GetInfo(BASS_INFO* info);

// mem must be TRUE: the stream decodes file[offset, offset + length) in place, without copying it,
// so that memory must stay unchanged until BASS_StreamFree. It is only ever read.
HSTREAM BASS_StreamCreateFile(BOOL mem, const void* file, QWORD offset, QWORD length, DWORD flags);
BOOL BASS_StreamFree(HSTREAM handle);

BOOL BASS_ChannelPlay(DWORD handle, BOOL restart);
BOOL BASS_ChannelPause(DWORD handle);
BOOL BASS_ChannelStop(DWORD handle);
DWORD BASS_ChannelIsActive(DWORD handle);
// In bytes of the stream's 16-bit samples: the position of the data mixed so far, and the whole
// length. (QWORD)-1 on error.
QWORD BASS_ChannelGetPosition(DWORD handle, DWORD mode);
QWORD BASS_ChannelGetLength(DWORD handle, DWORD mode);
// Moves a stream to a byte position (rounded down to a whole frame), playing or not.
BOOL BASS_ChannelSetPosition(DWORD handle, QWORD pos, DWORD mode);
// Between seconds and byte positions of a stream; times from 0 up to a billion seconds.
QWORD BASS_ChannelSeconds2Bytes(DWORD handle, double pos);
double BASS_ChannelBytes2Seconds(DWORD handle, QWORD pos);
BOOL BASS_ChannelGetInfo(DWORD handle, BASS_CHANNELINFO* info);
// The next data of a decoding channel: length is a byte count with BASS_DATA_FLOAT; whole stereo
// frames are read. Returns the bytes written, fewer only at the end, and (DWORD)-1 with
// BASS_ERROR_ENDED once nothing is left (BASS_ERROR_NOTAVAIL for a played channel or another form).
DWORD BASS_ChannelGetData(DWORD handle, void* buffer, DWORD length);

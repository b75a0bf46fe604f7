// Reads the format and the sample bytes of one RIFF/WAVE file through the
// multimedia file I/O functions and their buffer.
#pragma once

#include <windows.h>
#include <mmsystem.h>

class WaveFileReader {
public:
    WaveFileReader() = default;
    ~WaveFileReader();
    WaveFileReader(const WaveFileReader&) = delete;
    WaveFileReader& operator=(const WaveFileReader&) = delete;

    HRESULT open(const char* path);
    HRESULT reset();
    HRESULT read(UINT count, BYTE* destination, UINT* copied);
    HRESULT close();

    WAVEFORMATEX* waveFormat = nullptr;  // 18 bytes plus cbSize extra bytes
    HMMIO fileHandle = nullptr;
    MMCKINFO dataChunk = {};  // cksize: data bytes not yet handed out
    MMCKINFO riffChunk = {};

private:
    HRESULT readFormat(HMMIO handle);
    void freeFormat();
};

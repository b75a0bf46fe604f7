#include "wave_file_reader.h"

#include <cstdlib>
#include <cstring>

namespace {
constexpr DWORD pcmFormatBytes = 16;  // a PCMWAVEFORMAT
}

WaveFileReader::~WaveFileReader() {
    close();
    freeFormat();
}

void WaveFileReader::freeFormat() {
    std::free(waveFormat);
    waveFormat = nullptr;
}

HRESULT WaveFileReader::open(const char* path) {
    freeFormat();
    HMMIO handle = mmioOpenA(const_cast<char*>(path), nullptr, MMIO_ALLOCBUF | MMIO_READ);
    if (handle == nullptr) return E_FAIL;
    HRESULT result = readFormat(handle);
    if (FAILED(result)) {
        mmioClose(handle, 0);
        return result;
    }
    // A reader opened again lets go of its earlier file first.
    close();
    fileHandle = handle;
    return reset();
}

HRESULT WaveFileReader::readFormat(HMMIO handle) {
    waveFormat = nullptr;
    if (mmioDescend(handle, &riffChunk, nullptr, 0) != 0) return E_FAIL;
    if (riffChunk.ckid != FOURCC_RIFF || riffChunk.fccType != mmioFOURCC('W', 'A', 'V', 'E')) return E_FAIL;

    MMCKINFO formatChunk = {};
    formatChunk.ckid = mmioFOURCC('f', 'm', 't', ' ');
    if (mmioDescend(handle, &formatChunk, &riffChunk, MMIO_FINDCHUNK) != 0) return E_FAIL;
    if (formatChunk.cksize < pcmFormatBytes) return E_FAIL;

    PCMWAVEFORMAT pcm;
    if (mmioRead(handle, reinterpret_cast<HPSTR>(&pcm), pcmFormatBytes) != LONG(pcmFormatBytes)) return E_FAIL;

    if (pcm.wf.wFormatTag == WAVE_FORMAT_PCM) {
        waveFormat = static_cast<WAVEFORMATEX*>(std::malloc(sizeof(WAVEFORMATEX)));
        if (waveFormat == nullptr) return E_FAIL;
        std::memcpy(waveFormat, &pcm, pcmFormatBytes);
        waveFormat->cbSize = 0;
    } else {
        WORD extraBytes = 0;
        if (mmioRead(handle, reinterpret_cast<HPSTR>(&extraBytes), sizeof extraBytes) != LONG(sizeof extraBytes))
            return E_FAIL;
        waveFormat = static_cast<WAVEFORMATEX*>(std::malloc(sizeof(WAVEFORMATEX) + extraBytes));
        if (waveFormat == nullptr) return E_FAIL;
        std::memcpy(waveFormat, &pcm, pcmFormatBytes);
        waveFormat->cbSize = extraBytes;
        HPSTR extra = reinterpret_cast<HPSTR>(waveFormat) + sizeof(WAVEFORMATEX);
        if (mmioRead(handle, extra, extraBytes) != LONG(extraBytes)) {
            freeFormat();
            return E_FAIL;
        }
    }

    if (mmioAscend(handle, &formatChunk, 0) != 0) {
        freeFormat();
        return E_FAIL;
    }
    return S_OK;
}

HRESULT WaveFileReader::reset() {
    if (mmioSeek(fileHandle, LONG(riffChunk.dwDataOffset + sizeof(FOURCC)), SEEK_SET) == -1) return E_FAIL;
    dataChunk.ckid = mmioFOURCC('d', 'a', 't', 'a');
    if (mmioDescend(fileHandle, &dataChunk, &riffChunk, MMIO_FINDCHUNK) != 0) return E_FAIL;
    return S_OK;
}

// Copies whole runs out of the I/O buffer and refills it when it runs dry,
// so the file is still read in buffer-sized blocks.
HRESULT WaveFileReader::read(UINT count, BYTE* destination, UINT* copied) {
    *copied = 0;
    MMIOINFO info;
    if (mmioGetInfo(fileHandle, &info, 0) != 0) return E_FAIL;

    UINT wanted = count < dataChunk.cksize ? count : dataChunk.cksize;
    dataChunk.cksize -= wanted;

    UINT done = 0;
    while (done < wanted) {
        if (info.pchNext == info.pchEndRead) {
            if (mmioAdvance(fileHandle, &info, MMIO_READ) != 0) return E_FAIL;
            if (info.pchNext == info.pchEndRead) return E_FAIL;
        }
        UINT available = UINT(info.pchEndRead - info.pchNext);
        UINT run = wanted - done < available ? wanted - done : available;
        std::memcpy(destination + done, info.pchNext, run);
        info.pchNext += run;
        done += run;
    }

    if (mmioSetInfo(fileHandle, &info, 0) != 0) return E_FAIL;
    *copied = wanted;
    return S_OK;
}

// Closes only a file this reader holds, and only once.
HRESULT WaveFileReader::close() {
    if (fileHandle != nullptr) {
        mmioClose(fileHandle, 0);
        fileHandle = nullptr;
    }
    return S_OK;
}

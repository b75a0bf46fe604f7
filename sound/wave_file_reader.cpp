#include "wave_file_reader.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr DWORD pcmFormatBytes = 16;  // a PCMWAVEFORMAT
constexpr LONG chunkHeaderBytes = 8;

// The multimedia functions find a chunk by stepping from header to header;
// a size that wraps the 32-bit offset sends that search round for ever and
// would freeze the simulator. Walk the list first, from where the search
// will start, and refuse one that does not run forward.
bool chunkListRunsForward(HMMIO handle, FOURCC id) {
    const LONG start = mmioSeek(handle, 0, SEEK_CUR);
    if (start == -1) return false;
    DWORD offset = DWORD(start);
    bool found = false;
    for (;;) {
        DWORD header[2];
        if (mmioSeek(handle, LONG(offset), SEEK_SET) == -1) break;
        if (mmioRead(handle, reinterpret_cast<HPSTR>(header), chunkHeaderBytes) != chunkHeaderBytes) break;
        if (header[0] == id) {
            found = true;
            break;
        }
        const DWORD next = offset + chunkHeaderBytes + header[1] + (header[1] & 1);
        if (next <= offset) break;
        offset = next;
    }
    mmioSeek(handle, start, SEEK_SET);
    return found;
}

MMRESULT findChunk(HMMIO handle, MMCKINFO& chunk, const MMCKINFO& parent, FOURCC id) {
    chunk.ckid = id;
    if (!chunkListRunsForward(handle, id)) return MMIOERR_CHUNKNOTFOUND;
    return mmioDescend(handle, &chunk, &parent, MMIO_FINDCHUNK);
}

}  // namespace

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
    if (findChunk(handle, formatChunk, riffChunk, mmioFOURCC('f', 'm', 't', ' ')) != 0) return E_FAIL;
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
    if (findChunk(fileHandle, dataChunk, riffChunk, mmioFOURCC('d', 'a', 't', 'a')) != 0) return E_FAIL;
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

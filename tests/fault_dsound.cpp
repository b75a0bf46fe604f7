#include "fault_dsound.h"

#include <cstring>

DirectSoundFaults directSoundFaults;
DirectSoundCounts directSoundCounts;

namespace {

DirectSoundFaults& faults = directSoundFaults;
DirectSoundCounts& counts = directSoundCounts;

// A wrapper of one real object: its own reference count, the real one
// released with the last reference, and a count of wrappers alive.
template <class Interface>
class Wrapper : public Interface {
public:
    Wrapper(Interface* real, int& live) : real_(real), live_(live) { ++live_; }
    virtual ~Wrapper() = default;

    STDMETHOD(QueryInterface)(REFIID iid, void** object) override { return real_->QueryInterface(iid, object); }
    STDMETHOD_(ULONG, AddRef)() override { return ++references_; }
    STDMETHOD_(ULONG, Release)() override {
        const ULONG left = --references_;
        if (left == 0) {
            real_->Release();
            --live_;
            delete this;
        }
        return left;
    }

protected:
    Interface* real_;

private:
    int& live_;
    ULONG references_ = 1;
};

class FaultBuffer : public Wrapper<IDirectSoundBuffer> {
public:
    explicit FaultBuffer(IDirectSoundBuffer* real) : Wrapper(real, counts.buffersLive) {}
    STDMETHOD(GetCaps)(LPDSBCAPS caps) override { return real_->GetCaps(caps); }
    STDMETHOD(GetCurrentPosition)(LPDWORD play, LPDWORD write) override { return real_->GetCurrentPosition(play, write); }
    STDMETHOD(GetFormat)(LPWAVEFORMATEX format, DWORD size, LPDWORD written) override {
        return real_->GetFormat(format, size, written);
    }
    STDMETHOD(GetVolume)(LPLONG volume) override { return real_->GetVolume(volume); }
    STDMETHOD(GetPan)(LPLONG pan) override { return real_->GetPan(pan); }
    STDMETHOD(GetFrequency)(LPDWORD frequency) override { return real_->GetFrequency(frequency); }
    STDMETHOD(GetStatus)(LPDWORD status) override {
        const HRESULT result = real_->GetStatus(status);
        if (lost_ || (faults.buffersLost && !restored_)) {
            lost_ = true;
            *status = DSBSTATUS_BUFFERLOST;
        }
        return result;
    }
    STDMETHOD(Initialize)(LPDIRECTSOUND device, LPCDSBUFFERDESC description) override {
        return real_->Initialize(device, description);
    }
    STDMETHOD(Lock)(DWORD offset, DWORD bytes, LPVOID* first, LPDWORD firstBytes, LPVOID* second,
                    LPDWORD secondBytes, DWORD flags) override {
        ++counts.locks;
        if (FAILED(faults.lock)) return faults.lock;
        return real_->Lock(offset, bytes, first, firstBytes, second, secondBytes, flags);
    }
    STDMETHOD(Play)(DWORD reserved, DWORD priority, DWORD flags) override {
        ++counts.plays;
        if (lost_) return DSERR_BUFFERLOST;
        if (FAILED(faults.play)) return faults.play;
        return real_->Play(reserved, priority, flags);
    }
    STDMETHOD(SetCurrentPosition)(DWORD position) override { return real_->SetCurrentPosition(position); }
    STDMETHOD(SetFormat)(LPCWAVEFORMATEX format) override { return real_->SetFormat(format); }
    STDMETHOD(SetVolume)(LONG volume) override { return real_->SetVolume(volume); }
    STDMETHOD(SetPan)(LONG pan) override { return real_->SetPan(pan); }
    STDMETHOD(SetFrequency)(DWORD frequency) override { return real_->SetFrequency(frequency); }
    STDMETHOD(Stop)() override { return real_->Stop(); }
    STDMETHOD(Unlock)(LPVOID first, DWORD firstBytes, LPVOID second, DWORD secondBytes) override {
        return real_->Unlock(first, firstBytes, second, secondBytes);
    }
    STDMETHOD(Restore)() override {
        ++counts.restores;
        if (!lost_) return DS_OK;
        if (faults.restoreFailures < 0 || failedRestores_ < faults.restoreFailures) {
            ++failedRestores_;
            return DSERR_BUFFERLOST;
        }
        lost_ = false;
        restored_ = true;
        return DS_OK;
    }

private:
    bool lost_ = false;
    bool restored_ = false;
    int failedRestores_ = 0;
};

class FaultDevice : public Wrapper<IDirectSound> {
public:
    explicit FaultDevice(IDirectSound* real) : Wrapper(real, counts.devicesLive) {}
    STDMETHOD(CreateSoundBuffer)(LPCDSBUFFERDESC description, LPDIRECTSOUNDBUFFER* buffer, LPUNKNOWN outer) override {
        ++counts.createBuffers;
        if (FAILED(faults.createBuffer)) return faults.createBuffer;
        IDirectSoundBuffer* real = nullptr;
        const HRESULT result = real_->CreateSoundBuffer(description, &real, outer);
        if (FAILED(result)) return result;
        *buffer = new FaultBuffer(real);
        return result;
    }
    STDMETHOD(GetCaps)(LPDSCAPS caps) override { return real_->GetCaps(caps); }
    STDMETHOD(DuplicateSoundBuffer)(LPDIRECTSOUNDBUFFER, LPDIRECTSOUNDBUFFER*) override { return DSERR_UNSUPPORTED; }
    STDMETHOD(SetCooperativeLevel)(HWND window, DWORD level) override {
        if (FAILED(faults.cooperativeLevel)) return faults.cooperativeLevel;
        return real_->SetCooperativeLevel(window, level);
    }
    STDMETHOD(Compact)() override { return real_->Compact(); }
    STDMETHOD(GetSpeakerConfig)(LPDWORD config) override { return real_->GetSpeakerConfig(config); }
    STDMETHOD(SetSpeakerConfig)(DWORD config) override { return real_->SetSpeakerConfig(config); }
    STDMETHOD(Initialize)(LPCGUID device) override { return real_->Initialize(device); }
};

HRESULT WINAPI faultDirectSoundCreate(LPCGUID device, LPDIRECTSOUND* out, LPUNKNOWN outer) {
    ++counts.creates;
    if (FAILED(faults.create)) return faults.create;
    IDirectSound* real = nullptr;
    const HRESULT result = DirectSoundCreate(device, &real, outer);
    if (FAILED(result)) return result;
    *out = new FaultDevice(real);
    return result;
}

}  // namespace

bool injectDirectSoundFaults(HMODULE module, std::string& error) {
    auto* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* import = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress); import->Name;
         ++import) {
        if (_stricmp(reinterpret_cast<char*>(base + import->Name), "dsound.dll") != 0) continue;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        auto* addresses = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.Ordinal; ++names, ++addresses) {
            if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) || IMAGE_ORDINAL(names->u1.Ordinal) != 1) continue;
            DWORD protection = 0;
            VirtualProtect(&addresses->u1.Function, sizeof(void*), PAGE_READWRITE, &protection);
            addresses->u1.Function = reinterpret_cast<DWORD>(&faultDirectSoundCreate);
            VirtualProtect(&addresses->u1.Function, sizeof(void*), protection, &protection);
            return true;
        }
    }
    error = "the module imports no DirectSoundCreate by ordinal 1";
    return false;
}

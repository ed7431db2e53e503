#pragma once

// Drives the unzip library the way the component does: loaded at run time,
// one parameter record, a call-back that records every call and answers
// from a script.
#include "scratchfiles.h"
#include "unzlib/unzlib.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <functional>
#include <string>
#include <vector>

struct Call {
    int action;
    int error;
    int size;
    std::string text;
};

class UnzLibDriver {
public:
    // The library that lies beside the test program.
    UnzLibDriver()
    {
#ifdef _WIN32
        handle_ = LoadLibraryW(L"unzlib.dll");
        EXPECT_NE(handle_, nullptr) << "unzlib.dll: error " << GetLastError();
#else
        const fs::path path = fs::read_symlink("/proc/self/exe").parent_path() / "libunzlib.so";
        handle_ = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        EXPECT_NE(handle_, nullptr) << dlerror();
#endif
        exec_ = reinterpret_cast<UnzLibExecFn>(symbol("UnzLibExec"));
    }
    ~UnzLibDriver()
    {
#ifdef _WIN32
        FreeLibrary(handle_);
#else
        if (handle_)
            dlclose(handle_);
#endif
    }
    UnzLibDriver(const UnzLibDriver &) = delete;
    UnzLibDriver &operator=(const UnzLibDriver &) = delete;

    void *symbol(const char *name) const
    {
#ifdef _WIN32
        return handle_ ? reinterpret_cast<void *>(GetProcAddress(handle_, name)) : nullptr;
#else
        return handle_ ? dlsym(handle_, name) : nullptr;
#endif
    }

    // Runs one extraction of the archive into dir; specs are the file specs.
    int run(const std::string &archive, const std::string &dir, const std::vector<std::string> &specs = {})
    {
        calls.clear();
        if (!exec_) {
            ADD_FAILURE() << "the library is not loaded";
            return -1000;
        }
        std::vector<UnzipFileSpec> specArray(specs.size());
        for (std::size_t i = 0; i < specs.size(); ++i)
            specArray[i].fileSpec = specs[i].c_str();
        UnzipParams p{};
        p.caller = this;
        p.version = 173;
        p.callback = &UnzLibDriver::entry;
        p.password = password.c_str();
        p.testFlag = test ? -1 : 0;
        p.verboseFlag = -1;
        p.updateFlag = update ? -1 : 0;
        p.freshenFlag = freshen ? -1 : 0;
        p.directoryNamesFlag = folders ? -1 : 0;
        p.overwriteFlag = overwrite ? -1 : 0;
        p.fileSpecCount = int(specs.size());
        p.archiveName = archive.c_str();
        p.fileSpecs = specArray.empty() ? nullptr : specArray.data();
        p.passwordRequestCount = passwordRequests;
        p.extractDirectory = dir.empty() ? nullptr : dir.c_str();
        p.endMarker = 7;
        return exec_(&p);
    }

    std::vector<Call> callsOf(int action) const
    {
        std::vector<Call> out;
        for (const Call &c : calls)
            if (c.action == action)
                out.push_back(c);
        return out;
    }

    // Settings of the next run.
    bool overwrite = true, folders = false, freshen = false, update = false, test = false;
    std::string password;
    int passwordRequests = 1;
    // Answers a call-back by editing the record; returns not 0 to abort.
    std::function<int(CallbackRecord &)> answer;
    // Answers only call-backs of one action code.
    void answerOn(int action, std::function<void(CallbackRecord &)> edit)
    {
        answer = [action, edit](CallbackRecord &r) {
            if (r.actionCode == action)
                edit(r);
            return 0;
        };
    }
    std::vector<Call> calls;

private:
    static int32_t entry(CallbackRecord *r)
    {
        auto *self = static_cast<UnzLibDriver *>(r->caller);
        self->calls.push_back({r->actionCode, r->errorCode, r->size, r->text});
        return self->answer ? self->answer(*r) : 0;
    }

#ifdef _WIN32
    HMODULE handle_ = nullptr;
#else
    void *handle_ = nullptr;
#endif
    UnzLibExecFn exec_ = nullptr;
};
